#include "tools/HealSourceSearch.h"

#include "tools/SourceFeatures.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int32_t kCoarsestReach = 24; // the reach on the level searched in full, in its pixels
constexpr size_t kFollowed = 8;         // places followed from one level to the next finer
constexpr float kForgivenTone = 0.5f;   // share of the rings' mean difference not counted
constexpr float kEdgeAllowance = 2.0f;  // edge energy a source may have, in smoothest places' worth
// Edge energy (on the halved copy) of a small patch of an eye, a brow, a border of hair
// or a lip line; skin, even in shadow, stays well below it.
constexpr float kFeatureEdges = 12000.0f;

int32_t FloorDivide(int32_t value, int32_t divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

int64_t SquaredLength(gfx::Point p) { return int64_t(p.x) * p.x + int64_t(p.y) * p.y; }

} // namespace

// One level of the search: the pixels at 1 / scale of their size.
struct HealSourceSearch::Level {
    const PremultipliedArea& pixels;
    int32_t scale;
};

// The pixels round the disc on one level, as offsets from the disc's centre there.
struct HealSourceSearch::Ring {
    gfx::Point centre;
    std::vector<gfx::Point> offsets;
    std::vector<PremultipliedPixel> target;

    Ring(const Level& level, gfx::Point centreInArea, float innerRadius, float outerRadius)
        : centre{FloorDivide(centreInArea.x, level.scale), FloorDivide(centreInArea.y, level.scale)}
    {
        const int32_t extent = int32_t(std::ceil(outerRadius));
        for (int32_t dy = -extent; dy <= extent; ++dy) {
            for (int32_t dx = -extent; dx <= extent; ++dx) {
                const float distanceSquared = float(dx * dx + dy * dy);
                const int32_t x = centre.x + dx, y = centre.y + dy;
                if (distanceSquared >= innerRadius * innerRadius && distanceSquared < outerRadius * outerRadius &&
                    level.pixels.Contains(x, y)) {
                    offsets.push_back({dx, dy});
                    target.push_back(level.pixels.At(x, y));
                }
            }
        }
    }
};

struct HealSourceSearch::Candidate {
    gfx::Point offset; // on the candidate's level
    float score;
};

HealSourceSearch::HealSourceSearch(const PremultipliedArea& pixels, gfx::Point origin, const gfx::Rect& picture)
    : pixels_(pixels), origin_(origin), picture_(picture)
{
}

bool HealSourceSearch::IsWholeSource(const HealDisc& disc, gfx::Point offset, int32_t reach) const
{
    const int64_t apart = 2 * int64_t(disc.radius); // the source disc must not overlap the disc
    const gfx::Rect moved{disc.bounds.x + offset.x, disc.bounds.y + offset.y, disc.bounds.width, disc.bounds.height};
    return std::abs(offset.x) <= reach && std::abs(offset.y) <= reach && SquaredLength(offset) >= apart * apart &&
           moved.Intersected(picture_) == moved;
}

// The mean squared difference of the two rings with part of their mean difference
// forgiven; none when too little of the source's ring lies in the area to judge by.
std::optional<float> HealSourceSearch::RingScore(const Level& level, const Ring& ring, gfx::Point at)
{
    PremultipliedPixel meanDifference;
    float squares = 0;
    size_t compared = 0;
    for (size_t i = 0; i < ring.offsets.size(); ++i) {
        const int32_t x = at.x + ring.offsets[i].x, y = at.y + ring.offsets[i].y;
        if (!level.pixels.Contains(x, y)) {
            continue;
        }
        const PremultipliedPixel difference = ring.target[i] - level.pixels.At(x, y);
        meanDifference += difference;
        squares += difference.SquaredLength();
        ++compared;
    }
    if (compared == 0 || 2 * compared < ring.offsets.size()) {
        return std::nullopt;
    }
    meanDifference *= 1.0f / float(compared);
    return squares / float(compared) - kForgivenTone * meanDifference.SquaredLength();
}

gfx::Point HealSourceSearch::Scoring::FeaturePlaceOf(gfx::Point inPicture) const
{
    return {featureCentre.x + FloorDivide(inPicture.x, featureScale),
            featureCentre.y + FloorDivide(inPicture.y, featureScale)};
}

bool HealSourceSearch::Scoring::IsPlain(gfx::Point featurePlace) const
{
    if (!featureLevel.Contains(featurePlace.x, featurePlace.y)) {
        return false;
    }
    return strongestEdges[size_t(featurePlace.y) * size_t(featureLevel.Width()) + size_t(featurePlace.x)] <= kFeatureEdges;
}

std::vector<HealSourceSearch::Candidate> HealSourceSearch::ScoreAll(const Level& level, const Ring& ring,
                                                                    const std::vector<gfx::Point>& offsets,
                                                                    const Scoring& scoring, bool& anyWhole) const
{
    std::vector<Candidate> scored;
    anyWhole = false;
    for (const gfx::Point offset : offsets) {
        const gfx::Point inPicture{offset.x * level.scale, offset.y * level.scale};
        if (!IsWholeSource(scoring.disc, inPicture, scoring.reach)) {
            continue;
        }
        anyWhole = true;
        const gfx::Point source = scoring.FeaturePlaceOf(inPicture);
        if (!scoring.IsPlain(source)) {
            continue;
        }
        const std::optional<float> ringScore =
            RingScore(level, ring, {ring.centre.x + offset.x, ring.centre.y + offset.y});
        if (!ringScore) {
            continue;
        }
        const SourceFeatures& features = scoring.features;
        const float edgeSurplus =
            std::max(0.0f, features.EdgeEnergy(source, scoring.featureRadius) - scoring.edgeAllowance);
        scored.push_back({offset, *ringScore + edgeSurplus + features.Blob(source, scoring.featureRadius)});
    }
    return scored;
}

