#pragma once

#include "engine/CanvasView.h"
#include "engine/Operation.h"

#include <memory>

// The move tool: dragging with the left button moves the visible part of a zoomed
// picture with the mouse. Changes no pixels and records nothing.
class PanOperation : public Operation {
public:
    PanOperation(std::shared_ptr<CanvasView> view, Environment* environment);

    void OnLeftDown(Environment* env) override;
    void OnDrag(Environment* env) override;
    void OnButtonUp(Environment* env) override;

private:
    static constexpr gfx::Point NoDrag{-1, -1};

    std::shared_ptr<CanvasView> view_;
    gfx::Point last_ = NoDrag; // the cursor in canvas coordinates at the previous event
};
