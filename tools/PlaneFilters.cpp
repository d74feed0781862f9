#include "tools/PlaneFilters.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// out[i] = mean of in[i - r .. i + r] inside [0, count).
void BoxLine(const float* in, float* out, int32_t count, int32_t r)
{
    double sum = 0;
    int32_t inside = 0;
    for (int32_t i = 0; i < std::min(r, count); ++i) {
        sum += in[i];
        ++inside;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (i + r < count) {
            sum += in[i + r];
            ++inside;
        }
        if (i - r - 1 >= 0) {
            sum -= in[i - r - 1];
            --inside;
        }
        out[i] = float(sum / inside);
    }
}

// The same down the columns, a whole row at a time so that memory is read in order.
void BoxColumns(const Plane& in, Plane& out, int32_t r)
{
    const int32_t width = in.Width(), height = in.Height();
    std::vector<double> sums(size_t(width), 0.0);
    auto add = [&](int32_t y, double sign) {
        const float* row = in.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            sums[size_t(x)] += sign * row[x];
        }
    };
    int32_t inside = 0;
    for (int32_t y = 0; y < std::min(r, height); ++y) {
        add(y, 1.0);
        ++inside;
    }
    for (int32_t y = 0; y < height; ++y) {
        if (y + r < height) {
            add(y + r, 1.0);
            ++inside;
        }
        if (y - r - 1 >= 0) {
            add(y - r - 1, -1.0);
            --inside;
        }
        float* row = out.Row(y);
        const double scale = 1.0 / inside;
        for (int32_t x = 0; x < width; ++x) {
            row[x] = float(sums[size_t(x)] * scale);
        }
    }
}

} // namespace

Plane BoxMean(const Plane& in, int32_t radius)
{
    Plane across(in.Width(), in.Height());
    for (int32_t y = 0; y < in.Height(); ++y) {
        BoxLine(in.Row(y), across.Row(y), in.Width(), radius);
    }
    Plane out(in.Width(), in.Height());
    BoxColumns(across, out, radius);
    return out;
}

Plane GaussianBlur(const Plane& in, float sigma)
{
    const int32_t r = std::max(1, int32_t(std::ceil(3.0f * sigma)));
    std::vector<float> kernel(size_t(2 * r + 1));
    for (int32_t i = -r; i <= r; ++i) {
        kernel[size_t(i + r)] = std::exp(-0.5f * float(i * i) / (sigma * sigma));
    }
    const int32_t width = in.Width(), height = in.Height();
    // Across: each output value from the taps inside its row, their weights summed.
    Plane across(width, height);
    for (int32_t y = 0; y < height; ++y) {
        const float* from = in.Row(y);
        float* to = across.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            float sum = 0, weight = 0;
            for (int32_t i = std::max(-r, -x); i <= std::min(r, width - 1 - x); ++i) {
                sum += kernel[size_t(i + r)] * from[x + i];
                weight += kernel[size_t(i + r)];
            }
            to[x] = sum / weight;
        }
    }
    // Down: whole rows at a time.
    Plane out(width, height);
    for (int32_t y = 0; y < height; ++y) {
        float* to = out.Row(y);
        float weight = 0;
        for (int32_t i = std::max(-r, -y); i <= std::min(r, height - 1 - y); ++i) {
            const float k = kernel[size_t(i + r)];
            const float* from = across.Row(y + i);
            for (int32_t x = 0; x < width; ++x) {
                to[x] += k * from[x];
            }
            weight += k;
        }
        for (int32_t x = 0; x < width; ++x) {
            to[x] /= weight;
        }
    }
    return out;
}

Plane TripleBoxMean(const Plane& in, int32_t radius)
{
    return BoxMean(BoxMean(BoxMean(in, radius), radius), radius);
}
