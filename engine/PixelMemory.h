#pragma once

#include "gfx/Color.h"

#include <cstddef>
#include <memory>

// Memory for pixels that starts transparent black, for the view's picture-sized
// buffers. Blocks of more than a few hundred kilobytes come straight from the system
// in 2 MiB pages where it offers them: touching a fresh block page by page costs one
// fault per 4 KiB page, which can take far longer than writing the pixels themselves.
class PixelMemory {
public:
    explicit PixelMemory(size_t pixelCount);
    ~PixelMemory();
    // Moving keeps the pixels where they are, so bitmaps over them stay valid.
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;

    gfx::Argb* Pixels() { return pixels_; }

private:
    std::unique_ptr<gfx::Argb[]> small_;
    void* mapping_ = nullptr;
    size_t mappingSize_ = 0;
    gfx::Argb* pixels_ = nullptr;
};
