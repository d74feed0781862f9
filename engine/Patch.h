#pragma once

#include "engine/Surface.h"

#include <memory>

// How a tool puts a patch onto the picture.
enum class PatchBlend {
    SourceOver, // the patch's alpha is its blend weight over the picture's pixels
    Replace,    // the patch's pixels, alpha included, take the place of the picture's
};

// What an effect returns: new pixels for an area of the picture. Without a surface
// it means no change.
struct Patch {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::shared_ptr<Surface> surface;
    PatchBlend blend = PatchBlend::SourceOver;

    bool HasSurface() const { return surface != nullptr; }
    gfx::Rect Area() const { return {x, y, width, height}; }
};
