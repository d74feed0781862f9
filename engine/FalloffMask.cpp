#include "engine/FalloffMask.h"

#include <algorithm>
#include <cmath>

FalloffMask::FalloffMask(const gfx::Rect& rect)
    : width_(std::max(rect.width, 0)), height_(std::max(rect.height, 0)),
      values_(size_t(width_) * size_t(height_), 0)
{
    const double half = std::min(width_, height_) * 0.5;
    if (half <= 0) {
        return;
    }
    const double scale = 1.0 / half;
    for (int32_t r = 0; r < height_; ++r) {
        const int32_t dy = r - height_ / 2;
        uint8_t* row = values_.data() + size_t(r) * size_t(width_);
        for (int32_t c = 0; c < width_; ++c) {
            const int32_t dx = c - width_ / 2;
            const int32_t v = int32_t((half - std::sqrt(double(dx * dx + dy * dy))) * scale * 255.0);
            row[c] = v > 0 ? uint8_t(v) : 0;
        }
    }
}
