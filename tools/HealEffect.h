#pragma once

#include "engine/Effect.h"
#include "tools/HealDisc.h"

// Heals the spot under the brush with skin from nearby. The disc to heal is the spot the
// click lies on and its soft edge (SpotFinder; the whole brush disc when nothing stands
// out), so the skin, brow or hair round the spot stays the picture's own. The plain place
// within two diameters of the disc whose surroundings best match the disc's
// (HealSourceSearch) lends its texture, which is blended in so that it meets the disc's
// surroundings without a seam or a step of tone (PoissonBlend). Where no place nearby
// holds a whole source free of features (a picture hardly larger than the brush, a brush
// among eyes and hair), the disc is filled smoothly from its surroundings alone. The work
// follows the brush's size, not the picture's.
//
// The patch covers the disc's bounding box and replaces the picture's pixels there, alpha
// included, so healing a half-transparent area gives the healed pixels rather than the
// healed pixels laid over the old ones. Pixels outside the disc are the picture's own,
// and a pixel that stays invisible keeps its stored colour. A heal that changes no pixel
// returns no surface.
class HealEffect : public Effect {
public:
    // How far from the disc a source may lie, in diameters of the disc healed.
    static constexpr int32_t kReachInDiameters = 2;
    // How far a source for a small spot may lie at least: far enough to find plain skin.
    static constexpr int32_t kLeastReach = 32;
    // A limit for brush squares far larger than any brush, so the search stays bounded.
    static constexpr int32_t kFarthestReach = 400;

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

private:
    // How far from the disc a source may lie: two diameters of the disc healed, and at
    // least a few dozen pixels for a small spot, but no further than two brush diameters.
    static int32_t ReachFor(const HealDisc& disc, int32_t brushRadius);
};
