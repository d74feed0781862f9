#pragma once

#include "engine/OverlayPainter.h"

#include <memory>

// The overlay of a view whose tool draws no feedback: paints nothing. One instance
// is shared by every view.
class IdlePainter : public OverlayPainter {
public:
    static std::shared_ptr<IdlePainter> Instance();

    void Paint(gfx::Graphics&, const ViewTransform&) override {}
};
