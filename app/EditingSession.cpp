#include "app/EditingSession.h"

#include <algorithm>
#include <utility>

EditingSession::EditingSession(std::shared_ptr<Surface> opened, ToolContext tools, int scale)
    : view_(std::make_shared<CanvasView>(opened->width, opened->height, kCanvasWidth * scale, kCanvasHeight * scale)),
      picture_(std::make_shared<PictureLayer>(std::move(opened))),
      baseline_(picture_->Baseline())
{
    view_->AddLayer(picture_);
    tools.view = view_;
    tools_ = ToolTable::Build(ToolLifetime::Picture, tools);
}

std::shared_ptr<LineOperation> EditingSession::LineTool() const
{
    return std::static_pointer_cast<LineOperation>(tools_.at("line").operation);
}

std::shared_ptr<PanOperation> EditingSession::MoveTool() const
{
    return std::static_pointer_cast<PanOperation>(tools_.at("move").operation);
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
