#include "tools/PremultipliedArea.h"

#include <algorithm>
#include <cmath>

PremultipliedPixel PremultipliedPixel::FromArgb(uint32_t argb)
{
    const float alpha = float(argb >> 24);
    PremultipliedPixel p;
    for (size_t c = 0; c < 3; ++c) {
        // c * a / 255 is exact for a = 255, so opaque pixels come back unchanged.
        p.channel[c] = float((argb >> (8 * c)) & 0xFF) * alpha / 255.0f;
    }
    p.channel[3] = alpha;
    return p;
}

uint32_t PremultipliedPixel::ToArgb() const
{
    const float alpha = std::clamp(channel[3], 0.0f, 255.0f);
    const uint32_t storedAlpha = uint32_t(std::lround(alpha));
    if (storedAlpha == 0) {
        return 0;
    }
    uint32_t argb = storedAlpha << 24;
    for (size_t c = 0; c < 3; ++c) {
        const float colour = std::clamp(channel[c] * 255.0f / alpha, 0.0f, 255.0f);
        argb |= uint32_t(std::lround(colour)) << (8 * c);
    }
    return argb;
}

PremultipliedArea::PremultipliedArea(int32_t width, int32_t height)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height))
{
}

PremultipliedArea::PremultipliedArea(const Surface& source, const gfx::Rect& area)
    : PremultipliedArea(area.width, area.height)
{
    for (int32_t y = 0; y < height_; ++y) {
        const uint32_t* row = source.Row(area.y + y) + area.x;
        PremultipliedPixel* out = pixels_.data() + Index(0, y);
        for (int32_t x = 0; x < width_; ++x) {
            out[x] = PremultipliedPixel::FromArgb(row[x]);
        }
    }
}

PremultipliedArea PremultipliedArea::Halved() const
{
    PremultipliedArea half((width_ + 1) / 2, (height_ + 1) / 2);
    for (int32_t y = 0; y < half.height_; ++y) {
        const int32_t rows = std::min(2, height_ - 2 * y);
        for (int32_t x = 0; x < half.width_; ++x) {
            const int32_t columns = std::min(2, width_ - 2 * x);
            PremultipliedPixel sum;
            for (int32_t i = 0; i < rows; ++i) {
                for (int32_t j = 0; j < columns; ++j) {
                    sum += At(2 * x + j, 2 * y + i);
                }
            }
            half.pixels_[half.Index(x, y)] = sum * (1.0f / float(rows * columns));
        }
    }
    return half;
}
