#include "tools/SourceFeatures.h"

#include <algorithm>
#include <deque>

namespace {

constexpr int32_t kTile = 3; // the side of the patches StrongestEdges compares

// out[k] = the largest of in[k .. k + window - 1], for every k with a whole window,
// with a queue of the places that may still be the largest of a later window.
std::vector<float> SlidingMaxima(const std::vector<float>& in, size_t window)
{
    std::vector<float> out;
    std::deque<size_t> candidates;
    for (size_t i = 0; i < in.size(); ++i) {
        while (!candidates.empty() && in[candidates.back()] <= in[i]) {
            candidates.pop_back();
        }
        candidates.push_back(i);
        if (candidates.front() + window <= i) {
            candidates.pop_front();
        }
        if (i + 1 >= window) {
            out.push_back(in[candidates.front()]);
        }
    }
    return out;
}

} // namespace

float SourceFeatures::EdgeEnergyAt(const PremultipliedArea& area, int32_t x, int32_t y)
{
    const PremultipliedPixel& here = area.At(x, y);
    float energy = 0;
    if (x + 1 < area.Width()) {
        energy += (area.At(x + 1, y) - here).SquaredLength();
    }
    if (y + 1 < area.Height()) {
        energy += (area.At(x, y + 1) - here).SquaredLength();
    }
    return energy;
}

SourceFeatures::SourceFeatures(const PremultipliedArea& pixels)
    : width_(pixels.Width()), height_(pixels.Height()), energy_(pixels.Width(), pixels.Height(),
              [&pixels](int32_t x, int32_t y) { return double(EdgeEnergyAt(pixels, x, y)); }),
      colour_(pixels.Width(), pixels.Height(), [&pixels](int32_t x, int32_t y) {
          const PremultipliedPixel& p = pixels.At(x, y);
          return ChannelSums{{p.channel[0], p.channel[1], p.channel[2], p.channel[3]}};
      })
{
}

float SourceFeatures::EdgeEnergy(gfx::Point centre, int32_t radius) const
{
    return float(energy_.MeanInside({centre.x - radius, centre.y - radius, 2 * radius + 1, 2 * radius + 1}));
}

float SourceFeatures::StrongestEdges(gfx::Point centre, int32_t radius) const
{
    float strongest = 0;
    for (int32_t y = centre.y - radius; y <= centre.y + radius - kTile + 1; ++y) {
        for (int32_t x = centre.x - radius; x <= centre.x + radius - kTile + 1; ++x) {
            strongest = std::max(strongest, float(energy_.MeanInside({x, y, kTile, kTile})));
        }
    }
    return strongest;
}

std::vector<float> SourceFeatures::StrongestEdgesEverywhere(int32_t radius) const
{
    // The patches of a box round x start at x - radius .. x + radius - kTile + 1: a
    // window of that many patches slides along the rows, then along the columns.
    const int32_t window = std::max(1, 2 * radius + 2 - kTile);
    const int32_t first = -radius;
    const int32_t across = width_ + window - 1, down = height_ + window - 1;
    std::vector<std::vector<float>> rows(static_cast<size_t>(down)); // each row's maxima, width_ long
    for (int32_t j = 0; j < down; ++j) {
        std::vector<float> patches(static_cast<size_t>(across));
        for (int32_t i = 0; i < across; ++i) {
            patches[size_t(i)] = float(energy_.MeanInside({first + i, first + j, kTile, kTile}));
        }
        rows[size_t(j)] = SlidingMaxima(patches, size_t(window));
    }
    std::vector<float> strongest(size_t(width_) * size_t(height_));
    for (int32_t x = 0; x < width_; ++x) {
        std::vector<float> column(static_cast<size_t>(down));
        for (int32_t j = 0; j < down; ++j) {
            column[size_t(j)] = rows[size_t(j)][size_t(x)];
        }
        const std::vector<float> maxima = SlidingMaxima(column, size_t(window));
        for (int32_t y = 0; y < height_; ++y) {
            strongest[size_t(y) * size_t(width_) + size_t(x)] = maxima[size_t(y)];
        }
    }
    return strongest;
}

float SourceFeatures::Blob(gfx::Point centre, int32_t radius) const
{
    const int32_t inner = std::max(1, radius / 2), outer = radius + inner;
    const ChannelSums middle = colour_.MeanInside({centre.x - inner, centre.y - inner, 2 * inner + 1, 2 * inner + 1});
    const ChannelSums round = colour_.MeanInside({centre.x - outer, centre.y - outer, 2 * outer + 1, 2 * outer + 1});
    const ChannelSums d = middle - round;
    double squares = 0;
    for (const double value : d.channel) {
        squares += value * value;
    }
    return float(squares);
}
