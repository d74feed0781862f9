#include "tools/HealDisc.h"

#include <algorithm>

namespace {

// The bounding box of the pixels nearer to the centre than radius, inside the limits.
gfx::Rect BoundsOf(gfx::Point centre, int32_t radius, const gfx::Rect& limits)
{
    if (radius <= 0) {
        return {};
    }
    const int32_t side = 2 * radius - 1;
    return gfx::Rect{centre.x - radius + 1, centre.y - radius + 1, side, side}.Intersected(limits);
}

} // namespace

HealDisc HealDisc::UnderBrush(const gfx::Rect& brush, const gfx::Rect& picture)
{
    HealDisc disc;
    const int32_t brushRadius = std::min(brush.width, brush.height) / 2;
    disc.centre = {brush.x + brush.width / 2, brush.y + brush.height / 2};
    disc.radius = brushRadius - std::max(1, brushRadius / 8);
    disc.bounds = BoundsOf(disc.centre, disc.radius, picture);
    return disc;
}

HealDisc HealDisc::Within(gfx::Point innerCentre, int32_t innerRadius) const
{
    HealDisc disc;
    disc.centre = innerCentre;
    disc.radius = std::min(radius, innerRadius);
    disc.bounds = BoundsOf(innerCentre, disc.radius, bounds);
    return disc;
}
