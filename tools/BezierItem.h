#pragma once

#include "engine/Layer.h"
#include "engine/OperationScope.h"
#include "engine/Surface.h"
#include "engine/ViewTransform.h"
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "gfx/Graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

// One eyelid line: up to 12 control points defining a single Bezier curve of degree
// n - 1, along which the eyelid texture is painted as a darkening line over whatever
// lies below it. A layer of the canvas view; its control-point markers are screen
// feedback drawn by the line tool through the view's transform.
class BezierItem : public Layer {
public:
    static constexpr int32_t Capacity = 12;

    // The texture as the line paints it: the skin bitmap with 112 added to every
    // colour byte, wrapping modulo 256; alpha stays.
    static std::shared_ptr<const Surface> MakeEyelidTexture(const gfx::Bitmap& image);

    // Both eyelids share the texture and the two scopes: height (thickness in pixels)
    // and opacity (the line's alpha). Without a texture the line draws nothing.
    BezierItem(std::shared_ptr<const Surface> texture, std::shared_ptr<OperationScope> height,
               std::shared_ptr<OperationScope> opacity);

    void Draw(gfx::Graphics& graphics) override;
    std::vector<gfx::Rect> TakeChangedAreas() override;
    // The markers of the control points (red, the selected one green again on top),
    // when the item is active.
    void DrawControlPoints(gfx::Graphics& target, const ViewTransform& view) const;

    // The nearest point closer than 10 pixels (the lower index on a tie), or -1.
    int32_t HitTest(int32_t x, int32_t y) const;
    // False, after telling the user, when the item already holds 12 points.
    bool CanAddPoint() const;
    // Inserts before index and selects the new point; returns its index, or 0 with
    // nothing changed when the item is full.
    int32_t InsertPoint(int32_t index, float x, float y);
    int32_t AppendPoint(float x, float y);
    // Removes the selected point and selects the new last one; returns the removed
    // index, or -1 when nothing was selected.
    int32_t RemoveSelected();
    void MovePoint(int32_t index, gfx::PointF to);
    // Puts back points and a selection taken from Points() and Selected() earlier.
    void SetPoints(std::vector<gfx::PointF> points, int32_t selected);

    const std::vector<gfx::PointF>& Points() const { return points_; }
    int32_t PointCount() const { return int32_t(points_.size()); }
    int32_t Selected() const { return selected_; }
    // Any index outside the points clears the selection.
    void SetSelected(int32_t index);
    bool IsActive() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    OperationScope& Height() { return *height_; }
    OperationScope& Opacity() { return *opacity_; }

    // The curve's distinct pixels in ascending x, then ascending y.
    const std::vector<gfx::Point>& CurvePixels();
    // The picture area the line paints with its current points, height and opacity.
    gfx::Rect LineArea();

private:
    struct LineState {
        uint64_t pointsVersion = 0;
        uint32_t height = 0;
        uint32_t opacity = 0;
        friend bool operator==(const LineState&, const LineState&) = default;
    };

    void PointsChanged();
    LineState CurrentState() const;
    int32_t LineHeight() const;
    const Surface& ScaledTexture(int32_t height);
    void KeepPixelsUnder(const gfx::Graphics& graphics);
    void PaintLine(gfx::Graphics& graphics);

    std::shared_ptr<const Surface> texture_;
    std::shared_ptr<OperationScope> height_;
    std::shared_ptr<OperationScope> opacity_;
    std::vector<gfx::PointF> points_;
    int32_t selected_ = -1;
    bool active_ = false;

    std::vector<gfx::Point> curve_;
    bool curveValid_ = false;
    uint64_t pointsVersion_ = 0;

    std::shared_ptr<Surface> scaledTexture_;

    // What lay under each painted pixel when it was last drawn, per curve pixel and
    // line row: the line's colours come from these, also where a clipped redraw leaves
    // them outside the clip. Valid for one curve and height.
    std::vector<uint32_t> under_;
    uint64_t underPointsVersion_ = 0;
    int32_t underHeight_ = 0;

    LineState reportedState_;
    gfx::Rect reportedArea_;
};
