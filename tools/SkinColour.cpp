#include "tools/SkinColour.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// ITU-R BT.601 luma, and the chroma plane's angle (hue) and length (saturation).
struct Colour {
    float luma, hue, saturation;
};

Colour Of(float red, float green, float blue)
{
    const float y = 0.299f * red + 0.587f * green + 0.114f * blue;
    const float cb = 0.564f * (blue - y), cr = 0.713f * (red - y);
    return {y, std::atan2(cr, cb) * float(180.0 / std::numbers::pi), std::hypot(cb, cr)};
}

float Median(std::vector<float>& values)
{
    auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

float HueDifference(float a, float b)
{
    const float d = std::abs(a - b);
    return std::min(d, 360.0f - d);
}

// Full weight up to near, none from near + fade on, smooth in between.
float Falloff(float distance, float near, float fade)
{
    const float t = std::clamp((distance - near) / fade, 0.0f, 1.0f);
    return 1.0f - t * t * (3.0f - 2.0f * t);
}

// Full weight inside [low, high], fading over a fifth of each bound outside it.
float Band(float value, float low, float high)
{
    return Falloff(low - value, 0.0f, 0.2f * low + 1.0f) * Falloff(value - high, 0.0f, 0.2f * high + 1.0f);
}

constexpr float kHueFade = 6.0f;
constexpr float kWeightCounted = 0.99f;

} // namespace

SkinColour::SkinColour(float hue, float hueNear, Range saturation, Range luma)
    : hue_(hue), hueNear_(hueNear), saturation_(saturation), luma_(luma)
{
}

SkinColour SkinColour::Generic()
{
    // Skin of any people's in daylight and indoor light: orange hues, neither grey nor
    // as strong as a red fabric.
    return {128.0f, 14.0f, {10.0f, 45.0f}, {40.0f, 245.0f}};
}

SkinColour SkinColour::Measured(const WorkCopy& copy, const Plane& weights)
{
    std::vector<float> lumas, hues, saturations;
    for (size_t i = 0; i < weights.Values().size(); ++i) {
        if (weights.Values()[i] < kWeightCounted) {
            continue;
        }
        const Colour c = Of(copy.Channel(0).Values()[i], copy.Channel(1).Values()[i], copy.Channel(2).Values()[i]);
        lumas.push_back(c.luma);
        hues.push_back(c.hue);
        saturations.push_back(c.saturation);
    }
    if (lumas.size() < size_t(kLeastSamples)) {
        return Generic();
    }
    const float hue = Median(hues);
    std::vector<float> spread;
    for (float h : hues) {
        spread.push_back(HueDifference(h, hue));
    }
    // Most of the face's own skin, shadows and flushed cheeks included, lies within
    // two and a half typical deviations of hue.
    const float near = std::clamp(2.5f * Median(spread), 5.0f, 10.0f);
    const float saturation = Median(saturations), luma = Median(lumas);
    return {hue, near, {0.4f * saturation, 1.8f * saturation}, {0.45f * luma, std::min(1.5f * luma, 250.0f)}};
}

float SkinColour::Weight(float red, float green, float blue) const
{
    const Colour c = Of(red, green, blue);
    return Falloff(HueDifference(c.hue, hue_), hueNear_, kHueFade) *
           Band(c.saturation, saturation_.low, saturation_.high) * Band(c.luma, luma_.low, luma_.high);
}
