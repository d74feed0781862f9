#include "engine/MaskedEffect.h"

#include "engine/FalloffMask.h"

#include <utility>

namespace {

constexpr double InverseOf255 = 1.0 / 255.0;

// alpha = trunc(alpha * m / 255), colours unchanged.
void ScaleAlphaRow(uint32_t* pixels, const uint8_t* mask, int32_t count)
{
    for (int32_t j = 0; j < count; ++j) {
        const uint32_t alpha = pixels[j] >> 24;
        const uint32_t scaled = uint32_t(double(alpha) * double(mask[j]) * InverseOf255);
        pixels[j] = (pixels[j] & 0x00FFFFFFu) | (scaled << 24);
    }
}

void ClearAlphaRow(uint32_t* pixels, int32_t count)
{
    for (int32_t j = 0; j < count; ++j) {
        pixels[j] &= 0x00FFFFFFu;
    }
}

} // namespace

MaskedEffect::MaskedEffect(std::shared_ptr<Effect> inner) : inner_(std::move(inner)) {}

Patch MaskedEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    Patch patch = inner_->Apply(source, requested);
    if (!patch.HasSurface()) {
        return patch;
    }
    Surface& pixels = *patch.surface;
    const FalloffMask mask(requested);
    // The mask lies over the picture where the rectangle was requested. Parts of the
    // patch outside it (an inner effect may return a clipped or a larger area) get
    // weight 0 and so change nothing.
    const gfx::Rect maskArea{requested.x, requested.y, mask.Width(), mask.Height()};
    const gfx::Rect patchArea{patch.x, patch.y, pixels.width, pixels.height};
    const gfx::Rect covered = patchArea.Intersected(maskArea);
    for (int32_t i = 0; i < pixels.height; ++i) {
        uint32_t* row = pixels.Row(i);
        const int32_t y = patch.y + i;
        if (covered.IsEmpty() || y < covered.y || y >= covered.Bottom()) {
            ClearAlphaRow(row, pixels.width);
            continue;
        }
        const int32_t start = covered.x - patch.x;
        const int32_t end = covered.Right() - patch.x;
        ClearAlphaRow(row, start);
        ScaleAlphaRow(row + start, mask.Row(y - requested.y) + (covered.x - requested.x), end - start);
        ClearAlphaRow(row + end, pixels.width - end);
    }
    return patch;
}
