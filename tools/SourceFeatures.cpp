#include "tools/SourceFeatures.h"

#include <algorithm>

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
    : energy_(pixels.Width(), pixels.Height(),
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
