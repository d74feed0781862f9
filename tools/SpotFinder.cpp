#include "tools/SpotFinder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kStandsOut = 8.0f; // a difference below this (levels of 255) is no spot
constexpr int32_t kRingWidth = 2;

// The sum and count of the pixels at one whole distance from the centre.
struct DistanceBin {
    PremultipliedPixel sum;
    int32_t count = 0;

    DistanceBin& operator+=(const DistanceBin& o)
    {
        sum += o.sum;
        count += o.count;
        return *this;
    }
    PremultipliedPixel Mean() const { return count > 0 ? sum * (1.0f / float(count)) : PremultipliedPixel{}; }
};

// Four channels: halved, a difference of d levels in each reads as d.
float Levels(const PremultipliedPixel& difference) { return std::sqrt(difference.SquaredLength()) / 2; }

int32_t WholeDistance(int32_t dx, int32_t dy) { return int32_t(std::sqrt(float(dx * dx + dy * dy))); }

} // namespace

SpotFinder::SpotFinder(const PremultipliedArea& pixels, gfx::Point origin) : pixels_(pixels), origin_(origin) {}

int32_t SpotFinder::SpotRadius(gfx::Point centre, int32_t largestRadius) const
{
    // bins[b] holds the pixels whose distance d from the centre has floor(d) = b, so
    // the disc of radius r is bins 0 .. r - 1, as HealDisc counts it.
    const int32_t extent = largestRadius + kRingWidth;
    std::vector<DistanceBin> bins(static_cast<size_t>(extent));
    for (int32_t dy = -extent; dy <= extent; ++dy) {
        for (int32_t dx = -extent; dx <= extent; ++dx) {
            const int32_t x = centre.x + dx - origin_.x, y = centre.y + dy - origin_.y;
            const int32_t bin = WholeDistance(dx, dy);
            if (bin < extent && pixels_.Contains(x, y)) {
                bins[size_t(bin)].sum += pixels_.At(x, y);
                ++bins[size_t(bin)].count;
            }
        }
    }
    const auto ringFrom = [&bins](int32_t radius) {
        DistanceBin ring;
        for (int32_t b = radius; b < radius + kRingWidth; ++b) {
            ring += bins[size_t(b)];
        }
        return ring;
    };
    // How much the disc of each radius stands out from the ring round it; the spot ends
    // at the first peak that stands out.
    std::vector<DistanceBin> discs(size_t(largestRadius + 1));
    std::vector<float> contrast(size_t(largestRadius + 1), 0.0f);
    for (int32_t radius = 1; radius <= largestRadius; ++radius) {
        discs[size_t(radius)] = discs[size_t(radius - 1)];
        discs[size_t(radius)] += bins[size_t(radius - 1)];
        const DistanceBin ring = ringFrom(radius);
        if (ring.count > 0) {
            contrast[size_t(radius)] = Levels(discs[size_t(radius)].Mean() - ring.Mean());
        }
    }
    for (int32_t radius = 1; radius <= largestRadius; ++radius) {
        const bool peak = radius == largestRadius || contrast[size_t(radius)] >= contrast[size_t(radius + 1)];
        if (contrast[size_t(radius)] >= kStandsOut && peak) {
            return radius;
        }
    }
    return 0;
}

HealDisc SpotFinder::SpotIn(const HealDisc& brushDisc) const
{
    const int32_t spotRadius = SpotRadius(brushDisc.centre, brushDisc.radius - 1);
    if (spotRadius == 0) {
        return brushDisc; // nothing stands out
    }
    // One pixel beyond the spot's outline for its soft edge, so the heal meets clean skin.
    return brushDisc.Within(brushDisc.centre, spotRadius + 1);
}
