#include "tools/SpotFinder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr float kClearSpot = 12.0f; // levels of 255 an outline of a clear spot stands out by
constexpr float kFaintSpot = 8.0f;  // and of a faint one; below this, skin texture
constexpr int32_t kRingWidth = 2;
constexpr int32_t kSmallestSpot = 3;   // smaller discs stand out by their noise alone
constexpr int32_t kLeastReach = 4;     // centres tried this far from the click each way, at least
constexpr float kNearness = 2.0f;      // levels a spot counts less per pixel from the click
constexpr float kMarkedOutline = 0.6f; // share of the peak the outline keeps over the soft edge
constexpr int32_t kLargerBy = 2;       // how much larger a spot round a smaller one may be
constexpr float kClearlyMore = 1.1f;   // and how much more it must stand out
constexpr int32_t kSectors = 8;

// The sum and count of some pixels' brightness (the mean of the colour channels).
struct Brightness {
    float sum = 0;
    int32_t count = 0;

    Brightness& operator+=(const Brightness& o)
    {
        sum += o.sum;
        count += o.count;
        return *this;
    }
    float Mean() const { return sum / float(count); }
};

using Sectors = std::array<Brightness, kSectors>;

// A spot larger than this is most of the brush, healed as well with all of it.
int32_t LargestRadiusOf(const HealDisc& brushDisc)
{
    return std::min(brushDisc.radius - 1, std::max(6, brushDisc.radius / 3));
}

// How far from the click centres are tried: a spot of the largest size clicked on its rim.
int32_t ReachOf(const HealDisc& brushDisc) { return std::max(kLeastReach, LargestRadiusOf(brushDisc)); }

// How much darker the pixels just inside radius are than the ring just outside it, in
// the middle of the eight directions.
float OutlineAt(const std::vector<Sectors>& bins, int32_t radius)
{
    // Sectors with no pixels in the picture sort last and are not counted.
    std::array<float, kSectors> darker;
    darker.fill(std::numeric_limits<float>::max());
    size_t seen = 0;
    for (size_t s = 0; s < size_t(kSectors); ++s) {
        const Brightness& inside = bins[size_t(radius - 1)][s];
        Brightness ring;
        for (int32_t b = radius; b < radius + kRingWidth; ++b) {
            ring += bins[size_t(b)][s];
        }
        if (inside.count > 0 && ring.count > 0) {
            darker[seen++] = ring.Mean() - inside.Mean();
        }
    }
    if (seen == 0) {
        return 0;
    }
    std::sort(darker.begin(), darker.end());
    return seen % 2 == 1 ? darker[seen / 2] : (darker[seen / 2 - 1] + darker[seen / 2]) / 2;
}

} // namespace

// The offsets round a centre grouped by whole distance and by direction: bin b holds
// those whose distance d has floor(d) = b, so the disc of radius r is bins 0 .. r - 1,
// as HealDisc counts it; each bin is split into eight sectors of the circle.
class SpotFinder::DistanceOrder {
public:
    explicit DistanceOrder(int32_t bins) : firstOfBin_(size_t(bins) + 1, 0)
    {
        std::vector<std::vector<Offset>> grouped(static_cast<size_t>(bins));
        for (int32_t dy = -bins; dy <= bins; ++dy) {
            for (int32_t dx = -bins; dx <= bins; ++dx) {
                const auto bin = int32_t(std::sqrt(float(dx * dx + dy * dy)));
                if (bin < bins) {
                    grouped[size_t(bin)].push_back({dx, dy, SectorOf(dx, dy)});
                }
            }
        }
        for (size_t b = 0; b < grouped.size(); ++b) {
            offsets_.insert(offsets_.end(), grouped[b].begin(), grouped[b].end());
            firstOfBin_[b + 1] = offsets_.size();
        }
    }

    int32_t Bins() const { return int32_t(firstOfBin_.size()) - 1; }

    // The pixels of one bin round centre, sector by sector, as far as they lie in the area.
    Sectors Sum(const PremultipliedArea& pixels, gfx::Point centre, int32_t bin) const
    {
        Sectors sums{};
        for (size_t i = firstOfBin_[size_t(bin)]; i < firstOfBin_[size_t(bin) + 1]; ++i) {
            const Offset& o = offsets_[i];
            const int32_t x = centre.x + o.dx, y = centre.y + o.dy;
            if (pixels.Contains(x, y)) {
                const PremultipliedPixel& p = pixels.At(x, y);
                sums[size_t(o.sector)] += {(p.channel[0] + p.channel[1] + p.channel[2]) / 3, 1};
            }
        }
        return sums;
    }

private:
    struct Offset {
        int32_t dx;
        int32_t dy;
        int32_t sector;
    };

    // Eighths of the circle counted from the right through the top, each a half-open
    // range of angles.
    static int32_t SectorOf(int32_t dx, int32_t dy)
    {
        const bool lowerHalf = dy > 0 || (dy == 0 && dx < 0);
        if (lowerHalf) {
            dx = -dx;
            dy = -dy;
        }
        const int32_t up = -dy;
        const int32_t inHalf = dx > 0 ? (up < dx ? 0 : 1) : (up > -dx ? 2 : 3);
        return (lowerHalf ? 4 : 0) + inHalf;
    }

