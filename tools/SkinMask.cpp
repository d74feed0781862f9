#include "tools/SkinMask.h"

#include "tools/PlaneFilters.h"
#include "tools/PolygonCoverage.h"

#include <algorithm>
#include <cmath>

namespace {

// A polygon in picture coordinates (pixel x's centre at x) in the copy's grid, where
// work pixel i spans [i, i + 1).
Polygon OnGrid(const Polygon& polygon, const WorkCopy& copy)
{
    Polygon onGrid;
    for (const gfx::PointF& p : polygon) {
        onGrid.push_back({float(copy.ColumnOf(p.x) + 0.5), float(copy.RowOf(p.y) + 0.5)});
    }
    return onGrid;
}

// Takes away the holes' coverage.
void CutHoles(Plane& inside, const std::vector<Polygon>& holes, const WorkCopy& copy)
{
    for (const Polygon& hole : holes) {
        const Plane covered = PolygonCoverage(OnGrid(hole, copy), copy.Width(), copy.Height());
        for (size_t i = 0; i < inside.Values().size(); ++i) {
            inside.Values()[i] *= 1.0f - covered.Values()[i];
        }
    }
}

// Blurring a sharp edge puts 0.5 on it; stretching [0.5, 1] to [0, 1] keeps every
// pixel on the outer side of the edge at exactly 0 and ramps up inside.
Plane FeatheredInwards(const Plane& sharp, float feather, double factor)
{
    const int32_t radius = std::max(1, int32_t(std::lround(feather / factor / 2)));
    Plane soft = BoxMean(BoxMean(sharp, radius), radius);
    for (float& v : soft.Values()) {
        v = std::clamp(2.0f * v - 1.0f, 0.0f, 1.0f);
    }
    return soft;
}

} // namespace

namespace skinmask {

constexpr int32_t kNeighbourhood = 2;
constexpr float kLeastWeight = 0.05f;

Plane Shape(const SkinRegion& region, const WorkCopy& copy)
{
    Plane inside = PolygonCoverage(OnGrid(region.Outline(), copy), copy.Width(), copy.Height());
    CutHoles(inside, region.Holes(), copy);
    return FeatheredInwards(inside, region.Feather(), copy.Factor());
}

Plane OutsideHoles(const std::vector<SkinRegion>& regions, const WorkCopy& copy)
{
    Plane outside(copy.Width(), copy.Height(), 1.0f);
    if (regions.empty()) {
        return outside;
    }
    float feather = 0;
    for (const SkinRegion& region : regions) {
        CutHoles(outside, region.Holes(), copy);
        feather = std::max(feather, region.Feather());
    }
    return FeatheredInwards(outside, feather, copy.Factor());
}

Plane ColourWeights(const SkinColour& colour, const WorkCopy& copy)
{
    Plane weights(copy.Width(), copy.Height());
    for (size_t i = 0; i < weights.Values().size(); ++i) {
        weights.Values()[i] = colour.Weight(copy.Channel(0).Values()[i], copy.Channel(1).Values()[i],
                                            copy.Channel(2).Values()[i]);
    }
    // Where two colours that are no skin meet (light grey on dark red), their blurred
    // mixture can look like skin: a pixel counts as much as its neighbourhood does,
    // squared, so a thin band of such pixels counts for little, and lone pixels of
    // noise neither add nor take away much. What counts for very little counts not at
    // all, so that no such band changes by a level here and there.
    Plane around = BoxMean(weights, kNeighbourhood);
    for (float& v : around.Values()) {
        v = std::max(0.0f, (v * v - kLeastWeight) / (1.0f - kLeastWeight));
    }
    return around;
}

SkinColour FaceColour(const SkinRegion& region, const WorkCopy& copy)
{
    Plane cheeks = PolygonCoverage(OnGrid(region.Cheeks(), copy), copy.Width(), copy.Height());
    CutHoles(cheeks, region.Holes(), copy);
    return SkinColour::Measured(copy, cheeks);
}

Plane ForFace(const SkinRegion& region, const WorkCopy& copy)
{
    Plane mask = Shape(region, copy);
    const Plane colour = ColourWeights(FaceColour(region, copy), copy);
    for (size_t i = 0; i < mask.Values().size(); ++i) {
        mask.Values()[i] *= colour.Values()[i];
    }
    return mask;
}

} // namespace skinmask
