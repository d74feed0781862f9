#pragma once

#include "engine/Effect.h"
#include "engine/Surface.h"

#include <memory>

// The picture as it was opened, for the area asked: composited (through a
// MaskedEffect), it brings the opened picture back under the brush.
class BaselineEffect : public Effect {
public:
    // The opened picture; until it is set, and when its size is not the source's, the
    // effect changes nothing.
    void SetBaseline(std::shared_ptr<const Surface> baseline) { baseline_ = std::move(baseline); }

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

private:
    std::shared_ptr<const Surface> baseline_;
};
