#pragma once

#include "engine/Surface.h"
#include "gfx/Geometry.h"

#include <array>
#include <cstdint>
#include <vector>

// One pixel as four floats from 0 to 255: blue, green and red premultiplied by alpha,
// then alpha. Sums, differences and means of such pixels are sound also where pixels
// are transparent, which the stored non-premultiplied colours are not.
struct PremultipliedPixel {
    std::array<float, 4> channel{};

    PremultipliedPixel& operator+=(const PremultipliedPixel& other)
    {
        for (size_t c = 0; c < 4; ++c) {
            channel[c] += other.channel[c];
        }
        return *this;
    }
    PremultipliedPixel& operator-=(const PremultipliedPixel& other)
    {
        for (size_t c = 0; c < 4; ++c) {
            channel[c] -= other.channel[c];
        }
        return *this;
    }
    PremultipliedPixel& operator*=(float factor)
    {
        for (float& value : channel) {
            value *= factor;
        }
        return *this;
    }
    friend PremultipliedPixel operator+(PremultipliedPixel a, const PremultipliedPixel& b) { return a += b; }
    friend PremultipliedPixel operator-(PremultipliedPixel a, const PremultipliedPixel& b) { return a -= b; }
    friend PremultipliedPixel operator*(PremultipliedPixel a, float factor) { return a *= factor; }

    float SquaredLength() const
    {
        return channel[0] * channel[0] + channel[1] * channel[1] + channel[2] * channel[2] + channel[3] * channel[3];
    }

    static PremultipliedPixel FromArgb(uint32_t argb);
    // Back to a stored pixel: every channel clamped to 0 .. 255 and rounded; a pixel
    // whose alpha rounds to 0 is transparent black.
    uint32_t ToArgb() const;
};

// An area of a picture held as premultiplied float pixels, and the smaller copies a
// coarse-to-fine search works on.
class PremultipliedArea {
public:
    // The pixels of area, which lies inside the surface.
    PremultipliedArea(const Surface& source, const gfx::Rect& area);

    // Half the size, rounded up: each pixel the mean of the 2 x 2 block it covers (of
    // the block's pixels that exist, at an odd right or bottom edge).
    PremultipliedArea Halved() const;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    const PremultipliedPixel& At(int32_t x, int32_t y) const { return pixels_[Index(x, y)]; }

private:
    PremultipliedArea(int32_t width, int32_t height);
    size_t Index(int32_t x, int32_t y) const { return size_t(y) * size_t(width_) + size_t(x); }

    int32_t width_;
    int32_t height_;
    std::vector<PremultipliedPixel> pixels_;
};
