#include "tools/HealDisc.h"

#include <algorithm>

HealDisc HealDisc::UnderBrush(const gfx::Rect& brush, const gfx::Rect& picture)
{
    const int32_t brushRadius = std::min(brush.width, brush.height) / 2;
    return Around({brush.x + brush.width / 2, brush.y + brush.height / 2},
                  brushRadius - std::max(1, brushRadius / 8), picture);
}

HealDisc HealDisc::Around(gfx::Point centre, int32_t radius, const gfx::Rect& limits)
{
    HealDisc disc;
    disc.centre = centre;
    disc.radius = radius;
    if (radius > 0) {
        // The pixels nearer to the centre than radius lie within radius - 1 of it each way.
        const int32_t side = 2 * radius - 1;
        disc.bounds = gfx::Rect{centre.x - radius + 1, centre.y - radius + 1, side, side}.Intersected(limits);
    }
    return disc;
}
