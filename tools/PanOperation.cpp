#include "tools/PanOperation.h"

#include <utility>

PanOperation::PanOperation(std::shared_ptr<CanvasView> view, Environment* environment)
    : Operation(environment), view_(std::move(view))
{
}

void PanOperation::OnLeftDown(Environment* env)
{
    if (env) {
        last_ = env->CursorInCanvas();
    }
}

void PanOperation::OnDrag(Environment* env)
{
    if (last_.x < 0 || !env || !view_) {
        return;
    }
    const gfx::Point previous = last_;
    last_ = env->CursorInCanvas();
    // The picture follows the mouse: moving right shows more of the left side.
    view_->Scroll(previous.y - last_.y, previous.x - last_.x);
}

void PanOperation::OnButtonUp(Environment*) { last_ = NoDrag; }
