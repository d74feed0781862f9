#include "tools/BloatPinchEffect.h"

#include "engine/PixelHelpers.h"

#include <algorithm>
#include <cmath>

BloatPinchEffect::BloatPinchEffect(int32_t direction) : direction(direction) {}

float BloatPinchEffect::Amount() const
{
    return direction >= 0 ? float((direction + 30) * 0.01) : float((direction - 30) * 0.01);
}

Patch BloatPinchEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    gfx::Rect r = requested;
    if (!ClipToSurface(r, source)) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    const float amount = Amount();
    const float cx = float(r.width) * 0.5f;
    const float cy = float(r.height) * 0.5f;
    const float inverseRadius = 1.0f / std::min(cx, cy);
    auto result = CreateSurface(r.width, r.height);
    for (int32_t i = 0; i < r.height; ++i) {
        const uint32_t* in = source.Row(r.y + i) + r.x;
        uint32_t* out = result->Row(i);
        const float dy = float(i) - cy;
        for (int32_t j = 0; j < r.width; ++j) {
            const float dx = float(j) - cx;
            const float t = 1.0f - std::sqrt(dx * dx + dy * dy) * inverseRadius;
            if (t <= 0.0f) {
                out[j] = in[j];
                continue;
            }
            const float s = 1.0f - t * t * amount;
            out[j] = SampleBilinearWrapped(source, float(r.x) + s * dx + cx, float(r.y) + s * dy + cy);
        }
    }
    return {r.x, r.y, r.width, r.height, std::move(result)};
}
