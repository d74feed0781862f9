#include "gfx/BmpFile.h"

#include "gfx/BmpReader.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace gfx {

std::optional<Bitmap> ReadBmpFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ReadBmp(data);
}

std::optional<Bitmap> ReadBmp(std::span<const uint8_t> file)
{
    const BmpReader reader(file);
    if (reader.HeaderStatus() != BmpReader::Status::Ok) {
        return std::nullopt;
    }
    Bitmap bitmap = Bitmap::ForOverwrite(reader.Width(), reader.Height());
    if (reader.Decode(bitmap) != BmpReader::Status::Ok) {
        return std::nullopt;
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
