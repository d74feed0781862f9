#include "tools/BezierItem.h"

#include "engine/PixelHelpers.h"
#include "engine/UserMessages.h"
#include "gfx/Color.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

constexpr uint32_t TextureLift = 112;
constexpr double HitRadiusSquared = 100.0;
constexpr int32_t MarkerBox = 6;
constexpr int32_t MinMarkerSpan = 5;
constexpr gfx::Argb MarkerRed = 0xFFFF0000;
constexpr gfx::Argb MarkerGreen = 0xFF008000;

gfx::PointF Midpoint(gfx::PointF a, gfx::PointF b) { return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f}; }

// Splits the curve at t = 1/2 by de Casteljau until a piece's end points lie within one
// pixel of each other, and collects the first point of each such piece. The working
// points become the right half; the left half is gathered as the first point after
// each pass.
void Subdivide(std::vector<gfx::PointF>& points, std::vector<gfx::Point>& pixels)
{
    const gfx::PointF first = points.front();
    const gfx::PointF last = points.back();
    if (std::fabs(last.x - first.x) < 1.0f && std::fabs(last.y - first.y) < 1.0f) {
        pixels.push_back({int32_t(first.x), int32_t(first.y)});
        return;
    }
    const size_t n = points.size() - 1;
    std::vector<gfx::PointF> left(n + 1);
    left[0] = first;
    for (size_t pass = 1; pass <= n; ++pass) {
        for (size_t j = 0; j + pass <= n; ++j) {
            points[j] = Midpoint(points[j], points[j + 1]);
        }
        left[pass] = points[0];
    }
    Subdivide(points, pixels);
    Subdivide(left, pixels);
}

// Each colour channel: max(under + texture - 255, 0), so white texture leaves the
// picture as it is and dark texture darkens it.
gfx::Argb DarkenedColour(gfx::Argb under, gfx::Argb texture, uint32_t alpha)
{
    auto channel = [](uint32_t o, uint32_t t) { return o + t > 255 ? o + t - 255 : 0u; };
    return gfx::MakeArgb(alpha, channel(gfx::RedOf(under), gfx::RedOf(texture)),
                         channel(gfx::GreenOf(under), gfx::GreenOf(texture)),
                         channel(gfx::BlueOf(under), gfx::BlueOf(texture)));
}

void DrawMarker(gfx::Graphics& target, const ViewTransform& view, gfx::PointF point, gfx::Argb colour)
{
    // The box starts at the point, as in picture pixels, but never shrinks below a
    // size the user can see; its outline is as thick as one picture pixel on screen.
    gfx::Rect box = view.ToTarget(gfx::Rect{int32_t(point.x), int32_t(point.y), MarkerBox, MarkerBox});
    if (box.width < MinMarkerSpan) {
        box.x += (box.width - MinMarkerSpan) / 2;
        box.width = MinMarkerSpan;
    }
    if (box.height < MinMarkerSpan) {
        box.y += (box.height - MinMarkerSpan) / 2;
        box.height = MinMarkerSpan;
    }
    const int32_t thickness = std::max(1, int32_t(std::lround(view.zoom)));
    for (int32_t k = 0; k < thickness && box.width > 2 * k && box.height > 2 * k; ++k) {
        target.DrawEllipse(colour, box.Inflated(-k));
    }
}

} // namespace

std::shared_ptr<const Surface> BezierItem::MakeEyelidTexture(const gfx::Bitmap& image)
{
    std::shared_ptr<Surface> texture = SurfaceFromImage(image);
    for (int32_t y = 0; y < texture->height; ++y) {
        uint32_t* row = texture->Row(y);
        for (int32_t x = 0; x < texture->width; ++x) {
            const uint32_t p = row[x];
            auto lifted = [&](uint32_t c) { return (c + TextureLift) & 0xFF; };
            row[x] = gfx::MakeArgb(gfx::AlphaOf(p), lifted(gfx::RedOf(p)), lifted(gfx::GreenOf(p)),
                                   lifted(gfx::BlueOf(p)));
        }
    }
    return texture;
}

