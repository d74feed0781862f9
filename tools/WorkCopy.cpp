#include "tools/WorkCopy.h"

#include <algorithm>
#include <cmath>

WorkCopy::WorkCopy(const Surface& picture, const gfx::Rect& area, double factor)
    : area_(area.Intersected(picture.Bounds())), originX_(area_.x), originY_(area_.y), factor_(std::max(factor, 1.0))
{
    const auto width = int32_t(std::ceil(area_.width / factor_));
    const auto height = int32_t(std::ceil(area_.height / factor_));
    for (Plane& channel : channels_) {
        channel = Plane(width, height);
    }
    columns_ = gfx::AreaSpans(width, factor_, area_.width);
    rows_ = gfx::AreaSpans(height, factor_, area_.height);
    Read(picture, {0, 0, width, height});
}

gfx::Rect WorkCopy::PixelsCovering(const gfx::Rect& pictureArea) const
{
    const gfx::Rect inside = pictureArea.Intersected(area_);
    if (inside.IsEmpty()) {
        return {};
    }
    const auto left = int32_t(std::floor((inside.x - originX_) / factor_));
    const auto top = int32_t(std::floor((inside.y - originY_) / factor_));
    const auto right = int32_t(std::ceil((inside.Right() - originX_) / factor_));
    const auto bottom = int32_t(std::ceil((inside.Bottom() - originY_) / factor_));
    return gfx::Rect{left, top, right - left, bottom - top}.Intersected({0, 0, Width(), Height()});
}

WorkCopy WorkCopy::Window(const gfx::Rect& pixels) const
{
    const gfx::Rect inside = pixels.Intersected({0, 0, Width(), Height()});
    WorkCopy window;
    window.factor_ = factor_;
    window.originX_ = originX_ + inside.x * factor_;
    window.originY_ = originY_ + inside.y * factor_;
    const auto left = int32_t(std::floor(window.originX_)), top = int32_t(std::floor(window.originY_));
    window.area_ = gfx::Rect{left, top, int32_t(std::ceil(window.originX_ + inside.width * factor_)) - left,
                             int32_t(std::ceil(window.originY_ + inside.height * factor_)) - top}
                       .Intersected(area_);
    for (int32_t c = 0; c < 3; ++c) {
        Plane& plane = window.channels_[size_t(c)];
        plane = Plane(inside.width, inside.height);
        for (int32_t y = 0; y < inside.height; ++y) {
            const float* from = channels_[size_t(c)].Row(inside.y + y) + inside.x;
            std::copy(from, from + inside.width, plane.Row(y));
        }
    }
    return window;
}

void WorkCopy::Refresh(const Surface& picture, const gfx::Rect& changed)
{
    if (columns_.empty()) {
        return;
    }
    Read(picture, PixelsCovering(changed));
}

void WorkCopy::Read(const Surface& picture, const gfx::Rect& pixels)
{
    for (int32_t y = pixels.y; y < pixels.Bottom(); ++y) {
        const gfx::AreaSpan& down = rows_[size_t(y)];
        float* red = channels_[0].Row(y);
        float* green = channels_[1].Row(y);
        float* blue = channels_[2].Row(y);
        std::fill(red + pixels.x, red + pixels.Right(), 0.0f);
        std::fill(green + pixels.x, green + pixels.Right(), 0.0f);
        std::fill(blue + pixels.x, blue + pixels.Right(), 0.0f);
        for (size_t r = 0; r < down.weights.size(); ++r) {
            const uint32_t* row = picture.Row(area_.y + down.first + int32_t(r)) + area_.x;
            const float rowWeight = down.weights[r];
            for (int32_t x = pixels.x; x < pixels.Right(); ++x) {
                const gfx::AreaSpan& span = columns_[size_t(x)];
                float sr = 0, sg = 0, sb = 0;
                for (size_t c = 0; c < span.weights.size(); ++c) {
                    const uint32_t p = row[size_t(span.first) + c];
                    const float w = span.weights[c];
                    sr += w * float((p >> 16) & 0xFF);
                    sg += w * float((p >> 8) & 0xFF);
                    sb += w * float(p & 0xFF);
                }
                red[x] += rowWeight * sr;
                green[x] += rowWeight * sg;
                blue[x] += rowWeight * sb;
            }
        }
    }
}
