#pragma once

#include "tools/PremultipliedArea.h"
#include "tools/SummedArea.h"

#include <array>
#include <vector>

// What a place holds inside, for judging it as a heal's source: its edge energy (an eye,
// a lip line, a border of hair have much; skin has little) and how far its middle
// departs from its surroundings (a spot, an iris). Meant for a halved copy of the
// picture, where skin's finest texture is already averaged away but features are not.
// Both are read in constant time from summed areas.
class SourceFeatures {
public:
    explicit SourceFeatures(const PremultipliedArea& pixels);

    // Squared differences to the right and lower neighbour, summed over the channels.
    static float EdgeEnergyAt(const PremultipliedArea& area, int32_t x, int32_t y);

    // The mean edge energy over the box of a disc round centre.
    float EdgeEnergy(gfx::Point centre, int32_t radius) const;
    // The largest mean edge energy over the 3 x 3 patches in that box: a feature in one
    // corner is not averaged away by the skin round it.
    float StrongestEdges(gfx::Point centre, int32_t radius) const;
    // StrongestEdges for one radius round every place of the area, row by row, in time
    // that grows with the area alone.
    std::vector<float> StrongestEdgesEverywhere(int32_t radius) const;
    // The squared difference between the mean of the disc's middle (half its radius)
    // and that of a box three times as wide: large for a dark or bright blob, nothing
    // for an even slope.
    float Blob(gfx::Point centre, int32_t radius) const;

private:
    // Four channels summed in double precision: sums over a large area in float would
    // lose the small differences a mean of a box is made of.
    struct ChannelSums {
        std::array<double, 4> channel{};

        ChannelSums& operator+=(const ChannelSums& o)
        {
            for (size_t c = 0; c < 4; ++c) {
                channel[c] += o.channel[c];
            }
            return *this;
        }
        friend ChannelSums operator+(ChannelSums a, const ChannelSums& b) { return a += b; }
        friend ChannelSums operator-(ChannelSums a, const ChannelSums& b)
        {
            for (size_t c = 0; c < 4; ++c) {
                a.channel[c] -= b.channel[c];
            }
            return a;
        }
        friend ChannelSums operator*(ChannelSums a, double factor)
        {
            for (double& value : a.channel) {
                value *= factor;
            }
            return a;
        }
    };

    int32_t width_;
    int32_t height_;
    SummedArea<double> energy_;
    SummedArea<ChannelSums> colour_;
};
