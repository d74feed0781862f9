#include "tools/TentBlurEffect.h"

#include "engine/PixelHelpers.h"

#include <algorithm>

namespace {

// The sums over one window column (its 2k + 1 rows, each with its row weight wy):
// Aw = (A + A / 128) * wy and e = Aw / 256 scale colours by alpha.
struct ColumnSums {
    int64_t weight = 0; // sum of wy
    int64_t alphaWeight = 0; // sum of Aw
    int64_t alpha = 0; // sum of A * e
    int64_t blue = 0;
    int64_t green = 0;
    int64_t red = 0;
};

void AddSample(ColumnSums& sums, uint32_t pixel, int64_t wy)
{
    const int64_t a = pixel >> 24;
    const int64_t aw = (a + (a >> 7)) * wy;
    const int64_t e = aw >> 8;
    sums.weight += wy;
    sums.alphaWeight += aw;
    sums.alpha += a * e;
    sums.blue += int64_t(pixel & 0xFF) * e;
    sums.green += int64_t((pixel >> 8) & 0xFF) * e;
    sums.red += int64_t((pixel >> 16) & 0xFF) * e;
}

// Channels are combined without clamping; for any picture they stay within 0 .. 255.
uint32_t PixelFromSums(const ColumnSums* columns, const std::vector<int64_t>& wx)
{
    int64_t w = 0, sa = 0, alpha = 0, blue = 0, green = 0, red = 0;
    for (size_t d = 0; d < wx.size(); ++d) {
        const ColumnSums& c = columns[d];
        w += wx[d] * c.weight;
        sa += wx[d] * c.alphaWeight;
        alpha += wx[d] * c.alpha;
        blue += wx[d] * c.blue;
        green += wx[d] * c.green;
        red += wx[d] * c.red;
    }
    sa >>= 8;
    if (w == 0 || sa == 0) {
        return 0;
    }
    const int64_t combined = blue / sa + (green / sa) * 0x100 + (red / sa) * 0x10000 + (alpha / w) * 0x1000000;
    return uint32_t(combined);
}

} // namespace

TentBlurEffect::TentBlurEffect(int32_t kernelRadius) : kernelRadius(std::max(kernelRadius, 0)) {}

std::vector<int64_t> TentBlurEffect::KernelWeights(int32_t k)
{
    std::vector<int64_t> w(size_t(2 * k + 1));
    for (int32_t i = 0; i <= k; ++i) {
        w[size_t(i)] = 16 * (i + 1);
        w[size_t(2 * k - i)] = w[size_t(i)];
    }
    return w;
}

// For each output row the sums of every window column the row needs are computed once
// (columns outside the picture stay zero); each output pixel is then the wx-weighted
// sum of its 2k + 1 neighbouring columns. Integer sums, so this equals the direct
// (2k + 1)^2 sum exactly.
Patch TentBlurEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    gfx::Rect r = requested;
    if (!ClipToSurface(r, source)) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    const int32_t k = kernelRadius;
    const std::vector<int64_t> weights = KernelWeights(k);
    auto result = CreateSurface(r.width, r.height);

    // Column c of the buffer is picture column r.x - k + c.
    std::vector<ColumnSums> columns(size_t(r.width + 2 * k));
    const int32_t firstColumn = std::max(r.x - k, 0);
    const int32_t endColumn = std::min(r.Right() + k, source.width);
    for (int32_t i = 0; i < r.height; ++i) {
        const int32_t y = r.y + i;
        std::fill(columns.begin(), columns.end(), ColumnSums{});
        const int32_t firstRow = std::max(y - k, 0);
        const int32_t endRow = std::min(y + k + 1, source.height);
        for (int32_t sy = firstRow; sy < endRow; ++sy) {
            const int64_t wy = weights[size_t(sy - y + k)];
            const uint32_t* row = source.Row(sy);
            for (int32_t sx = firstColumn; sx < endColumn; ++sx) {
                AddSample(columns[size_t(sx - (r.x - k))], row[sx], wy);
            }
        }
        uint32_t* out = result->Row(i);
        for (int32_t j = 0; j < r.width; ++j) {
            out[j] = PixelFromSums(columns.data() + j, weights);
        }
    }
    return {r.x, r.y, r.width, r.height, std::move(result)};
}
