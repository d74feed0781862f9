#include "tools/PlaneFilters.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// out[i] = mean of in[i - r .. i + r] inside [0, count), along a line of values step
// apart.
void BoxLine(const float* in, float* out, int32_t count, int32_t step, int32_t r)
{
    double sum = 0;
    int32_t inside = 0;
    for (int32_t i = 0; i < std::min(r, count); ++i) {
        sum += in[size_t(i) * size_t(step)];
        ++inside;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t entering = i + r;
        if (entering < count) {
            sum += in[size_t(entering) * size_t(step)];
            ++inside;
        }
        const int32_t leaving = i - r - 1;
        if (leaving >= 0) {
            sum -= in[size_t(leaving) * size_t(step)];
            --inside;
        }
        out[size_t(i) * size_t(step)] = float(sum / inside);
    }
}

} // namespace

Plane BoxMean(const Plane& in, int32_t radius)
{
    Plane across(in.Width(), in.Height());
    for (int32_t y = 0; y < in.Height(); ++y) {
        BoxLine(in.Row(y), across.Row(y), in.Width(), 1, radius);
    }
    Plane out(in.Width(), in.Height());
    for (int32_t x = 0; x < in.Width(); ++x) {
        BoxLine(across.Values().data() + x, out.Values().data() + x, in.Height(), in.Width(), radius);
    }
    return out;
}

Plane GaussianBlur(const Plane& in, float sigma)
{
    const int32_t r = std::max(1, int32_t(std::ceil(3.0f * sigma)));
    std::vector<float> kernel(size_t(2 * r + 1));
    for (int32_t i = -r; i <= r; ++i) {
        kernel[size_t(i + r)] = std::exp(-0.5f * float(i * i) / (sigma * sigma));
    }
    auto pass = [&](const Plane& from, Plane& to, bool vertical) {
        const int32_t length = vertical ? from.Height() : from.Width();
        for (int32_t y = 0; y < from.Height(); ++y) {
            for (int32_t x = 0; x < from.Width(); ++x) {
                const int32_t at = vertical ? y : x;
                float sum = 0, weight = 0;
                for (int32_t i = std::max(-r, -at); i <= std::min(r, length - 1 - at); ++i) {
                    const float w = kernel[size_t(i + r)];
                    sum += w * (vertical ? from.At(x, y + i) : from.At(x + i, y));
                    weight += w;
                }
                to.Row(y)[x] = sum / weight;
            }
        }
    };
    Plane across(in.Width(), in.Height());
    pass(in, across, false);
    Plane out(in.Width(), in.Height());
    pass(across, out, true);
    return out;
}

Plane TripleBoxMean(const Plane& in, int32_t radius)
{
    return BoxMean(BoxMean(BoxMean(in, radius), radius), radius);
}
