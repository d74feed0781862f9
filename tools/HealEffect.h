#pragma once

#include "engine/Effect.h"

// Heals the spot under the brush with skin from nearby. The disc to heal is the part of
// the brush circle the spot takes (SpotFinder; the whole circle when nothing stands out),
// so the skin, brow or hair round the spot stays the picture's own. The place within two
// brush diameters whose surroundings best match the disc's (HealSourceSearch) lends its
// texture, which is blended in so that it meets the disc's surroundings without a seam
// or a step of tone (PoissonBlend). Where no place nearby holds a whole source (a
// picture hardly larger than the brush), the disc is filled smoothly from its
// surroundings alone. The work follows the brush's size, not the picture's.
//
// The patch covers the disc's bounding box and replaces the picture's pixels there, alpha
// included, so healing a half-transparent area gives the healed pixels rather than the
// healed pixels laid over the old ones. Pixels outside the disc are the picture's own,
// and a pixel that stays invisible keeps its stored colour. A heal that changes no pixel
// returns no surface.
class HealEffect : public Effect {
public:
    // How far from the disc a source may lie, in brush diameters.
    static constexpr int32_t kReachInDiameters = 2;
    // A limit for brush squares far larger than any brush, so the search stays bounded.
    static constexpr int32_t kFarthestReach = 400;

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;
};
