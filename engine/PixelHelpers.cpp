#include "engine/PixelHelpers.h"

#include <algorithm>
#include <cmath>

bool IntersectRects(const gfx::Rect& a, const gfx::Rect& b, gfx::Rect& out)
{
    out.x = std::max(a.x, b.x);
    out.y = std::max(a.y, b.y);
    out.width = std::min(a.x + a.width, b.x + b.width) - out.x;
    out.height = std::min(a.y + a.height, b.y + b.height) - out.y;
    return out.width > 0 && out.height > 0;
}

bool ClipToSurface(gfx::Rect& rect, const Surface& surface)
{
    const gfx::Rect whole = surface.Bounds();
    const gfx::Rect original = rect;
    return IntersectRects(original, whole, rect);
}

namespace {

// Wraps a cell index onto [0, size): the remainder keeps the sign of the dividend,
// so negative indices are shifted as (i + 1) % size + size - 1.
int32_t WrapIndex(int32_t i, int32_t size)
{
    if (i < 0) {
        return (i + 1) % size + size - 1;
    }
    if (i > size - 1) {
        return i % size;
    }
    return i;
}

// Four opaque neighbours: every alpha weight is 255, so the alpha-weighted mean
// (sum C*w*255) / (65536*255) is exactly (sum C*w) >> 16, and alpha stays 255.
uint32_t SampleOpaque(const uint32_t (&p)[4], uint32_t fx, uint32_t fy)
{
    const uint32_t w[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
    auto channel = [&](int shift) {
        uint32_t sum = 0;
        for (int i = 0; i < 4; ++i) {
            sum += ((p[i] >> shift) & 0xFF) * w[i];
        }
        return sum >> 16;
    };
    return channel(0) | channel(8) << 8 | channel(16) << 16 | 0xFF000000u;
}

} // namespace

uint32_t SampleBilinearWrapped(const Surface& s, float x, float y)
{
    const float floorX = std::floor(x), floorY = std::floor(y);
    int32_t cx = int32_t(floorX), cy = int32_t(floorY);
    const uint32_t fx = uint32_t((x - floorX) * 256.0f);
    const uint32_t fy = uint32_t((y - floorY) * 256.0f);

    cx = WrapIndex(cx, s.width);
    cy = WrapIndex(cy, s.height);
    const int32_t nx = cx + 1 == s.width ? 0 : cx + 1;
    const int32_t ny = cy + 1 == s.height ? 0 : cy + 1;

    const uint32_t p[4] = {s.At(cx, cy), s.At(nx, cy), s.At(cx, ny), s.At(nx, ny)};
    if (((p[0] & p[1] & p[2] & p[3]) >> 24) == 0xFF) {
        return SampleOpaque(p, fx, fy);
    }
    // 32 bits suffice: the weights add up to 65536, so total <= 65536 * 255 and each
    // channel sum <= 255 * total < 2^32 (and 32-bit division is much the cheaper).
    const uint32_t w[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
    uint32_t weighted[4];
    uint32_t total = 0;
    for (int i = 0; i < 4; ++i) {
        weighted[i] = w[i] * (p[i] >> 24);
        total += weighted[i];
    }
    const uint32_t alpha = (total + 0x8000) >> 16;
    if (alpha == 0) {
        return 0;
    }
    auto channel = [&](int shift) {
        uint32_t sum = 0;
        for (int i = 0; i < 4; ++i) {
            sum += ((p[i] >> shift) & 0xFF) * weighted[i];
        }
        return sum / total;
    };
    return channel(0) | channel(8) << 8 | channel(16) << 16 | alpha << 24;
}
