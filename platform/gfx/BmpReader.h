#pragma once

#include "gfx/Bitmap.h"
#include "gfx/BmpHeader.h"

#include <cstdint>
#include <span>

namespace gfx {

// Reads a Windows or OS/2 bitmap file from its bytes: 1, 4 and 8-bit palettes, 16 and
// 32-bit pixels with or without channel masks, 24-bit pixels, 4 and 8-bit runs, rows
// stored bottom-up or top-down. In two steps, so that the caller can check the size
// before any pixels are taken; a file too short for the picture its header claims is
// damaged before then.
class BmpReader {
public:
    using Status = BmpHeader::Status;

    // The bytes must outlive the reader.
    explicit BmpReader(std::span<const uint8_t> file) : header_(file) {}

    Status HeaderStatus() const { return header_.GetStatus(); }
    int32_t Width() const { return header_.Width(); }
    int32_t Height() const { return header_.Height(); }

    // Writes every pixel of target, which is Width() x Height(); Ok or Damaged.
    Status Decode(Bitmap& target) const;

private:
    void DecodeRow(const uint8_t* row, Argb* out) const;
    void DecodeIndexedRow(const uint8_t* row, Argb* out) const;
    void DecodePackedRow(const uint8_t* row, Argb* out) const;

    BmpHeader header_;
};

} // namespace gfx
