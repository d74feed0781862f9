#include "gfx/Graphics.h"

#include "gfx/Blend.h"
#include "gfx/ScaledDraw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace gfx {

namespace {

// A colour whose four bytes agree, such as transparent, fills at the speed of memset,
// as every recomposition's clear wants: the plain loop stores one pixel at a time.
void FillRow(Argb* row, int32_t count, Argb colour)
{
    const Argb byte = colour & 0xFF;
    if (colour == byte * 0x01010101u) {
        std::memset(row, int(byte), size_t(count) * sizeof(Argb));
    } else {
        std::fill_n(row, count, colour);
    }
}

} // namespace

Graphics::Graphics(Bitmap& target) : Graphics(target, Point{}) {}

Graphics::Graphics(Bitmap& target, Point origin) : target_(target), origin_(origin), clip_(Area()) {}

void Graphics::SetClip(const Rect& clip) { clip_ = clip.Intersected(Area()); }

void Graphics::ResetClip() { clip_ = Area(); }

void Graphics::Clear(Argb colour)
{
    for (int32_t y = clip_.y; y < clip_.Bottom(); ++y) {
        FillRow(At(clip_.x, y), clip_.width, colour);
    }
}

void Graphics::FillSpan(int32_t y, int32_t left, int32_t right, Argb colour)
{
    Argb* row = At(left, y);
    if (mode_ == CompositingMode::SourceCopy) {
        FillRow(row, right - left, colour);
    } else {
        FillRowSourceOver(row, colour, size_t(right - left));
    }
}

void Graphics::FillRectangle(Argb colour, const Rect& rect)
{
    const Rect area = rect.Intersected(clip_);
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        FillSpan(y, area.x, area.Right(), colour);
    }
}

void Graphics::PlotPixel(int32_t x, int32_t y, Argb colour)
{
    if (!clip_.Contains(x, y)) {
        return;
    }
    Argb& p = *At(x, y);
    p = mode_ == CompositingMode::SourceCopy ? colour : BlendSourceOver(p, colour);
}

void Graphics::DrawRectangle(Argb colour, const Rect& rect)
{
    if (rect.width < 0 || rect.height < 0) {
        return;
    }
    const Rect outline{rect.x, rect.y, rect.width + 1, rect.height + 1};
    FillRectangle(colour, {outline.x, outline.y, outline.width, 1});
    if (outline.height > 1) {
        FillRectangle(colour, {outline.x, outline.Bottom() - 1, outline.width, 1});
    }
    if (outline.height > 2) {
        FillRectangle(colour, {outline.x, outline.y + 1, 1, outline.height - 2});
        if (outline.width > 1) {
            FillRectangle(colour, {outline.Right() - 1, outline.y + 1, 1, outline.height - 2});
        }
    }
}

void Graphics::DrawEllipse(Argb colour, const Rect& rect)
{
    if (rect.width <= 0 || rect.height <= 0) {
        return;
    }
    // Skip at once when the outline cannot touch the clip.
    if (Rect{rect.x, rect.y, rect.width + 1, rect.height + 1}.Intersected(clip_).IsEmpty()) {
        return;
    }
    const double a = rect.width * 0.5, b = rect.height * 0.5;
    const double cx = rect.x + a, cy = rect.y + b;
    // Walk the curve once per column and once per row so that it has no gaps
    // whatever its slope; each pixel is then plotted once.
    std::vector<Point> points;
    points.reserve(size_t(4) * size_t(rect.width + rect.height + 2));
    for (int32_t px = rect.x; px <= rect.Right(); ++px) {
        const double t = std::clamp((px - cx) / a, -1.0, 1.0);
        const double dy = b * std::sqrt(1.0 - t * t);
        points.push_back({px, int32_t(std::lround(cy - dy))});
        points.push_back({px, int32_t(std::lround(cy + dy))});
    }
    for (int32_t py = rect.y; py <= rect.Bottom(); ++py) {
        const double t = std::clamp((py - cy) / b, -1.0, 1.0);
        const double dx = a * std::sqrt(1.0 - t * t);
        points.push_back({int32_t(std::lround(cx - dx)), py});
        points.push_back({int32_t(std::lround(cx + dx)), py});
    }
    std::sort(points.begin(), points.end(),
              [](Point p, Point q) { return p.y != q.y ? p.y < q.y : p.x < q.x; });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    for (Point p : points) {
        PlotPixel(p.x, p.y, colour);
    }
}

void Graphics::DrawLine(Argb colour, Point from, Point to)
{
    // Bresenham, both end points included.
    int32_t dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    int32_t sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    int32_t err = dx + dy;
    Point p = from;
    while (true) {
        PlotPixel(p.x, p.y, colour);
        if (p == to) {
            break;
        }
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    }
}

void Graphics::DrawBitmap(const Bitmap& source, Point at)
{
    const Rect area = Rect{at.x, at.y, source.Width(), source.Height()}.Intersected(clip_);
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        const Argb* src = source.Scanline(y - at.y) + (area.x - at.x);
        Argb* dst = At(area.x, y);
        if (mode_ == CompositingMode::SourceCopy) {
            std::copy(src, src + area.width, dst);
        } else {
            BlendRowSourceOver(dst, src, size_t(area.width));
        }
    }
}

void Graphics::DrawBitmap(const Bitmap& source, const Rect& destination, const Rect& sourceRect)
{
    if (destination.IsEmpty() || sourceRect.IsEmpty()) {
        return;
    }
    if (destination.width == sourceRect.width && destination.height == sourceRect.height) {
        // 1:1 is a plain offset copy of the part of the source rectangle inside the source.
        const Rect inside = sourceRect.Intersected(source.Bounds());
        const Rect saved = clip_;
        clip_ = clip_.Intersected({destination.x + inside.x - sourceRect.x,
                                   destination.y + inside.y - sourceRect.y, inside.width, inside.height});
        DrawBitmap(source, {destination.x - sourceRect.x, destination.y - sourceRect.y});
        clip_ = saved;
        return;
    }
    const auto inTarget = [this](const Rect& r) { return Rect{r.x - origin_.x, r.y - origin_.y, r.width, r.height}; };
    DrawScaled(target_, inTarget(clip_), mode_, source, inTarget(destination), sourceRect);
}

} // namespace gfx
