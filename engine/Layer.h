#pragma once

#include "gfx/Graphics.h"

#include <vector>

// Something the canvas view draws in picture coordinates: the picture itself or an
// eyelid line.
class Layer {
public:
    virtual ~Layer() = default;

    // Draws the layer, limited to the graphics' clip rectangle.
    virtual void Draw(gfx::Graphics& graphics) = 0;

    // The picture areas whose look changed since the last call, so that a view can
    // redraw only those.
    virtual std::vector<gfx::Rect> TakeChangedAreas() = 0;
};
