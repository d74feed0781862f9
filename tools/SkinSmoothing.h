#pragma once

#include "engine/Surface.h"
#include "gfx/Geometry.h"
#include "tools/Plane.h"
#include "tools/WorkCopy.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Skin smoothing that keeps the skin's texture, for one area of a picture at the scale
// of one face: a frequency separation worked out at a resolution where the face is at
// most kWorkFaceWidth pixels wide.
//   base   = the picture without its detail finer than kFineSigma work pixels (pores,
//            fine hairs), which is never touched;
//   smooth = the base averaged over the skin alone, at a radius that follows the face's
//            size: each average is weighted by the skin mask, so eyes, brows, lips,
//            hair and background never bleed into the skin and no halo forms at the
//            face's outline;
//   change = base - smooth, the spots and blotches of the middle scales; differences
//            too large for a blemish (a nostril's edge, a mole) are let go of smoothly.
// Each picture pixel then loses weight * change, both interpolated bilinearly from the
// work pixels round it. A weighted average keeps the skin's mean, so its colour and
// brightness as a whole stay.
class SkinSmoothing {
public:
    static constexpr float kWorkFaceWidth = 240.0f;
    static constexpr float kFineSigma = 1.0f;
    // The smoothing radius at strength 50, as a share of the face's width; it grows with
    // the strength to 1.5 times this at 100, so stronger smoothing also evens out larger
    // blotches.
    static constexpr float kRadiusShare = 0.06f;
    static constexpr int32_t kFullStrength = 50; // from here on the whole change is taken
    // Differences between base and smooth up to kBlemishLevels are blemishes and taken
    // away; beyond kStructureLevels they are the face's own structure and kept.
    static constexpr float kBlemishLevels = 45.0f;
    static constexpr float kStructureLevels = 80.0f;

    // Picture pixels per work pixel for a face this wide (1 for faces up to
    // kWorkFaceWidth).
    static double FactorFor(float faceWidth);
    // The picture pixels of context a smoothing at any strength needs round the area it
    // changes.
    static int32_t MarginFor(float faceWidth);
    // The context enough where the mask is 0 all round the area (a face's own region):
    // the averages then draw on the area alone, and only the finest blur reaches out.
    static int32_t FineMarginFor(float faceWidth);

    // copy: the picture at FactorFor(faceWidth) round the area, reaching MarginFor beyond
    // it wherever the picture does. strength: 0 (no change) to 100.
    SkinSmoothing(const WorkCopy& copy, const gfx::Rect& area, float faceWidth, int32_t strength);

    // The picture pixels this smoothing may change.
    const gfx::Rect& Area() const { return area_; }
    // The picture round the area without its finest detail: where masks are worked out
    // and skin colours measured.
    const WorkCopy& Base() const { return *base_; }

    // The skin mask on Base()'s grid, 0 to 1: how much of the change each work pixel
    // takes, and how much it counts in the averages. Works out the change.
    void SetMask(const Plane& mask);
    // Picture row y (inside Area()) over Area()'s columns with the masked change, into
    // out; pixels of mask 0 are copied unchanged, and alpha always is.
    void SmoothRow(const Surface& picture, int32_t y, uint32_t* out) const;

private:
    struct Tap {
        int32_t index;
        float fraction;
    };
    Tap ColumnTap(int32_t x) const;
    Tap RowTap(int32_t y) const;

    gfx::Rect area_;
    int32_t strength_;
    int32_t radius_;
    std::optional<WorkCopy> base_;
    Plane mask_;
    std::array<Plane, 3> maskedChange_; // red, green, blue
    std::vector<Tap> columnTaps_;
};
