#pragma once

#include "engine/Effect.h"

#include <cstdint>
#include <memory>

// Brightness and contrast on each pixel's luma, with every colour channel moved by the
// same amount as the luma so that the hue stays. A 256 x 256 table indexed by
// (luma, channel) is built on first use and rebuilt only when the parameters change.
class LumaCurveEffect : public Effect {
public:
    // contrast is kept within -100 .. 100; 100 turns the curve into a threshold.
    LumaCurveEffect(int32_t brightness, int32_t contrast);

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

private:
    void UpdateTable();
    void BuildTable();
    bool IsThreshold() const { return denominator == 0; }

    int32_t brightness;
    int32_t contrast;
    int32_t cachedBrightness = -1000;
    int32_t cachedContrast = -1000;
    int32_t numerator = 1;
    int32_t denominator = 1;
    std::unique_ptr<uint8_t[]> table;
};
