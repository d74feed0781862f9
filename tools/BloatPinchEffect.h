#pragma once

#include "engine/Effect.h"

#include <cstdint>

// Magnifies (bloat, direction > 0) or shrinks (pinch, direction < 0) the picture inside
// the circle inscribed in the rectangle: each pixel at offset (dx, dy) from the centre
// samples the point at s * (dx, dy), with s = 1 - amount * t^2 and t falling linearly
// from 1 at the centre to 0 at the circle. Pixels outside the circle are copied as
// they are.
class BloatPinchEffect : public Effect {
public:
    explicit BloatPinchEffect(int32_t direction);

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

    int32_t Direction() const { return direction; }
    // +0.32 for the bloat of the zoom tool, -0.32 for its pinch.
    float Amount() const;

private:
    int32_t direction;
};
