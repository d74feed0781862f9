#pragma once

#include <cstdint>
#include <vector>

namespace gfx {

// The weights of an area-averaging reduction along one axis: destination pixel i covers
// source pixels [i * factor, (i + 1) * factor), cut at the source's end, and each source
// pixel weighs by how much of it lies in that span. The weights of a span add up to 1.
struct AreaSpan {
    int32_t first = 0; // the first source pixel
    std::vector<float> weights;
};

// count destination pixels over sourceLength source pixels; factor >= 1.
std::vector<AreaSpan> AreaSpans(int32_t count, double factor, int32_t sourceLength);

} // namespace gfx
