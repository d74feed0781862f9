#include "gfx/Bitmap.h"

#include <algorithm>
#include <stdexcept>

namespace gfx {

Bitmap::Bitmap(int32_t width, int32_t height) : Bitmap(width, height, PixelMemory::Contents::TransparentBlack) {}

Bitmap::Bitmap(int32_t width, int32_t height, PixelMemory::Contents contents)
{
    if (width < 0 || height < 0) {
        throw std::invalid_argument("negative bitmap size");
    }
    width_ = width;
    height_ = height;
    owned_ = PixelMemory::Allocate(size_t(width) * size_t(height), contents);
    pixels_ = owned_.get();
}

Bitmap Bitmap::ForOverwrite(int32_t width, int32_t height)
{
    return Bitmap(width, height, PixelMemory::Contents::Undefined);
}

Bitmap Bitmap::Borrow(int32_t width, int32_t height, Argb* pixels)
{
    Bitmap b;
    b.width_ = width;
    b.height_ = height;
    b.pixels_ = pixels;
    return b;
}

Bitmap Bitmap::Adopt(int32_t width, int32_t height, PixelBlock pixels)
{
    Bitmap b = Borrow(width, height, pixels.get());
    b.owned_ = std::move(pixels);
    return b;
}

Bitmap Bitmap::Clone() const
{
    Bitmap copy = ForOverwrite(width_, height_);
    std::copy(pixels_, pixels_ + size_t(width_) * size_t(height_), copy.pixels_);
    return copy;
}

PixelBlock Bitmap::TakePixels()
{
    PixelBlock pixels = owned_ ? std::move(owned_) : Clone().TakePixels();
    *this = Bitmap();
    return pixels;
}

Bitmap Bitmap::RotatedClockwise() const
{
    // Source (x, y) lands at (height - 1 - y, x) in the turned picture.
    Bitmap turned = ForOverwrite(height_, width_);
    constexpr int32_t Block = 64; // walk in blocks so both pictures stay in cache
    for (int32_t by = 0; by < height_; by += Block) {
        for (int32_t bx = 0; bx < width_; bx += Block) {
            const int32_t yEnd = std::min(by + Block, height_);
            const int32_t xEnd = std::min(bx + Block, width_);
            for (int32_t y = by; y < yEnd; ++y) {
                const Argb* src = Scanline(y);
                const int32_t dstX = height_ - 1 - y;
                for (int32_t x = bx; x < xEnd; ++x) {
                    turned.Scanline(x)[dstX] = src[x];
                }
            }
        }
    }
    return turned;
}

} // namespace gfx
