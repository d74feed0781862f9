#pragma once

#include "tools/HealDisc.h"
#include "tools/PremultipliedArea.h"

#include <optional>
#include <vector>

// Finds how much of the brush a heal should take: the spot the user clicked on and its
// soft edge, not the healthy skin, brow or hair round it, which is the picture's own and
// better kept than replaced.
//
// Round a centre, a spot is a disc whose outline is dark inside: for growing radii the
// pixels just inside the radius are compared with a ring two pixels wide just outside
// it, in each of eight directions, and the middle of the eight differences is how much
// the disc stands out, so that a brow, a fringe or a shadow reaching into a few
// directions does not count. The spot ends at the first radius where that peaks above
// what skin texture gives, so a feature further out never makes it larger; its soft edge
// reaches as far as the outline stays well marked.
//
// A click is never exactly on a spot's centre, so every centre near the click is tried,
// each judged at its own first peak, and only spots the click lies on (their soft edge
// included) count. Of those the smallest wins, the one standing out most, a little less
// for each pixel its centre lies from the click, among spots of that size: a spot inside
// a larger dark area (a shadow, an eye, the hair) is what the user pointed at. A spot a
// little larger round the one chosen that stands out clearly more is the whole of it,
// the smaller being its part seen from off its centre. Spots that
// stand out clearly come before faint ones; where none stands out, the whole brush disc
// is healed. The work follows the brush's size, not the picture's.
class SpotFinder {
public:
    // pixels holds the picture over an area whose top-left pixel is origin and covers
    // AreaRead(brushDisc), as far as the picture goes.
    SpotFinder(const PremultipliedArea& pixels, gfx::Point origin);

    // The part of the picture a search round the brush disc's centre reads.
    static gfx::Rect AreaRead(const HealDisc& brushDisc);

    // The disc to heal for a click at the centre of the brush's disc: the spot and a
    // pixel round it, cut to limits (the brush's square in the picture), or the brush's
    // disc itself.
    HealDisc SpotIn(const HealDisc& brushDisc, const gfx::Rect& limits) const;

private:
    class DistanceOrder;
    struct Spot {
        gfx::Point centre;
        int32_t radius = 0;    // where the outline stands out most
        int32_t extent = 0;    // where the outline is still well marked: the soft edge
        float darkness = 0;    // how much darker inside than outside, in levels of 255
        float distance = 0;    // of its centre from the click
    };

    // How much the outline stands out at each radius round centre, from 0 (unused) to
    // largestRadius + 1.
    std::vector<float> Outline(gfx::Point centre, int32_t largestRadius, const DistanceOrder& order) const;
    // The spot at the first radius, up to largestRadius, where the outline peaks at
    // least at threshold; none where it never does.
    static std::optional<Spot> FirstPeak(const std::vector<float>& outline, float threshold);
    // The spots round centres up to reach from the click, inside limits, that the click
    // lies on: those standing out clearly and those standing out at all.
    void CollectSpotsRound(gfx::Point click, const gfx::Rect& limits, int32_t reach, int32_t largestRadius,
                           std::vector<Spot>& clear, std::vector<Spot>& faint) const;
    // The spot of a non-empty list the user most likely pointed at.
    static const Spot& Chosen(const std::vector<Spot>& spots);

    const PremultipliedArea& pixels_;
    gfx::Point origin_;
};
