#pragma once

#include "engine/Effect.h"
#include "tools/StretchTarget.h"

#include <cstdint>

// Pulls the picture round a brush square toward the target point. The requested
// rectangle is the brush square; the result covers the area three times its size about
// the same centre, so that the deformation fades out well beyond the brush circle.
// Nothing changes unless the target lies strictly inside the brush square.
class StretchWarpEffect : public Effect, public StretchTarget {
public:
    explicit StretchWarpEffect(int32_t strength);

    Patch Apply(const Surface& source, const gfx::Rect& brush) override;
    void SetTarget(int32_t x, int32_t y) override;

    // The area a warp of this brush square may change, before clipping to the picture.
    static gfx::Rect AffectedArea(const gfx::Rect& brush);

    int32_t TargetX() const { return targetX; }
    int32_t TargetY() const { return targetY; }

private:
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t strength;
};