BezierItem::BezierItem(std::shared_ptr<const Surface> texture, std::shared_ptr<OperationScope> height,
                       std::shared_ptr<OperationScope> opacity)
    : texture_(std::move(texture)),
      height_(height ? std::move(height) : std::make_shared<OperationScope>(2, 14)),
      opacity_(opacity ? std::move(opacity) : std::make_shared<OperationScope>(0, 128))
{
    reportedState_ = CurrentState();
}

int32_t BezierItem::HitTest(int32_t x, int32_t y) const
{
    const float fx = float(x), fy = float(y);
    double best = HitRadiusSquared;
    int32_t hit = -1;
    for (size_t i = 0; i < points_.size(); ++i) {
        const double dx = double(points_[i].x) - fx;
        const double dy = double(points_[i].y) - fy;
        const double d = dx * dx + dy * dy;
        if (d < best) {
            best = d;
            hit = int32_t(i);
        }
    }
    return hit;
}

bool BezierItem::CanAddPoint() const
{
    if (PointCount() < Capacity) {
        return true;
    }
    ShowUserMessage("不能超过 " + std::to_string(Capacity) + " 个控制点.");
    return false;
}

int32_t BezierItem::InsertPoint(int32_t index, float x, float y)
{
    if (!CanAddPoint()) {
        return 0;
    }
    index = std::clamp(index, 0, PointCount());
    points_.insert(points_.begin() + index, gfx::PointF{x, y});
    selected_ = index;
    PointsChanged();
    return index;
}

int32_t BezierItem::AppendPoint(float x, float y) { return InsertPoint(PointCount(), x, y); }

int32_t BezierItem::RemoveSelected()
{
    if (selected_ < 0 || selected_ >= PointCount()) {
        return -1;
    }
    const int32_t removed = selected_;
    points_.erase(points_.begin() + removed);
    selected_ = PointCount() - 1;
    PointsChanged();
    return removed;
}

void BezierItem::MovePoint(int32_t index, gfx::PointF to)
{
    if (index < 0 || index >= PointCount() || points_[size_t(index)] == to) {
        return;
    }
    points_[size_t(index)] = to;
    PointsChanged();
}

void BezierItem::SetPoints(std::vector<gfx::PointF> points, int32_t selected)
{
    points.resize(std::min(points.size(), size_t(Capacity)));
    if (points != points_) {
        points_ = std::move(points);
        PointsChanged();
    }
    SetSelected(selected);
}

void BezierItem::SetSelected(int32_t index) { selected_ = index >= 0 && index < PointCount() ? index : -1; }

void BezierItem::PointsChanged()
{
    curveValid_ = false;
    ++pointsVersion_;
}

BezierItem::LineState BezierItem::CurrentState() const
{
    return {pointsVersion_, height_->Value() & 0xFF, opacity_->Value() & 0xFF};
}

int32_t BezierItem::LineHeight() const { return int32_t(height_->Value() & 0xFF); }

