#pragma once

#include <algorithm>
#include <cstdint>

namespace gfx {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct PointF {
    float x = 0;
    float y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

// x, y, width, height; the right and bottom edges are exclusive.
struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    int32_t Right() const { return x + width; }
    int32_t Bottom() const { return y + height; }
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool Contains(int32_t px, int32_t py) const
    {
        return px >= x && px < Right() && py >= y && py < Bottom();
    }
    int64_t Area() const { return IsEmpty() ? 0 : int64_t(width) * height; }

    // The common part of two rectangles; empty (all zero) when they do not overlap.
    Rect Intersected(const Rect& o) const
    {
        int32_t l = std::max(x, o.x), t = std::max(y, o.y);
        int32_t r = std::min(Right(), o.Right()), b = std::min(Bottom(), o.Bottom());
        if (r <= l || b <= t) {
            return {};
        }
        return {l, t, r - l, b - t};
    }

    // The smallest rectangle holding both; an empty side does not count.
    Rect United(const Rect& o) const
    {
        if (IsEmpty()) {
            return o;
        }
        if (o.IsEmpty()) {
            return *this;
        }
        int32_t l = std::min(x, o.x), t = std::min(y, o.y);
        int32_t r = std::max(Right(), o.Right()), b = std::max(Bottom(), o.Bottom());
        return {l, t, r - l, b - t};
    }

    Rect Inflated(int32_t d) const { return {x - d, y - d, width + 2 * d, height + 2 * d}; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace gfx
