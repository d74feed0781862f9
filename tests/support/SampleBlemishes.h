#pragma once

#include "engine/Surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

// A dozen made-up blemishes on the skin of the sample portrait (samples/portrait.png,
// 512 x 512, one face about 90 pixels wide): soft dark discs on the forehead and both
// cheeks, far enough apart that a ring round one never touches another. Quality tests
// paint them on a copy of the clean picture and measure how well a tool takes them away.
namespace blemishes {

struct Blemish {
    int32_t x;
    int32_t y;
    int32_t radius;
};

inline constexpr Blemish kOnSamplePortrait[] = {
    // forehead, between the fringe and the brows
    {211, 85, 3}, {226, 84, 4}, {241, 86, 3},
    // the left cheek in the picture
    {191, 112, 4}, {202, 124, 5}, {188, 127, 3}, {195, 138, 3}, {208, 111, 3},
    // the right cheek
    {252, 112, 4}, {249, 128, 6}, {263, 120, 3}, {257, 141, 3},
};

inline constexpr int32_t kDepth = 30; // levels darker at the centre

// How much of the full darkening a pixel at this distance from the centre gets: all of
// it up to a pixel inside the rim, fading to nothing a pixel outside it.
inline double Weight(double distance, int32_t radius)
{
    return std::clamp((radius + 1.0 - distance) / 2.0, 0.0, 1.0);
}

// Darkens the disc of each blemish in place; alpha stays as it was.
inline void Paint(Surface& picture, std::span<const Blemish> spots, int32_t depth = kDepth)
{
    for (const Blemish& b : spots) {
        for (int32_t y = std::max(0, b.y - b.radius - 1); y <= std::min(picture.height - 1, b.y + b.radius + 1); ++y) {
            for (int32_t x = std::max(0, b.x - b.radius - 1); x <= std::min(picture.width - 1, b.x + b.radius + 1);
                 ++x) {
                const int32_t down = int32_t(std::lround(depth * Weight(std::hypot(x - b.x, y - b.y), b.radius)));
                uint32_t& pixel = picture.Row(y)[x];
                uint32_t result = pixel & 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int32_t channel = int32_t((pixel >> shift) & 0xFF);
                    result |= uint32_t(std::max(0, channel - down)) << shift;
                }
                pixel = result;
            }
        }
    }
}

} // namespace blemishes
