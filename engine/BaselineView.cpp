#include "engine/BaselineView.h"

#include <utility>

BaselineView::BaselineView(std::shared_ptr<const Surface> picture) : picture_(std::move(picture)) {}

void BaselineView::Render(const CanvasView& view, gfx::Graphics& target)
{
    const gfx::Rect source{view.SrcX(), view.SrcY(), view.SrcWidth(), view.SrcHeight()};
    if (source != scaledSource_ || scaled_.Width() != view.ViewWidth() || scaled_.Height() != view.ViewHeight()) {
        scaled_ = gfx::Bitmap(view.ViewWidth(), view.ViewHeight());
        gfx::Graphics graphics(scaled_);
        graphics.Clear(gfx::colors::Transparent);
        graphics.SetCompositingMode(gfx::CompositingMode::SourceCopy);
        graphics.DrawBitmap(WrapAsBitmap(*picture_), scaled_.Bounds(), source);
        scaledSource_ = source;
    }
    const gfx::CompositingMode mode = target.GetCompositingMode();
    target.Clear(gfx::colors::Black);
    target.SetCompositingMode(gfx::CompositingMode::SourceOver);
    target.DrawBitmap(scaled_, gfx::Point{view.DestX(), view.DestY()});
    target.SetCompositingMode(mode);
}
