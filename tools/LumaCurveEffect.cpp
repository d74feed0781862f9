#include "tools/LumaCurveEffect.h"

#include "engine/PixelHelpers.h"

#include <algorithm>

namespace {

constexpr size_t TableSize = 256 * 256;

// BT.601 luma in 16-bit fixed point; the weights sum to 65536, so white stays 255.
uint32_t LumaOf(uint32_t pixel)
{
    const uint32_t b = pixel & 0xFF, g = (pixel >> 8) & 0xFF, r = (pixel >> 16) & 0xFF;
    return (r * 0x4C8B + g * 0x9646 + b * 0x1D2F) >> 16;
}

} // namespace

LumaCurveEffect::LumaCurveEffect(int32_t brightness, int32_t contrast)
    : brightness(brightness), contrast(std::clamp(contrast, -100, 100))
{
}

void LumaCurveEffect::UpdateTable()
{
    if (table && cachedBrightness == brightness && cachedContrast == contrast) {
        return;
    }
    BuildTable();
    cachedBrightness = brightness;
    cachedContrast = contrast;
}

void LumaCurveEffect::BuildTable()
{
    if (contrast < 0) {
        numerator = contrast + 100;
        denominator = 100;
    } else if (contrast == 0) {
        numerator = denominator = 1;
    } else {
        numerator = 100;
        denominator = 100 - contrast;
    }
    if (!table) {
        table = std::make_unique<uint8_t[]>(TableSize);
    }
    if (IsThreshold()) {
        for (int32_t i = 0; i < 256; ++i) {
            table[size_t(i)] = i + brightness >= 128 ? 255 : 0;
        }
        return;
    }
    for (int32_t luma = 0; luma < 256; ++luma) {
        // Lowering the contrast scales about 127 first and then shifts; raising it
        // shifts first, so that both keep mid-grey near mid-grey.
        const int32_t newLuma = denominator == 100
                                    ? (luma - 127) * numerator / denominator + brightness + 127
                                    : (brightness + luma - 127) * numerator / denominator + 127;
        uint8_t* row = table.get() + size_t(luma) * 256;
        for (int32_t v = 0; v < 256; ++v) {
            row[v] = uint8_t(std::clamp(v + newLuma - luma, 0, 255));
        }
    }
}

Patch LumaCurveEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    gfx::Rect r = requested;
    if (!ClipToSurface(r, source)) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    UpdateTable();
    auto result = CreateSurface(r.width, r.height);
    const uint8_t* curve = table.get();
    const bool threshold = IsThreshold();
    for (int32_t i = 0; i < r.height; ++i) {
        const uint32_t* in = source.Row(r.y + i) + r.x;
        uint32_t* out = result->Row(i);
        for (int32_t j = 0; j < r.width; ++j) {
            const uint32_t p = in[j];
            const uint32_t luma = LumaOf(p);
            const uint32_t alpha = p & 0xFF000000u;
            if (threshold) {
                const uint32_t v = curve[luma];
                out[j] = alpha | v << 16 | v << 8 | v;
                continue;
            }
            const uint8_t* row = curve + size_t(luma) * 256;
            out[j] = alpha | uint32_t(row[(p >> 16) & 0xFF]) << 16 | uint32_t(row[(p >> 8) & 0xFF]) << 8 |
                     row[p & 0xFF];
        }
    }
    return {r.x, r.y, r.width, r.height, std::move(result)};
}
