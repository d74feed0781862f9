#pragma once

#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "gfx/PixelMemory.h"

#include <cstdint>
#include <memory>

namespace gfx {

// A 32-bit non-premultiplied ARGB picture, rows top first with no padding between them.
// It either owns its pixels or borrows memory that the caller keeps alive for as long
// as the bitmap is used; drawing into a borrowing bitmap changes the caller's pixels.
class Bitmap {
public:
    Bitmap() = default;
    // Owns width * height pixels, all transparent black.
    Bitmap(int32_t width, int32_t height);
    // Owns width * height pixels whose values are undefined, for a decoder that writes
    // every one of them anyway: filling first would only cost time.
    static Bitmap ForOverwrite(int32_t width, int32_t height);
    // Borrows the caller's pixels; no copy is made.
    static Bitmap Borrow(int32_t width, int32_t height, Argb* pixels);
    // Owns pixels allocated elsewhere, at least width * height of them.
    static Bitmap Adopt(int32_t width, int32_t height, PixelBlock pixels);

    Bitmap(Bitmap&&) noexcept = default;
    Bitmap& operator=(Bitmap&&) noexcept = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // A deep copy that owns its pixels.
    Bitmap Clone() const;
    // The picture turned a quarter turn clockwise, as a new owning bitmap.
    Bitmap RotatedClockwise() const;
    // Hands the pixels to the caller (a copy when they are borrowed) and leaves the
    // bitmap empty, so a decoded picture can change owner without a second copy.
    PixelBlock TakePixels();

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return width_ * 4; }
    Rect Bounds() const { return {0, 0, width_, height_}; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
    bool OwnsPixels() const { return owned_ != nullptr; }

    Argb* Scanline(int32_t y) { return pixels_ + size_t(y) * size_t(width_); }
    const Argb* Scanline(int32_t y) const { return pixels_ + size_t(y) * size_t(width_); }
    Argb* Pixels() { return pixels_; }
    const Argb* Pixels() const { return pixels_; }

    Argb GetPixel(int32_t x, int32_t y) const { return Scanline(y)[x]; }
    void SetPixel(int32_t x, int32_t y, Argb c) { Scanline(y)[x] = c; }

private:
    Bitmap(int32_t width, int32_t height, PixelMemory::Contents contents);

    int32_t width_ = 0;
    int32_t height_ = 0;
    PixelBlock owned_;
    Argb* pixels_ = nullptr;
};

} // namespace gfx
