#include "tools/PolygonCoverage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int32_t kSubRows = 4;
constexpr float kSubRowShare = 1.0f / kSubRows;

// Adds share times the part of each pixel that [from, to) covers along the row.
void CoverSpan(float* row, int32_t width, float from, float to, float share)
{
    from = std::max(from, 0.0f);
    to = std::min(to, float(width));
    if (to <= from) {
        return;
    }
    const auto first = int32_t(from), last = std::min(int32_t(to), width - 1);
    if (first == last) {
        row[first] += share * (to - from);
        return;
    }
    row[first] += share * (float(first + 1) - from);
    for (int32_t x = first + 1; x < last; ++x) {
        row[x] += share;
    }
    row[last] += share * (to - float(last));
}

} // namespace

Plane PolygonCoverage(const Polygon& polygon, int32_t width, int32_t height)
{
    Plane coverage(width, height);
    if (polygon.size() < 3 || width <= 0 || height <= 0) {
        return coverage;
    }
    std::vector<float> crossings;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t sub = 0; sub < kSubRows; ++sub) {
            const float sy = float(y) + (float(sub) + 0.5f) * kSubRowShare;
            crossings.clear();
            for (size_t i = 0; i < polygon.size(); ++i) {
                const gfx::PointF a = polygon[i];
                const gfx::PointF b = polygon[(i + 1) % polygon.size()];
                // Half-open in y, so a vertex on the sub-row counts once.
                if ((a.y <= sy) != (b.y <= sy)) {
                    crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
                }
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                CoverSpan(coverage.Row(y), width, crossings[i], crossings[i + 1], kSubRowShare);
            }
        }
    }
    return coverage;
}
