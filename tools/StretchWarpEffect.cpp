#include "tools/StretchWarpEffect.h"

#include "engine/PixelHelpers.h"

#include <cmath>

StretchWarpEffect::StretchWarpEffect(int32_t strength) : strength(strength) {}

void StretchWarpEffect::SetTarget(int32_t x, int32_t y)
{
    targetX = x;
    targetY = y;
}

gfx::Rect StretchWarpEffect::AffectedArea(const gfx::Rect& brush)
{
    const int32_t cx = (brush.x + brush.Right()) / 2;
    const int32_t cy = (brush.y + brush.Bottom()) / 2;
    return {cx - int32_t(float(brush.width) * 1.5f), cy - int32_t(float(brush.height) * 1.5f), 3 * brush.width,
            3 * brush.height};
}

// Each pixel (j, i) of the area, counted from its top-left corner, samples the point
// (j * (1 - tx^2 * kx), i * (1 - ty^2 * ky)), where (kx, ky) is the pull from the brush
// centre to the target scaled by strength / 300 and tx, ty fall from 1 at the area's
// centre to 0 at half its width and height. Sample points on or beyond the picture's
// edge give transparent pixels, which leave the picture as it is.
Patch StretchWarpEffect::Apply(const Surface& source, const gfx::Rect& brush)
{
    const bool targetInside = brush.x < targetX && targetX < brush.Right() && brush.y < targetY &&
                              targetY < brush.Bottom();
    if (!targetInside) {
        return {};
    }
    const int32_t cx = (brush.x + brush.Right()) / 2;
    const int32_t cy = (brush.y + brush.Bottom()) / 2;
    gfx::Rect area = AffectedArea(brush);
    if (!ClipToSurface(area, source)) {
        return {};
    }
    const float k = 1.0f / ((100.0f / float(strength)) * 3.0f);
    const float kx = float(targetX - cx) * k;
    const float ky = float(targetY - cy) * k;
    const float halfWidth = float(area.width) * 0.5f;
    const float halfHeight = float(area.height) * 0.5f;
    const float pictureWidth = float(source.width);
    const float pictureHeight = float(source.height);

    auto result = CreateSurface(area.width, area.height);
    for (int32_t i = 0; i < area.height; ++i) {
        const uint32_t* in = source.Row(area.y + i) + area.x;
        uint32_t* out = result->Row(i);
        const float dy = float(i) - halfHeight;
        for (int32_t j = 0; j < area.width; ++j) {
            const float dx = float(j) - halfWidth;
            const float dist = std::sqrt(dx * dx + dy * dy);
            const float tx = 1.0f - dist / halfWidth;
            const float ty = 1.0f - dist / halfHeight;
            if (tx <= 0.0f && ty <= 0.0f) {
                // Unmoved: a bilinear sample at a whole pixel is that pixel, or
                // transparent black where its alpha is 0.
                const uint32_t p = in[j];
                out[j] = area.x + j > 0 && area.y + i > 0 && (p >> 24) != 0 ? p : 0;
                continue;
            }
            float sx = float(j);
            float sy = float(i);
            if (tx > 0.0f) {
                sx = float(j) * (1.0f - tx * tx * kx);
            }
            if (ty > 0.0f) {
                sy = float(i) * (1.0f - ty * ty * ky);
            }
            sx += float(area.x);
            sy += float(area.y);
            const bool inside = sx > 0.0f && sx < pictureWidth && sy > 0.0f && sy < pictureHeight;
            out[j] = inside ? SampleBilinearWrapped(source, sx, sy) : 0;
        }
    }
    return {area.x, area.y, area.width, area.height, std::move(result)};
}
