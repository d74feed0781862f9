#pragma once

#include "engine/BaselineView.h"
#include "engine/CanvasView.h"
#include "engine/History.h"
#include "engine/PictureLayer.h"
#include "engine/Surface.h"
#include "tools/LineOperation.h"
#include "tools/PanOperation.h"
#include "tools/ToolTable.h"

#include <map>
#include <memory>
#include <string>

// Everything that editing one picture needs, built afresh whenever a picture is opened,
// reset or rotated: the view fitted to the canvas, the picture as its first layer, the
// tools that work on this picture's view (the line tool adds its two eyelid lines as the
// next layers) and an empty undo history.
//
// The view renders the canvas in device pixels: on a screen of scale 2 it is twice the
// canvas's size each way, with the zoom doubled, so the picture shows at the screen's
// own resolution.
class EditingSession {
public:
    static constexpr int32_t kCanvasWidth = 443;
    static constexpr int32_t kCanvasHeight = 621;

    // The picture's pixels are shared, not copied: the first edit works on a copy.
    // The tools of the picture lifetime are built with the context given, this view added.
    EditingSession(std::shared_ptr<Surface> opened, ToolContext tools, int scale = 1);
    ~EditingSession();
    EditingSession(const EditingSession&) = delete;
    EditingSession& operator=(const EditingSession&) = delete;

    // Zooms so that the whole picture shows in the canvas, centred; changes nothing else.
    void FitView();

    const std::shared_ptr<CanvasView>& View() const { return view_; }
    const std::shared_ptr<PictureLayer>& Picture() const { return picture_; }
    // The tools built for this picture, by name.
    const std::map<std::string, BuiltTool>& Tools() const { return tools_; }
    std::shared_ptr<LineOperation> LineTool() const;
    std::shared_ptr<PanOperation> MoveTool() const;
    History& Steps() { return history_; }
    const History& Steps() const { return history_; }
    // The picture as opened, shown through the view's zoom and scroll.
    BaselineView& Baseline() { return baseline_; }

private:
    std::shared_ptr<CanvasView> view_;
    std::shared_ptr<PictureLayer> picture_;
    BaselineView baseline_;
    std::map<std::string, BuiltTool> tools_;
    History history_;
};
