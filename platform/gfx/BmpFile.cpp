#include "gfx/BmpFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace gfx {

namespace {

constexpr int32_t MaxSide = 32768;

uint32_t Read16(const std::vector<uint8_t>& d, size_t at) { return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8; }

uint32_t Read32(const std::vector<uint8_t>& d, size_t at)
{
    return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8 | uint32_t(d[at + 2]) << 16 | uint32_t(d[at + 3]) << 24;
}

// Extracts the channel under mask and scales it to 0..255.
uint32_t MaskedChannel(uint32_t word, uint32_t mask)
{
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const uint32_t maxValue = mask >> shift;
    return ((word & mask) >> shift) * 255 / maxValue;
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    uint32_t bitsPerPixel = 0;
    uint32_t dataOffset = 0;
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0}; // red, green, blue, alpha
    std::vector<Argb> palette;
};

std::optional<Header> ParseHeader(const std::vector<uint8_t>& d)
{
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') {
        return std::nullopt;
    }
    Header h;
    h.dataOffset = Read32(d, 10);
    const uint32_t infoSize = Read32(d, 14);
    if (infoSize < 40 || 14 + size_t(infoSize) > d.size()) {
        return std::nullopt;
    }
    h.width = int32_t(Read32(d, 18));
    const int32_t rawHeight = int32_t(Read32(d, 22));
    h.topDown = rawHeight < 0;
    const int64_t height = rawHeight < 0 ? -int64_t(rawHeight) : int64_t(rawHeight);
    h.height = int32_t(std::min<int64_t>(height, MaxSide + 1));
    h.bitsPerPixel = Read16(d, 28);
    const uint32_t compression = Read32(d, 30);
    if (h.width <= 0 || h.height <= 0 || h.width > MaxSide || h.height > MaxSide) {
        return std::nullopt;
    }
    const bool bitfields = compression == 3 || compression == 6;
    if (compression != 0 && !bitfields) {
        return std::nullopt; // run-length and embedded JPEG/PNG data are not supported
    }
    if (bitfields) {
        if (h.bitsPerPixel != 32 && h.bitsPerPixel != 16) {
            return std::nullopt;
        }
        // Masks follow a 40-byte header, or sit inside the larger headers at the same place.
        const size_t at = 14 + 40;
        if (at + 12 > d.size()) {
            return std::nullopt;
        }
        for (int i = 0; i < 3; ++i) {
            h.masks[i] = Read32(d, at + size_t(i) * 4);
        }
        h.masks[3] = (infoSize >= 56 || compression == 6) && at + 16 <= d.size() ? Read32(d, at + 12) : 0;
    } else if (h.bitsPerPixel == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    }
    if (h.bitsPerPixel <= 8) {
        if (h.bitsPerPixel != 1 && h.bitsPerPixel != 4 && h.bitsPerPixel != 8) {
            return std::nullopt;
        }
        uint32_t colours = Read32(d, 46);
        if (colours == 0 || colours > (1u << h.bitsPerPixel)) {
            colours = 1u << h.bitsPerPixel;
        }
        const size_t at = 14 + size_t(infoSize);
        if (at + size_t(colours) * 4 > d.size()) {
            return std::nullopt;
        }
        for (uint32_t i = 0; i < colours; ++i) {
            const size_t p = at + size_t(i) * 4;
            h.palette.push_back(MakeArgb(255, d[p + 2], d[p + 1], d[p]));
        }
    } else if (h.bitsPerPixel != 16 && h.bitsPerPixel != 24 && h.bitsPerPixel != 32) {
        return std::nullopt;
    }
    return h;
}

Argb DecodePixel(const Header& h, const uint8_t* row, int32_t x)
{
    switch (h.bitsPerPixel) {
    case 1:
    case 4:
    case 8: {
        const uint32_t perByte = 8 / h.bitsPerPixel;
        const uint8_t byte = row[size_t(x) / perByte];
        const uint32_t shift = 8 - h.bitsPerPixel * (uint32_t(x) % perByte + 1);
        const uint32_t index = (byte >> shift) & ((1u << h.bitsPerPixel) - 1);
        return index < h.palette.size() ? h.palette[index] : colors::Black;
    }
    case 24: {
        const uint8_t* p = row + size_t(x) * 3;
        return MakeArgb(255, p[2], p[1], p[0]);
    }
    default: {
        const uint32_t word = h.bitsPerPixel == 16 ? uint32_t(row[x * 2]) | uint32_t(row[x * 2 + 1]) << 8
                                                   : uint32_t(row[x * 4]) | uint32_t(row[x * 4 + 1]) << 8 |
                                                         uint32_t(row[x * 4 + 2]) << 16 | uint32_t(row[x * 4 + 3]) << 24;
        const uint32_t a = h.masks[3] ? MaskedChannel(word, h.masks[3]) : 255;
        return MakeArgb(a, MaskedChannel(word, h.masks[0]), MaskedChannel(word, h.masks[1]),
                        MaskedChannel(word, h.masks[2]));
    }
    }
}

} // namespace

std::optional<Bitmap> ReadBmpFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::optional<Header> header = ParseHeader(data);
    if (!header) {
        return std::nullopt;
    }
    const Header& h = *header;
    const size_t rowBytes = (size_t(h.width) * h.bitsPerPixel + 31) / 32 * 4;
    if (h.dataOffset > data.size() || (data.size() - h.dataOffset) / rowBytes < size_t(h.height)) {
        return std::nullopt;
    }
    Bitmap bitmap(h.width, h.height);
    for (int32_t y = 0; y < h.height; ++y) {
        const int32_t fileRow = h.topDown ? y : h.height - 1 - y;
        const uint8_t* row = data.data() + h.dataOffset + size_t(fileRow) * rowBytes;
        Argb* out = bitmap.Scanline(y);
        for (int32_t x = 0; x < h.width; ++x) {
            out[x] = DecodePixel(h, row, x);
        }
    }
    return bitmap;
}

bool WriteBmpFile(const std::string& path, const Bitmap& bitmap)
{
    constexpr uint32_t InfoSize = 108; // BITMAPV4HEADER, so that the alpha mask is understood
    const uint32_t dataOffset = 14 + InfoSize;
    const uint32_t dataSize = uint32_t(bitmap.Width()) * uint32_t(bitmap.Height()) * 4;
    std::vector<uint8_t> out(dataOffset, 0);
    auto put16 = [&](size_t at, uint32_t v) { out[at] = uint8_t(v); out[at + 1] = uint8_t(v >> 8); };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out[at + size_t(i)] = uint8_t(v >> (8 * i));
        }
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, dataOffset + dataSize);
    put32(10, dataOffset);
    put32(14, InfoSize);
    put32(18, uint32_t(bitmap.Width()));
    put32(22, uint32_t(-bitmap.Height())); // negative: rows run top first
    put16(26, 1);
    put16(28, 32);
    put32(30, 3); // channel masks follow
    put32(34, dataSize);
    put32(38, 2835); // 72 dots per inch
    put32(42, 2835);
    put32(54, 0x00FF0000);
    put32(58, 0x0000FF00);
    put32(62, 0x000000FF);
    put32(66, 0xFF000000);
    put32(70, 0x73524742); // 'sRGB'
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        file.write(reinterpret_cast<const char*>(bitmap.Scanline(y)), std::streamsize(bitmap.Width()) * 4);
    }
    return bool(file);
}

} // namespace gfx
