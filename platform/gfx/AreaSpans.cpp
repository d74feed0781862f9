#include "gfx/AreaSpans.h"

#include <algorithm>

namespace gfx {

std::vector<AreaSpan> AreaSpans(int32_t count, double factor, int32_t sourceLength)
{
    std::vector<AreaSpan> spans(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i) {
        const double lo = std::min(i * factor, double(sourceLength));
        const double hi = std::min((i + 1) * factor, double(sourceLength));
        AreaSpan& span = spans[size_t(i)];
        span.first = std::min(int32_t(lo), std::max(sourceLength - 1, 0));
        if (hi <= lo) {
            span.weights.push_back(1.0f); // past the end: repeats the last pixel
            continue;
        }
        for (int32_t s = span.first; s < hi; ++s) {
            const double covered = std::min(hi, s + 1.0) - std::max(lo, double(s));
            span.weights.push_back(float(covered / (hi - lo)));
        }
    }
    return spans;
}

} // namespace gfx
