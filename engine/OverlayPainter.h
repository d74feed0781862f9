#pragma once

#include "engine/ViewTransform.h"
#include "gfx/Graphics.h"

// Draws a tool's feedback (a brush circle, control-point markers) over the shown
// picture. Feedback is drawn at the target's own resolution, through the view's
// transform, so that it stays crisp and visible at every zoom, and it never becomes
// part of the picture.
class OverlayPainter {
public:
    virtual ~OverlayPainter() = default;
    virtual void Paint(gfx::Graphics& graphics, const ViewTransform& view) = 0;
};
