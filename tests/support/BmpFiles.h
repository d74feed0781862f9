#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Bitmap files of every variant, built byte by byte for the tests and the fuzz seeds.
namespace bmpfiles {

struct BmpLayout {
    uint32_t infoSize = 40; // 12: OS/2 1.x; 16 or 64: OS/2 2.x; 40, 56, 108, 124: Windows
    int32_t width = 5;
    int32_t height = 3; // negative: top-down
    uint16_t bits = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> masks;   // written from byte 54 on, inside or after the header
    std::vector<uint32_t> palette; // 0x00RRGGBB

    BmpLayout& Info(uint32_t size) { return infoSize = size, *this; }
    BmpLayout& Size(int32_t w, int32_t h) { return width = w, height = h, *this; }
    BmpLayout& Compression(uint32_t c) { return compression = c, *this; }
    BmpLayout& Masks(std::vector<uint32_t> m) { return masks = std::move(m), *this; }
    BmpLayout& Palette(std::vector<uint32_t> p) { return palette = std::move(p), *this; }
};

inline BmpLayout Bits(uint16_t bits)
{
    BmpLayout layout;
    layout.bits = bits;
    return layout;
}

inline void Put(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    if (out.size() < at + size_t(bytes)) {
        out.resize(at + size_t(bytes));
    }
    for (int i = 0; i < bytes; ++i) {
        out[at + size_t(i)] = uint8_t(value >> (8 * i));
    }
}

// The file header, the info header, the masks and the palette, then data.
inline std::vector<uint8_t> BmpFile(const BmpLayout& layout, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> out{'B', 'M'};
    const bool core = layout.infoSize == 12;
    Put(out, 14, layout.infoSize, 4);
    Put(out, 18, uint32_t(layout.width), core ? 2 : 4);
    Put(out, core ? 20 : 22, uint32_t(layout.height), core ? 2 : 4);
    Put(out, core ? 22 : 26, 1, 2);
    Put(out, core ? 24 : 28, layout.bits, 2);
    if (layout.infoSize > 16) {
        Put(out, 30, layout.compression, 4);
        Put(out, 46, uint32_t(layout.palette.size()), 4);
    }
    out.resize(14 + layout.infoSize);
    for (size_t i = 0; i < layout.masks.size(); ++i) {
        Put(out, 54 + 4 * i, layout.masks[i], 4);
    }
    for (const uint32_t colour : layout.palette) {
        const size_t at = out.size();
        Put(out, at, colour, core ? 3 : 4);
    }
    Put(out, 10, uint32_t(out.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    Put(out, 2, uint32_t(out.size()), 4);
    return out;
}

// Rows of bits-per-pixel values, bottom row first unless topDown, each padded to 4 bytes.
inline std::vector<uint8_t> PackedRows(int32_t width, int32_t height, int bits, bool topDown,
                                       const std::function<uint32_t(int32_t, int32_t)>& value)
{
    const size_t rowBytes = (size_t(width) * size_t(bits) + 31) / 32 * 4;
    std::vector<uint8_t> data(rowBytes * size_t(height));
    for (int32_t stored = 0; stored < height; ++stored) {
        const int32_t y = topDown ? stored : height - 1 - stored;
        uint8_t* row = data.data() + size_t(stored) * rowBytes;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bits >= 8) {
                for (int b = 0; b < bits / 8; ++b) {
                    row[size_t(x) * size_t(bits / 8) + size_t(b)] = uint8_t(v >> (8 * b));
                }
            } else {
                const size_t bit = size_t(x) * size_t(bits);
                row[bit / 8] |= uint8_t(v << (8 - bits - bit % 8));
            }
        }
    }
    return data;
}

} // namespace bmpfiles