    std::vector<Offset> offsets_;
    std::vector<size_t> firstOfBin_;
};

SpotFinder::SpotFinder(const PremultipliedArea& pixels, gfx::Point origin) : pixels_(pixels), origin_(origin) {}

gfx::Rect SpotFinder::AreaRead(const HealDisc& brushDisc)
{
    const int32_t margin = ReachOf(brushDisc) + LargestRadiusOf(brushDisc) + 1 + kRingWidth;
    return {brushDisc.centre.x - margin, brushDisc.centre.y - margin, 2 * margin + 1, 2 * margin + 1};
}

std::vector<float> SpotFinder::Outline(gfx::Point centre, int32_t largestRadius, const DistanceOrder& order) const
{
    const gfx::Point inArea{centre.x - origin_.x, centre.y - origin_.y};
    std::vector<Sectors> bins;
    for (int32_t b = 0; b < order.Bins(); ++b) {
        bins.push_back(order.Sum(pixels_, inArea, b));
    }
    std::vector<float> outline(size_t(largestRadius) + 2, 0.0f);
    for (int32_t r = 1; r <= largestRadius + 1; ++r) {
        outline[size_t(r)] = OutlineAt(bins, r);
    }
    return outline;
}

std::optional<SpotFinder::Spot> SpotFinder::FirstPeak(const std::vector<float>& outline, float threshold)
{
    const auto largestRadius = int32_t(outline.size()) - 2;
    for (int32_t r = kSmallestSpot; r <= largestRadius; ++r) {
        const float here = outline[size_t(r)];
        if (here >= threshold && here >= outline[size_t(r + 1)]) {
            int32_t extent = r;
            while (extent < largestRadius && outline[size_t(extent + 1)] >= kMarkedOutline * here) {
                ++extent;
            }
            Spot spot;
            spot.radius = r;
            spot.extent = extent;
            spot.darkness = here;
            return spot;
        }
    }
    return std::nullopt;
}

void SpotFinder::CollectSpotsRound(gfx::Point click, const gfx::Rect& limits, int32_t reach, int32_t largestRadius,
                                   std::vector<Spot>& clear, std::vector<Spot>& faint) const
{
    const DistanceOrder order(largestRadius + 1 + kRingWidth);
    for (int32_t dy = -reach; dy <= reach; ++dy) {
        for (int32_t dx = -reach; dx <= reach; ++dx) {
            const gfx::Point centre{click.x + dx, click.y + dy};
            if (!limits.Contains(centre.x, centre.y)) {
                continue;
            }
            const std::vector<float> outline = Outline(centre, largestRadius, order);
            const float distance = std::sqrt(float(dx * dx + dy * dy));
            // The click must lie on the spot or its soft edge, a pixel beyond its radius.
            const auto keep = [&](std::optional<Spot> spot, std::vector<Spot>& into) {
                if (spot && float(spot->radius + 1) >= distance) {
                    spot->centre = centre;
                    spot->distance = distance;
                    into.push_back(*spot);
                }
            };
            keep(FirstPeak(outline, kClearSpot), clear);
            keep(FirstPeak(outline, kFaintSpot), faint);
        }
    }
}

const SpotFinder::Spot& SpotFinder::Chosen(const std::vector<Spot>& spots)
{
    const int32_t smallest =
        std::min_element(spots.begin(), spots.end(), [](const Spot& a, const Spot& b) { return a.extent < b.extent; })
            ->extent;
    const auto score = [](const Spot& s) { return s.darkness - kNearness * s.distance; };
    const Spot* best = nullptr;
    for (const Spot& spot : spots) {
        if (spot.extent == smallest && (!best || score(spot) > score(*best))) {
            best = &spot;
        }
    }
    // A small spot may be the part of a larger one the click lies on, seen off its
    // centre: a spot round it, a little larger, that stands out clearly more is taken.
    const Spot* whole = best;
    for (const Spot& spot : spots) {
        const float apart = std::hypot(float(spot.centre.x - best->centre.x), float(spot.centre.y - best->centre.y));
        const bool around = spot.extent > best->extent && spot.extent <= best->extent + kLargerBy &&
                            apart + float(best->extent) <= float(spot.extent + 1);
        if (around && spot.darkness > kClearlyMore * best->darkness && spot.darkness > whole->darkness) {
            whole = &spot;
        }
    }
    return *whole;
}

HealDisc SpotFinder::SpotIn(const HealDisc& brushDisc, const gfx::Rect& limits) const
{
    const int32_t largestRadius = LargestRadiusOf(brushDisc);
    if (largestRadius < kSmallestSpot) {
        return brushDisc;
    }
    std::vector<Spot> clear, faint;
    CollectSpotsRound(brushDisc.centre, limits, ReachOf(brushDisc), largestRadius, clear, faint);
    const std::vector<Spot>& spots = clear.empty() ? faint : clear;
    if (spots.empty()) {
        return brushDisc; // nothing stands out
    }
    const Spot& spot = Chosen(spots);
    // One pixel beyond the soft edge, so the heal meets clean skin.
    return HealDisc::Around(spot.centre, spot.extent + 1, limits);
}
