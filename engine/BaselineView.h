#pragma once

#include "engine/CanvasView.h"
#include "engine/Surface.h"
#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"

#include <memory>

// Shows a picture that never changes (the picture as opened) through the zoom and scroll
// of a canvas view: what that view would show if the picture were its only layer, with
// no overlay. The visible part is scaled once and kept, so showing it again at the same
// zoom and scroll costs a copy of the viewport, never a copy of the picture.
class BaselineView {
public:
    explicit BaselineView(std::shared_ptr<const Surface> picture);

    // Clears the target to opaque black and draws the picture as the view places it.
    void Render(const CanvasView& view, gfx::Graphics& target);

private:
    std::shared_ptr<const Surface> picture_;
    gfx::Bitmap scaled_; // the view's source rectangle scaled to the view's size
    gfx::Rect scaledSource_;
};
