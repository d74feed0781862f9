#pragma once

#include "gfx/Geometry.h"

#include <cstdint>

// The round area a heal replaces, in picture coordinates: the pixels whose squared
// distance from the centre pixel is below radius^2, as far as they lie in its bounds.
struct HealDisc {
    gfx::Point centre;
    int32_t radius = 0;
    gfx::Rect bounds; // the bounding box of its pixels inside the limits it was made in

    // The disc under a brush square: centred on the pixel the brush circle is centred on
    // (the square's middle, rounded down, as the falloff mask counts it) and a little
    // smaller than the circle, so the pixels just inside the circle stay as they were
    // and the heal meets them.
    static HealDisc UnderBrush(const gfx::Rect& brush, const gfx::Rect& picture);
    // A disc of its own centre and radius, cut to the limits (a rectangle in the picture).
    static HealDisc Around(gfx::Point centre, int32_t radius, const gfx::Rect& limits);

    bool IsEmpty() const { return bounds.IsEmpty(); }
    bool Contains(int32_t x, int32_t y) const
    {
        const int64_t dx = x - centre.x, dy = y - centre.y;
        return dx * dx + dy * dy < int64_t(radius) * radius;
    }
};
