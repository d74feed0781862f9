#pragma once

#include "gfx/Geometry.h"

#include <cstdint>
#include <vector>

// Sums of a value over any rectangle of an area in constant time (a summed-area table).
// Value needs +=, binary + and -, and * by a double.
template <typename Value>
class SummedArea {
public:
    // valueAt(x, y) gives the value of each pixel of a width x height area.
    template <typename ValueAt>
    SummedArea(int32_t width, int32_t height, ValueAt valueAt)
        : width_(width), height_(height), sums_(size_t(width + 1) * size_t(height + 1))
    {
        for (int32_t y = 0; y < height; ++y) {
            Value rowSum{};
            for (int32_t x = 0; x < width; ++x) {
                rowSum += valueAt(x, y);
                sums_[Index(x + 1, y + 1)] = sums_[Index(x + 1, y)] + rowSum;
            }
        }
    }

    // The mean over the part of rect inside the area; zero when none is.
    Value MeanInside(const gfx::Rect& rect) const
    {
        const gfx::Rect r = rect.Intersected({0, 0, width_, height_});
        if (r.IsEmpty()) {
            return {};
        }
        const Value sum = sums_[Index(r.Right(), r.Bottom())] - sums_[Index(r.x, r.Bottom())] -
                          sums_[Index(r.Right(), r.y)] + sums_[Index(r.x, r.y)];
        return sum * (1.0 / double(r.Area()));
    }

private:
    size_t Index(int32_t x, int32_t y) const { return size_t(y) * size_t(width_ + 1) + size_t(x); }

    int32_t width_;
    int32_t height_;
    std::vector<Value> sums_;
};
