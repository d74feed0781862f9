#pragma once

#include "gfx/Bitmap.h"

#include <cstdint>

// A picture as the encoder reads it: one row at a time, top first. A picture made of
// others (the before-and-after pair) is handed over this way, so that it never has
// to exist as one more bitmap.
class PictureRows {
public:
    virtual ~PictureRows() = default;

    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Row y, 0 <= y < Height(): a pointer into the picture itself, or into scratch
    // (Width() pixels) after filling it.
    virtual const gfx::Argb* Row(int32_t y, gfx::Argb* scratch) const = 0;
};

// The rows of one bitmap, read in place.
class BitmapRows : public PictureRows {
public:
    explicit BitmapRows(const gfx::Bitmap& bitmap) : bitmap_(bitmap) {}

    int32_t Width() const override { return bitmap_.Width(); }
    int32_t Height() const override { return bitmap_.Height(); }
    const gfx::Argb* Row(int32_t y, gfx::Argb*) const override { return bitmap_.Scanline(y); }

private:
    const gfx::Bitmap& bitmap_;
};

// Two bitmaps side by side, tops aligned: left.Width() + right.Width() wide and as high
// as the left one. Where the right one is lower, the rest is transparent.
class SideBySideRows : public PictureRows {
public:
    SideBySideRows(const gfx::Bitmap& left, const gfx::Bitmap& right) : left_(left), right_(right) {}

    int32_t Width() const override { return left_.Width() + right_.Width(); }
    int32_t Height() const override { return left_.Height(); }
    const gfx::Argb* Row(int32_t y, gfx::Argb* scratch) const override;

private:
    const gfx::Bitmap& left_;
    const gfx::Bitmap& right_;
};
