#pragma once

#include "gfx/Geometry.h"

#include <cstdint>
#include <vector>

// A cone of weights over a rectangle: 255 at the centre, falling linearly with the
// distance and reaching 0 at half the shorter side; the corners are 0.
//   v = trunc((half - sqrt(dx^2 + dy^2)) * (1 / half) * 255), kept where positive,
// with half = min(w, h) / 2 and dx, dy counted from the truncated centre (w / 2, h / 2).
class FalloffMask {
public:
    explicit FalloffMask(const gfx::Rect& rect);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint8_t At(int32_t row, int32_t column) const { return values_[size_t(row) * size_t(width_) + size_t(column)]; }
    const uint8_t* Row(int32_t row) const { return values_.data() + size_t(row) * size_t(width_); }

    // Reads the weights one after the other in row-major order.
    uint8_t Next() { return values_[cursor_++]; }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> values_;
    size_t cursor_ = 0;
};
