#include "gfx/BmpReader.h"

#include "gfx/BmpRunLengths.h"

namespace gfx {

BmpReader::Status BmpReader::Decode(Bitmap& target) const
{
    if (HeaderStatus() != Status::Ok) {
        return HeaderStatus();
    }
    if (header_.GetCoding() != BmpHeader::Coding::Rows) {
        return BmpRunLengths(header_, target).Decode() ? Status::Ok : Status::Damaged;
    }
    const size_t rowBytes = header_.RowBytes();
    for (int32_t y = 0; y < Height(); ++y) {
        const int32_t stored = header_.TopDown() ? y : Height() - 1 - y;
        DecodeRow(header_.Data().data() + size_t(stored) * rowBytes, target.Scanline(y));
    }
    return Status::Ok;
}

void BmpReader::DecodeRow(const uint8_t* row, Argb* out) const
{
    const int32_t width = Width();
    switch (header_.BitsPerPixel()) {
    case 24:
        for (int32_t x = 0; x < width; ++x, row += 3) {
            out[x] = MakeArgb(255, row[2], row[1], row[0]);
        }
        break;
    case 16:
    case 32: DecodePackedRow(row, out); break;
    default: DecodeIndexedRow(row, out); break;
    }
}

// Indices are packed from the high bits of each byte down.
void BmpReader::DecodeIndexedRow(const uint8_t* row, Argb* out) const
{
    const std::vector<Argb>& palette = header_.Palette();
    const uint32_t bits = uint32_t(header_.BitsPerPixel());
    const uint32_t perByte = 8 / bits;
    const uint32_t lowBits = (1u << bits) - 1;
    for (int32_t x = 0; x < Width(); ++x) {
        const uint32_t shift = 8 - bits * (uint32_t(x) % perByte + 1);
        out[x] = palette[(row[uint32_t(x) / perByte] >> shift) & lowBits];
    }
}

void BmpReader::DecodePackedRow(const uint8_t* row, Argb* out) const
{
    const auto& [red, green, blue, alpha] = header_.Channels();
    const bool bytes = red.mask == 0x00FF0000 && green.mask == 0x0000FF00 && blue.mask == 0x000000FF;
    if (header_.BitsPerPixel() == 32 && bytes && (alpha.mask == 0 || alpha.mask == 0xFF000000)) {
        const uint32_t opaque = alpha.mask == 0 ? 0xFF000000 : 0;
        for (int32_t x = 0; x < Width(); ++x, row += 4) {
            out[x] = (uint32_t(row[0]) | uint32_t(row[1]) << 8 | uint32_t(row[2]) << 16 | uint32_t(row[3]) << 24) | opaque;
        }
        return;
    }
    const bool wide = header_.BitsPerPixel() == 32;
    for (int32_t x = 0; x < Width(); ++x) {
        const uint32_t word = wide ? uint32_t(row[0]) | uint32_t(row[1]) << 8 | uint32_t(row[2]) << 16 | uint32_t(row[3]) << 24
                                   : uint32_t(row[0]) | uint32_t(row[1]) << 8;
        row += wide ? 4 : 2;
        const uint32_t a = alpha.max == 0 ? 255 : alpha.Scaled(word);
        out[x] = MakeArgb(a, red.Scaled(word), green.Scaled(word), blue.Scaled(word));
    }
}

} // namespace gfx