const std::vector<gfx::Point>& BezierItem::CurvePixels()
{
    if (!curveValid_) {
        curve_.clear();
        if (!points_.empty()) {
            std::vector<gfx::PointF> working = points_;
            Subdivide(working, curve_);
        }
        std::sort(curve_.begin(), curve_.end(),
                  [](gfx::Point a, gfx::Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
        curve_.erase(std::unique(curve_.begin(), curve_.end()), curve_.end());
        curveValid_ = true;
    }
    return curve_;
}

gfx::Rect BezierItem::LineArea()
{
    const int32_t height = LineHeight();
    if (points_.size() < 2 || !texture_ || height <= 0) {
        return {};
    }
    const std::vector<gfx::Point>& curve = CurvePixels();
    int32_t top = curve.front().y, bottom = curve.front().y;
    for (const gfx::Point& p : curve) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Each painted pixel is a 2 x 2 block: one column and one row beyond the curve.
    const int32_t left = curve.front().x, right = curve.back().x;
    return {left, top - height / 2, right - left + 2, bottom - top + height + 1};
}

std::vector<gfx::Rect> BezierItem::TakeChangedAreas()
{
    const LineState now = CurrentState();
    if (now == reportedState_) {
        return {};
    }
    reportedState_ = now;
    std::vector<gfx::Rect> areas;
    const gfx::Rect area = LineArea();
    for (const gfx::Rect& r : {reportedArea_, area}) {
        if (!r.IsEmpty()) {
            areas.push_back(r);
        }
    }
    reportedArea_ = area;
    return areas;
}

const Surface& BezierItem::ScaledTexture(int32_t height)
{
    if (!scaledTexture_ || scaledTexture_->height != height) {
        scaledTexture_ = CreateSurface(texture_->width, height);
        gfx::Bitmap scaled = WrapAsBitmap(*scaledTexture_);
        gfx::Graphics graphics(scaled);
        graphics.Clear(gfx::colors::Transparent);
        graphics.DrawBitmap(WrapAsBitmap(*texture_), scaled.Bounds(), texture_->Bounds());
    }
    return *scaledTexture_;
}

void BezierItem::KeepPixelsUnder(const gfx::Graphics& graphics)
{
    const std::vector<gfx::Point>& curve = CurvePixels();
    const int32_t height = LineHeight();
    if (underPointsVersion_ != pointsVersion_ || underHeight_ != height) {
        under_.assign(curve.size() * size_t(height), 0);
        underPointsVersion_ = pointsVersion_;
        underHeight_ = height;
    }
    const gfx::Rect fresh = graphics.Clip();
    for (size_t k = 0; k < curve.size(); ++k) {
        const gfx::Point p = curve[k];
        if (p.x < fresh.x || p.x >= fresh.Right()) {
            continue;
        }
        const int32_t top = p.y - height / 2;
        const int32_t first = std::max(top, fresh.y), last = std::min(top + height, fresh.Bottom());
        for (int32_t y = first; y < last; ++y) {
            under_[k * size_t(height) + size_t(y - top)] = graphics.PixelAt(p.x, y);
        }
    }
}

void BezierItem::Draw(gfx::Graphics& graphics)
{
    const gfx::Rect area = LineArea().Intersected(graphics.Area());
    if (area.IsEmpty() || area.Intersected(graphics.Clip()).IsEmpty() || texture_->width <= 0 ||
        texture_->height <= 0) {
        return;
    }
    // All of the clip's pixels are read before any is painted over.
    KeepPixelsUnder(graphics);
    PaintLine(graphics);
}

void BezierItem::PaintLine(gfx::Graphics& graphics)
{
    const int32_t height = LineHeight();
    const int32_t halfHeight = height / 2;
    const uint32_t alpha = opacity_->Value() & 0xFF;
    const Surface& texture = ScaledTexture(height);
    const gfx::Rect picture = graphics.Area();
    const gfx::Rect clip = graphics.Clip();
    const std::vector<gfx::Point>& curve = CurvePixels();
    const double pixelCount = double(curve.size());

    // The texture runs along the curve in the order of its pixels (by x), stretched
    // over all of them; row j of the line is row j of the texture. Each pixel is
    // painted as a 2 x 2 block, which reaches into the clip from one pixel left and above.
    for (size_t k = 0; k < curve.size(); ++k) {
        const gfx::Point p = curve[k];
        if (p.x < 0 || p.x >= picture.Right() || p.x + 1 < clip.x || p.x >= clip.Right()) {
            continue;
        }
        const float u = float(double(texture.width) * double(k + 1) / pixelCount);
        for (int32_t j = 0; j < height; ++j) {
            const int32_t y = p.y - halfHeight + j;
            if (y < 0 || y >= picture.Bottom() || y + 1 < clip.y || y >= clip.Bottom()) {
                continue;
            }
            const gfx::Argb t = SampleBilinearWrapped(texture, u, float(j));
            const gfx::Argb under = under_[k * size_t(height) + size_t(j)];
            graphics.DrawRectangle(DarkenedColour(under, t, alpha), {p.x, y, 1, 1});
        }
    }
}

void BezierItem::DrawControlPoints(gfx::Graphics& target, const ViewTransform& view) const
{
    if (!active_) {
        return;
    }
    for (const gfx::PointF& point : points_) {
        DrawMarker(target, view, point, MarkerRed);
    }
    if (selected_ >= 0 && selected_ < PointCount()) {
        DrawMarker(target, view, points_[size_t(selected_)], MarkerGreen);
    }
}
