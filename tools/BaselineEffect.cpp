#include "tools/BaselineEffect.h"

#include "engine/PixelHelpers.h"

#include <algorithm>

Patch BaselineEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    gfx::Rect r = requested;
    if (!baseline_ || baseline_->width != source.width || baseline_->height != source.height ||
        !ClipToSurface(r, source)) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    bool differs = false;
    for (int32_t y = r.y; y < r.Bottom() && !differs; ++y) {
        differs = !std::equal(source.Row(y) + r.x, source.Row(y) + r.Right(), baseline_->Row(y) + r.x);
    }
    if (!differs) {
        return {r.x, r.y, r.width, r.height, nullptr}; // nothing to bring back: no undo step
    }
    auto pixels = CreateSurface(r.width, r.height);
    CopyRegion(*baseline_, r.x, r.y, *pixels);
    return {r.x, r.y, r.width, r.height, std::move(pixels)};
}
