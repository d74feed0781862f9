#pragma once

#include "tools/Plane.h"
#include "tools/WorkCopy.h"

// The colour of one face's skin, and how near to it a colour is. Colours are compared
// by hue, which neither a shadow nor a darker blemish moves, within broad bands of
// saturation and brightness round the skin's: grey walls, red lips, blue eyes, the
// yellower brown of hair and most backgrounds lie outside.
class SkinColour {
public:
    // The colours skin takes in photos in general, for where no face is known.
    static SkinColour Generic();
    // The median colour of the copy where the weights are (almost) 1; Generic() when
    // fewer than kLeastSamples pixels are.
    static SkinColour Measured(const WorkCopy& copy, const Plane& weights);

    // 1 for colours near the skin's, falling smoothly to 0 for colours far from it.
    float Weight(float red, float green, float blue) const;

    float Hue() const { return hue_; }

    static constexpr int32_t kLeastSamples = 50;

private:
    // A value between low and high has full weight; the weight fades over a fifth of
    // each bound beyond it.
    struct Range {
        float low, high;
    };
    SkinColour(float hue, float hueNear, Range saturation, Range luma);

    float hue_;     // degrees of the (Cb, Cr) plane
    float hueNear_; // hue difference with full weight
    Range saturation_; // the chroma's length
    Range luma_;
};
