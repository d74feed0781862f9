#pragma once

#include "engine/Surface.h"

#include <memory>

// What an effect returns: new pixels for an area of the picture. Without a surface
// it means no change.
struct Patch {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::shared_ptr<Surface> surface;

    bool HasSurface() const { return surface != nullptr; }
    gfx::Rect Area() const { return {x, y, width, height}; }
};
