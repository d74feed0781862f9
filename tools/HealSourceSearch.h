#pragma once

#include "tools/HealDisc.h"
#include "tools/PremultipliedArea.h"

#include <optional>
#include <vector>

class SourceFeatures;

// Finds where a heal takes its texture from: the place near the disc whose ring of
// pixels just outside a disc of the same size best matches the ring round the disc
// itself, so that what lies inside fits in. A ring score is the mean squared difference
// of the two rings with part of their mean difference forgiven (the blend evens out a
// difference of tone, not one of texture). A source holding a feature anywhere (a patch
// of an eye, a brow, a border of hair or a lip line, whose edges are far stronger than
// skin's) is never taken; where no plain source lies within reach, there is no source
// and the disc is filled from its surroundings alone. Among plain sources one whose
// inside holds more edges than a few times the smoothest pays for the surplus, and one
// whose middle departs from its surroundings (a spot, a freckle) for the difference.
//
// The search is coarse to fine: every place within reach is scored on a copy of the
// area halved until the reach is two dozen pixels (where the ring stands for the disc's
// wider surroundings), and only the best few places are followed down, each level
// looking one pixel round each place found on the level above. The work so follows the
// brush, whatever the picture's size.
class HealSourceSearch {
public:
    // pixels holds the picture over an area whose top-left pixel is origin; it must cover
    // the disc, the reach and the ring round every place within reach, as far as the
    // picture goes.
    HealSourceSearch(const PremultipliedArea& pixels, gfx::Point origin, const gfx::Rect& picture);

    // The offset from the disc to the best source, or none when no place within reach
    // (reach pixels each way) holds a whole, plain source apart from the disc itself.
    std::optional<gfx::Point> BestOffset(const HealDisc& disc, int32_t reach, int32_t ringWidth) const;

private:
    struct Level;
    struct Ring;
    struct Candidate;
    // What every candidate of one search is scored against. Features are read on one
    // level for all, where the disc is centred at featureCentre with featureRadius.
    struct Scoring {
        const HealDisc& disc;
        int32_t reach;
        const PremultipliedArea& featureLevel;
        const SourceFeatures& features;
        int32_t featureScale;
        gfx::Point featureCentre;
        int32_t featureRadius;
        std::vector<float> strongestEdges; // round every place of the feature level
        float edgeAllowance = 0;

        // Where a place of the picture, given as an offset from the disc, lies on the
        // level the features are read on.
        gfx::Point FeaturePlaceOf(gfx::Point inPicture) const;
        // Whether a source there is free of features.
        bool IsPlain(gfx::Point featurePlace) const;
    };

    // The candidates at the offsets that are whole, plain sources, scored; anyWhole tells
    // whether any offset was a whole source at all.
    std::vector<Candidate> ScoreAll(const Level& level, const Ring& ring, const std::vector<gfx::Point>& offsets,
                                    const Scoring& scoring, bool& anyWhole) const;
    static std::optional<float> RingScore(const Level& level, const Ring& ring, gfx::Point at);
    std::optional<float> EdgeAllowance(const Scoring& scoring) const;
    bool IsWholeSource(const HealDisc& disc, gfx::Point offset, int32_t reach) const;

    const PremultipliedArea& pixels_;
    gfx::Point origin_;
    gfx::Rect picture_;
};
