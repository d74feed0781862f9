#pragma once

#include "engine/CanvasView.h"
#include "engine/Layer.h"

// Another view's composed picture as one layer: drawing it draws that view's layers, so
// a view of it shows what the other view's Flatten would hold without that picture-sized
// copy being made. The other view must stay unchanged while this layer is drawn.
class ComposedLayer : public Layer {
public:
    explicit ComposedLayer(const CanvasView& composed) : composed_(composed) {}

    void Draw(gfx::Graphics& graphics) override { composed_.DrawLayers(graphics); }
    // Never changes: a view composes a new layer whole at its first render anyway.
    std::vector<gfx::Rect> TakeChangedAreas() override { return {}; }

private:
    const CanvasView& composed_;
};
