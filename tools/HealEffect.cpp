#include "tools/HealEffect.h"

#include "engine/PixelHelpers.h"
#include "tools/HealDisc.h"
#include "tools/HealSourceSearch.h"
#include "tools/PoissonBlend.h"
#include "tools/PremultipliedArea.h"
#include "tools/SpotFinder.h"

#include <algorithm>

namespace {

// The disc's new pixels in a copy of the picture over its bounds; false when every pixel
// came out as it was.
bool WriteFill(const Surface& source, const HealDisc& disc, const std::vector<PremultipliedPixel>& filled,
               Surface& result)
{
    CopyRegion(source, disc.bounds.x, disc.bounds.y, result);
    bool changed = false;
    for (int32_t i = 0; i < result.height; ++i) {
        uint32_t* row = result.Row(i);
        const int32_t y = disc.bounds.y + i;
        for (int32_t j = 0; j < result.width; ++j) {
            const int32_t x = disc.bounds.x + j;
            if (!disc.Contains(x, y)) {
                continue;
            }
            const uint32_t healed = filled[size_t(i) * size_t(result.width) + size_t(j)].ToArgb();
            if ((healed >> 24) == 0 && (row[j] >> 24) == 0) {
                continue; // invisible before and after
            }
            changed = changed || healed != row[j];
            row[j] = healed;
        }
    }
    return changed;
}

} // namespace

Patch HealEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    gfx::Rect r = requested;
    if (!ClipToSurface(r, source)) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    const gfx::Rect picture = source.Bounds();
    const HealDisc brushDisc = HealDisc::UnderBrush(requested, picture);
    if (brushDisc.IsEmpty()) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    const gfx::Rect spotArea = SpotFinder::AreaRead(brushDisc).Intersected(picture);
    const PremultipliedArea spotPixels(source, spotArea);
    const HealDisc disc = SpotFinder(spotPixels, {spotArea.x, spotArea.y}).SpotIn(brushDisc, r);

    const int32_t brushRadius = std::min(requested.width, requested.height) / 2;
    const int32_t reach = ReachFor(disc, brushRadius);
    const int32_t ringWidth = std::max(3, disc.radius / 4);
    const int32_t margin = reach + disc.radius + ringWidth + 2;
    const gfx::Rect area =
        gfx::Rect{disc.centre.x - margin, disc.centre.y - margin, 2 * margin + 1, 2 * margin + 1}.Intersected(picture);
    const PremultipliedArea pixels(source, area);
    const gfx::Point origin{area.x, area.y};
    const std::optional<gfx::Point> offset = HealSourceSearch(pixels, origin, picture).BestOffset(disc, reach, ringWidth);
    const std::vector<PremultipliedPixel> filled = PoissonBlend(pixels, origin, picture).Fill(disc, offset);
    auto result = CreateSurface(disc.bounds.width, disc.bounds.height);
    if (filled.empty() || !WriteFill(source, disc, filled, *result)) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    return {disc.bounds.x, disc.bounds.y, disc.bounds.width, disc.bounds.height, std::move(result), PatchBlend::Replace};
}

int32_t HealEffect::ReachFor(const HealDisc& disc, int32_t brushRadius)
{
    const int32_t brushReach = std::min(kReachInDiameters * 2 * brushRadius, kFarthestReach);
    return std::min(brushReach, std::max(kLeastReach, kReachInDiameters * 2 * disc.radius));
}
