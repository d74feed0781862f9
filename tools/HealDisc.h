#pragma once

#include "gfx/Geometry.h"

#include <cstdint>

// The round area a heal replaces, in picture coordinates: the pixels whose squared
// distance from the centre pixel is below radius^2, as far as they lie in the picture.
struct HealDisc {
    gfx::Point centre;
    int32_t radius = 0;
    gfx::Rect bounds; // the bounding box of its pixels inside the picture

    // The disc under a brush square: centred on the pixel the brush circle is centred on
    // (the square's middle, rounded down, as the falloff mask counts it) and a little
    // smaller than the circle, so the pixels just inside the circle stay as they were
    // and the heal meets them.
    static HealDisc UnderBrush(const gfx::Rect& brush, const gfx::Rect& picture);
    // A disc lying inside this one, its bounds kept inside this one's.
    HealDisc Within(gfx::Point innerCentre, int32_t innerRadius) const;

    bool IsEmpty() const { return bounds.IsEmpty(); }
    bool Contains(int32_t x, int32_t y) const
    {
        const int64_t dx = x - centre.x, dy = y - centre.y;
        return dx * dx + dy * dy < int64_t(radius) * radius;
    }
};
