#pragma once

#include "tools/HealDisc.h"
#include "tools/PremultipliedArea.h"

// Finds how much of the brush circle a heal should take: the spot the user clicked on
// and its soft edge, not the healthy skin, brow or hair round it, which is the picture's
// own and better kept than replaced.
//
// The spot is the disc that stands out most from the ring just outside it: the mean of
// a disc and that of a ring two pixels wide round it are compared for growing radii,
// and the spot ends at the first radius where the difference peaks above what skin
// texture gives, so a brow or a fringe further out does not count. The discs are
// centred on the click: a spot well off the centre is diluted in them below notice,
// and then, as where nothing stands out, the whole brush disc is healed.
class SpotFinder {
public:
    // pixels holds the picture over an area whose top-left pixel is origin and covers
    // the brush's disc and two pixels round it, as far as the picture goes.
    SpotFinder(const PremultipliedArea& pixels, gfx::Point origin);

    // The disc to heal, inside the brush's disc.
    HealDisc SpotIn(const HealDisc& brushDisc) const;

private:
    // The radius of the disc round centre that stands out, up to largestRadius; 0 when
    // none does.
    int32_t SpotRadius(gfx::Point centre, int32_t largestRadius) const;

    const PremultipliedArea& pixels_;
    gfx::Point origin_;
};
