#pragma once

#include "tools/HealDisc.h"
#include "tools/PremultipliedArea.h"

#include <optional>
#include <vector>

// Fills a heal disc with a source's texture in the tone of the disc's surroundings:
// the fill is source + h, where h is the smooth (harmonic) function equal to
// target - source on the pixels that border the disc. The fill therefore meets the
// surroundings without a seam or a step of tone and keeps the source's fine detail
// (a Poisson blend). Where the disc reaches the picture's edge nothing is fixed and
// the fill runs on to the edge freely.
//
// h is found by successive over-relaxation.
class PoissonBlend {
public:
    // pixels holds the picture over an area whose top-left pixel is origin; it must
    // cover the disc, the pixels bordering it and the source, as far as the picture goes.
    PoissonBlend(const PremultipliedArea& pixels, gfx::Point origin, const gfx::Rect& picture);

    // The filled pixels over the disc's bounds, row by row (pixels there outside the
    // disc hold nothing meaningful). Without a source offset the fill is the smooth
    // surface through the surroundings alone. Empty when no pixel of the picture
    // borders the disc, so there is nothing to fill from.
    std::vector<PremultipliedPixel> Fill(const HealDisc& disc, std::optional<gfx::Point> sourceOffset) const;

private:
    PremultipliedPixel Pixel(gfx::Point inPicture) const;
    PremultipliedPixel SourcePixel(gfx::Point inPicture, std::optional<gfx::Point> sourceOffset) const;

    const PremultipliedArea& pixels_;
    gfx::Point origin_;
    gfx::Rect picture_;
};
