#include "app/EditingSession.h"

#include <algorithm>
#include <utility>

EditingSession::EditingSession(std::shared_ptr<Surface> opened, Environment* environment,
                               std::shared_ptr<const Surface> eyelidTexture, int scale)
    : view_(std::make_shared<CanvasView>(opened->width, opened->height, kCanvasWidth * scale, kCanvasHeight * scale)),
      picture_(std::make_shared<PictureLayer>(std::move(opened))),
      baseline_(picture_->Baseline())
{
    view_->AddLayer(picture_);
    const auto height = std::make_shared<OperationScope>(2, 14);
    const auto opacity = std::make_shared<OperationScope>(0, 128);
    const auto left = std::make_shared<BezierItem>(eyelidTexture, height, opacity);
    const auto right = std::make_shared<BezierItem>(eyelidTexture, height, opacity);
    view_->AddLayer(left);
    view_->AddLayer(right);
    lineTool_ = std::make_shared<LineOperation>(environment, left, right);
    lineScopes_ = {height, opacity};
    moveTool_ = std::make_shared<PanOperation>(view_, environment);
}

// The view holds the current tool as its overlay, and the line and move tools hold the
// view: letting go of the tool ends that cycle, so that the picture is freed.
EditingSession::~EditingSession() { view_->SetOperation(nullptr); }

void EditingSession::FitView()
{
    const float byWidth = float(view_->ViewWidth()) / float(view_->PictureWidth());
    const float byHeight = float(view_->ViewHeight()) / float(view_->PictureHeight());
    view_->SetZoom(std::min(byWidth, byHeight));
}
