#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <memory>

// The pixel container of the edit engine: 32-bit non-premultiplied ARGB, rows top
// first and without gaps (stride is always width * 4). Always held by shared pointer.
struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    gfx::PixelBlock pixels; // picture-sized blocks in huge pages

    uint32_t* Row(int32_t y) { return pixels.get() + size_t(y) * size_t(width); }
    const uint32_t* Row(int32_t y) const { return pixels.get() + size_t(y) * size_t(width); }
    uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }
    gfx::Rect Bounds() const { return {0, 0, width, height}; }
    size_t ByteSize() const { return size_t(stride) * size_t(height); }
};

// A new surface whose pixels are undefined until written.
std::shared_ptr<Surface> CreateSurface(int32_t width, int32_t height);
std::shared_ptr<Surface> CopySurface(const Surface& source);
// Copies a decoded picture into a new surface.
std::shared_ptr<Surface> SurfaceFromImage(const gfx::Bitmap& image);
// Makes a surface of a decoded picture's own pixels, without copying them; the image is
// left empty.
std::shared_ptr<Surface> MoveIntoSurface(gfx::Bitmap&& image);

// A bitmap over the surface's own pixels, no copy: drawing into it changes the surface.
// The surface must outlive the bitmap.
gfx::Bitmap WrapAsBitmap(Surface& surface);
// The same for drawing from a surface that must not change.
const gfx::Bitmap WrapAsBitmap(const Surface& surface);

// Fills destination with the source pixels whose top-left is (x, y): a plain copy,
// alpha included. The caller keeps (x, y, destination size) inside the source.
void CopyRegion(const Surface& source, int32_t x, int32_t y, Surface& destination);