namespace {

// The best candidates, at least two pixels apart from each other on their level.
template <typename Candidate>
std::vector<Candidate> BestApart(std::vector<Candidate> candidates)
{
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.score != b.score) {
            return a.score < b.score;
        }
        const int64_t da = SquaredLength(a.offset), db = SquaredLength(b.offset);
        if (da != db) {
            return da < db; // the nearer of two equal sources
        }
        return a.offset.y != b.offset.y ? a.offset.y < b.offset.y : a.offset.x < b.offset.x;
    });
    std::vector<Candidate> kept;
    for (const Candidate& c : candidates) {
        const bool apart = std::all_of(kept.begin(), kept.end(), [&c](const Candidate& k) {
            return std::max(std::abs(k.offset.x - c.offset.x), std::abs(k.offset.y - c.offset.y)) >= 2;
        });
        if (apart) {
            kept.push_back(c);
            if (kept.size() == kFollowed) {
                break;
            }
        }
    }
    return kept;
}

std::vector<gfx::Point> AllWithin(int32_t reach)
{
    std::vector<gfx::Point> offsets;
    for (int32_t dy = -reach; dy <= reach; ++dy) {
        for (int32_t dx = -reach; dx <= reach; ++dx) {
            offsets.push_back({dx, dy});
        }
    }
    return offsets;
}

// The places on the next finer level round each candidate, each place once.
template <typename Candidate>
std::vector<gfx::Point> AroundEach(const std::vector<Candidate>& candidates)
{
    std::vector<gfx::Point> offsets;
    for (const Candidate& c : candidates) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx) {
                offsets.push_back({2 * c.offset.x + dx, 2 * c.offset.y + dy});
            }
        }
    }
    std::sort(offsets.begin(), offsets.end(), [](gfx::Point a, gfx::Point b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    return offsets;
}

} // namespace

// The edge energy of the smoothest plain source within reach: a source may hold a few
// times as much before it pays for it, so where the skin nearby is all busy (in shadow,
// by a brow) the busy places still compete on their rings. None when no whole source
// within reach is plain.
std::optional<float> HealSourceSearch::EdgeAllowance(const Scoring& scoring) const
{
    const int32_t scale = scoring.featureScale;
    std::optional<float> smoothest;
    for (const gfx::Point offset : AllWithin(scoring.reach / scale)) {
        if (IsWholeSource(scoring.disc, {offset.x * scale, offset.y * scale}, scoring.reach)) {
            const gfx::Point source{scoring.featureCentre.x + offset.x, scoring.featureCentre.y + offset.y};
            if (scoring.IsPlain(source)) {
                const float energy = scoring.features.EdgeEnergy(source, scoring.featureRadius);
                smoothest = std::min(smoothest.value_or(energy), energy);
            }
        }
    }
    if (!smoothest) {
        return std::nullopt;
    }
    return kEdgeAllowance * *smoothest;
}

std::optional<gfx::Point> HealSourceSearch::BestOffset(const HealDisc& disc, int32_t reach, int32_t ringWidth) const
{
    if (disc.IsEmpty()) {
        return std::nullopt;
    }
    // Halved copies until every place within reach can be scored: on the coarser levels
    // the ring stands for the disc's wider surroundings.
    std::vector<std::unique_ptr<PremultipliedArea>> halves;
    std::vector<Level> levels{{pixels_, 1}};
    for (int32_t scale = 2; reach / (scale / 2) > kCoarsestReach; scale *= 2) {
        halves.push_back(std::make_unique<PremultipliedArea>(levels.back().pixels.Halved()));
        levels.push_back({*halves.back(), scale});
    }
    const gfx::Point centreInArea{disc.centre.x - origin_.x, disc.centre.y - origin_.y};
    // Features are judged on the first halved copy, where there is one.
    const Level& featureLevel = levels[std::min<size_t>(1, levels.size() - 1)];
    const SourceFeatures features(featureLevel.pixels);
    const int32_t featureScale = featureLevel.scale;
    const int32_t featureRadius = std::max(1, int32_t(std::ceil(float(disc.radius) / float(featureScale))));
    Scoring scoring{disc,
                    reach,
                    featureLevel.pixels,
                    features,
                    featureScale,
                    {FloorDivide(centreInArea.x, featureScale), FloorDivide(centreInArea.y, featureScale)},
                    featureRadius,
                    features.StrongestEdgesEverywhere(featureRadius)};
    const std::optional<float> allowance = EdgeAllowance(scoring);
    if (!allowance) {
        return std::nullopt; // no plain skin within reach: the disc is filled from its surroundings alone
    }
    scoring.edgeAllowance = *allowance;

    std::vector<Candidate> followed;
    for (size_t l = levels.size(); l-- > 0;) {
        const Level& level = levels[l];
        const float inner = std::max(float(disc.radius) / float(level.scale), 0.5f);
        const float outer = std::max(inner + 1.5f, float(disc.radius + ringWidth) / float(level.scale));
        const Ring ring(level, centreInArea, inner, outer);
        // A level where no source fits (a picture hardly larger than the disc) leaves the
        // next finer one to look everywhere within reach; one where every source that
        // fits holds a feature ends the search.
        const std::vector<gfx::Point> offsets =
            followed.empty() ? AllWithin(reach / level.scale) : AroundEach(followed);
        bool anyWhole = false;
        followed = ring.offsets.empty() ? std::vector<Candidate>{}
                                        : BestApart(ScoreAll(level, ring, offsets, scoring, anyWhole));
        if (followed.empty() && anyWhole) {
            return std::nullopt;
        }
    }
    if (followed.empty()) {
        return std::nullopt;
    }
    return followed.front().offset;
}
