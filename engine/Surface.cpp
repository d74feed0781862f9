#include "engine/Surface.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

std::shared_ptr<Surface> CreateSurface(int32_t width, int32_t height)
{
    if (width < 0 || height < 0) {
        throw std::invalid_argument("negative surface size");
    }
    auto s = std::make_shared<Surface>();
    s->width = width;
    s->height = height;
    s->stride = width * 4;
    s->pixels = gfx::PixelMemory::Allocate(size_t(width) * size_t(height), gfx::PixelMemory::Contents::Undefined);
    return s;
}

std::shared_ptr<Surface> CopySurface(const Surface& source)
{
    auto copy = CreateSurface(source.width, source.height);
    std::memcpy(copy->pixels.get(), source.pixels.get(), source.ByteSize());
    return copy;
}

std::shared_ptr<Surface> SurfaceFromImage(const gfx::Bitmap& image)
{
    auto s = CreateSurface(image.Width(), image.Height());
    for (int32_t y = 0; y < image.Height(); ++y) {
        std::memcpy(s->Row(y), image.Scanline(y), size_t(s->stride));
    }
    return s;
}

std::shared_ptr<Surface> MoveIntoSurface(gfx::Bitmap&& image)
{
    auto s = std::make_shared<Surface>();
    s->width = image.Width();
    s->height = image.Height();
    s->stride = s->width * 4;
    s->pixels = image.TakePixels();
    return s;
}

gfx::Bitmap WrapAsBitmap(Surface& surface)
{
    return gfx::Bitmap::Borrow(surface.width, surface.height, surface.pixels.get());
}

const gfx::Bitmap WrapAsBitmap(const Surface& surface)
{
    // Only handed out as const, so nothing draws into it.
    return gfx::Bitmap::Borrow(surface.width, surface.height, const_cast<uint32_t*>(surface.pixels.get()));
}

void CopyRegion(const Surface& source, int32_t x, int32_t y, Surface& destination)
{
    for (int32_t i = 0; i < destination.height; ++i) {
        std::memcpy(destination.Row(i), source.Row(y + i) + x, size_t(destination.stride));
    }
}
