#pragma once

#include "gfx/Color.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

// The headers of a Windows or OS/2 bitmap file: the file header, one of the info headers
// (OS/2 1.x core, OS/2 2.x, Windows 3 and its V2 to V5 extensions), the channel masks
// and the palette.
class BmpHeader {
public:
    enum class Status { Ok, NotBmp, Unsupported, Damaged };
    enum class Coding { Rows, RunLength8, RunLength4 };

    // One colour channel of a packed 16 or 32-bit pixel.
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        uint32_t max = 0; // the mask's value range after the shift; 0 for an absent channel

        Channel() = default;
        explicit Channel(uint32_t mask);
        // The channel of word scaled to 0..255, rounded.
        uint32_t Scaled(uint32_t word) const
        {
            return max == 0 ? 0 : uint32_t((uint64_t((word & mask) >> shift) * 255 + max / 2) / max);
        }
    };

    explicit BmpHeader(std::span<const uint8_t> file);

    Status GetStatus() const { return status_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool TopDown() const { return topDown_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    Coding GetCoding() const { return coding_; }
    // red, green, blue, alpha; alpha absent means opaque.
    const std::array<Channel, 4>& Channels() const { return channels_; }
    const std::vector<Argb>& Palette() const { return palette_; }
    // The pixel data: from the data offset to the end of the file.
    std::span<const uint8_t> Data() const { return data_; }
    // Bytes of one stored row, padded to whole 32-bit words.
    size_t RowBytes() const;

private:
    Status Parse(std::span<const uint8_t> file);
    Status ReadInfo(std::span<const uint8_t> file, uint32_t infoSize);
    Status ReadCoding(uint32_t compression, bool os2);
    Status ReadMasks(std::span<const uint8_t> file, uint32_t infoSize, uint32_t compression);
    Status ReadPalette(std::span<const uint8_t> file, size_t at, uint32_t coloursUsed, size_t entryBytes);
    // Whether the data can hold every pixel the header claims, checked before any is taken.
    bool DataCanHoldPicture() const;

    Status status_ = Status::NotBmp;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool topDown_ = false;
    int bitsPerPixel_ = 0;
    Coding coding_ = Coding::Rows;
    std::array<Channel, 4> channels_{};
    std::vector<Argb> palette_;
    std::span<const uint8_t> data_;
};

} // namespace gfx
