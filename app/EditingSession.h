#pragma once

#include "engine/BaselineView.h"
#include "engine/CanvasView.h"
#include "engine/Environment.h"
#include "engine/History.h"
#include "engine/OperationScope.h"
#include "engine/PictureLayer.h"
#include "engine/Surface.h"
#include "tools/BezierItem.h"
#include "tools/LineOperation.h"
#include "tools/PanOperation.h"

#include <memory>
#include <vector>

// Everything that editing one picture needs, built afresh whenever a picture is opened,
// reset or rotated: the view fitted to the canvas, the picture as its first layer, the
// two eyelid lines as its next layers, the line and move tools working on them, and an
// empty undo history.
//
// The view renders the canvas in device pixels: on a screen of scale 2 it is twice the
// canvas's size each way, with the zoom doubled, so the picture shows at the screen's
// own resolution.
class EditingSession {
public:
    static constexpr int32_t kCanvasWidth = 443;
    static constexpr int32_t kCanvasHeight = 621;

    // The picture's pixels are shared, not copied: the first edit works on a copy.
    EditingSession(std::shared_ptr<Surface> opened, Environment* environment,
                   std::shared_ptr<const Surface> eyelidTexture, int scale = 1);
    ~EditingSession();
    EditingSession(const EditingSession&) = delete;
    EditingSession& operator=(const EditingSession&) = delete;

    // Zooms so that the whole picture shows in the canvas, centred; changes nothing else.
    void FitView();

    const std::shared_ptr<CanvasView>& View() const { return view_; }
    const std::shared_ptr<PictureLayer>& Picture() const { return picture_; }
    const std::shared_ptr<LineOperation>& LineTool() const { return lineTool_; }
    // The line height (upper slider) and opacity (lower slider).
    const std::vector<std::shared_ptr<OperationScope>>& LineScopes() const { return lineScopes_; }
    const std::shared_ptr<PanOperation>& MoveTool() const { return moveTool_; }
    History& Steps() { return history_; }
    const History& Steps() const { return history_; }
    // The picture as opened, shown through the view's zoom and scroll.
    BaselineView& Baseline() { return baseline_; }

private:
    std::shared_ptr<CanvasView> view_;
    std::shared_ptr<PictureLayer> picture_;
    BaselineView baseline_;
    std::vector<std::shared_ptr<OperationScope>> lineScopes_;
    std::shared_ptr<LineOperation> lineTool_;
    std::shared_ptr<PanOperation> moveTool_;
    History history_;
};
