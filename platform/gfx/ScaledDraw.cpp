#include "gfx/ScaledDraw.h"

#include "gfx/Blend.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gfx {

namespace {

// The source pixels one destination pixel reads along one axis, with their weights.
struct Taps {
    int32_t first = 0; // first source index
    int32_t count = 0; // 0: the destination pixel maps outside the source
    size_t weightOffset = 0;
};

struct AxisFilter {
    std::vector<Taps> taps; // one entry per destination index of the drawn range
    std::vector<float> weights;
    int32_t sourceBegin = 0; // the source indices any tap reads
    int32_t sourceEnd = 0;
};

// Filter for destination indices [from, to) of an axis that maps destLength pixels
// onto sourceLength pixels starting at sourceStart; the source's content ends at
// sourceExtent, inside or at the end of its last pixel sourcePixels - 1.
AxisFilter MakeAxisFilter(int32_t from, int32_t to, int32_t destLength, double sourceStart, double sourceLength,
                          double sourceExtent, int32_t sourcePixels)
{
    AxisFilter f;
    f.taps.resize(size_t(to - from));
    f.sourceBegin = sourcePixels;
    f.sourceEnd = 0;
    const double perDest = sourceLength / double(destLength); // source pixels per destination pixel
    const double factor = double(destLength) / sourceLength;
    const bool wholeFactor = factor >= 2.0 && factor == std::floor(factor);
    for (int32_t j = from; j < to; ++j) {
        Taps& t = f.taps[size_t(j - from)];
        t.weightOffset = f.weights.size();
        const double centre = sourceStart + (j + 0.5) * perDest;
        if (centre < 0 || centre >= sourceExtent) {
            continue;
        }
        if (wholeFactor) {
            // Enlarging by a whole factor: each source pixel repeated, so that a picture
            // shown at twice its size keeps its sharp pixel edges.
            t.first = std::clamp(int32_t(std::floor(centre)), 0, sourcePixels - 1);
            t.count = 1;
            f.weights.push_back(1.0f);
        } else if (perDest <= 1.0) {
            // Enlarging: linear between the two pixels whose centres enclose ours.
            const double u = centre - 0.5;
            const double base = std::floor(u);
            const float frac = float(u - base);
            const int32_t i0 = std::clamp(int32_t(base), 0, sourcePixels - 1);
            const int32_t i1 = std::clamp(int32_t(base) + 1, 0, sourcePixels - 1);
            if (i0 == i1 || frac == 0.0f) {
                t.first = frac == 0.0f ? i0 : i1;
                t.count = 1;
                f.weights.push_back(1.0f);
            } else {
                t.first = i0;
                t.count = 2;
                f.weights.push_back(1.0f - frac);
                f.weights.push_back(frac);
            }
        } else {
            // Shrinking: every source pixel weighs by its overlap with our span.
            const double lo = std::max(0.0, sourceStart + j * perDest);
            const double hi = std::min(sourceExtent, sourceStart + (j + 1) * perDest);
            const int32_t first = int32_t(std::floor(lo));
            const int32_t last = std::min(sourcePixels - 1, int32_t(std::ceil(hi)) - 1);
            double total = 0;
            for (int32_t i = first; i <= last; ++i) {
                total += std::min(hi, i + 1.0) - std::max(lo, double(i));
            }
            t.first = first;
            t.count = last - first + 1;
            for (int32_t i = first; i <= last; ++i) {
                f.weights.push_back(float((std::min(hi, i + 1.0) - std::max(lo, double(i))) / total));
            }
        }
        f.sourceBegin = std::min(f.sourceBegin, t.first);
        f.sourceEnd = std::max(f.sourceEnd, t.first + t.count);
    }
    return f;
}

// Alpha-weighted colour sums: a, and r, g, b each times a.
struct Accum {
    float a = 0, r = 0, g = 0, b = 0;
};

void AddWeighted(Accum& acc, Argb p, float w)
{
    const float aw = float(AlphaOf(p)) * w;
    acc.a += aw;
    acc.r += float(RedOf(p)) * aw;
    acc.g += float(GreenOf(p)) * aw;
    acc.b += float(BlueOf(p)) * aw;
}

void AddWeighted(Accum& acc, const Accum& v, float w)
{
    acc.a += v.a * w;
    acc.r += v.r * w;
    acc.g += v.g * w;
    acc.b += v.b * w;
}

// std::lround for the sums here, which are never negative, without a library call:
// below the cap, v + 0.5 is exact in double and truncation is the floor; whatever
// reaches the cap clamps to 255 either way.
int32_t RoundSum(float v) { return int32_t(std::min(double(v) + 0.5, 65536.0)); }

Argb ToPixel(const Accum& acc)
{
    const int32_t a = std::clamp(RoundSum(acc.a), 0, 255);
    if (a == 0) {
        return 0;
    }
    auto channel = [&](float c) { return uint32_t(std::clamp(RoundSum(c / acc.a), 0, 255)); };
    return MakeArgb(uint32_t(a), channel(acc.r), channel(acc.g), channel(acc.b));
}

} // namespace

void DrawScaled(Bitmap& target, const Rect& clip, CompositingMode mode, const Bitmap& source,
                const Rect& destination, const Rect& sourceRect)
{
    DrawScaled(target, clip, mode, source, destination,
               SourceArea{double(sourceRect.x), double(sourceRect.y), double(sourceRect.width),
                          double(sourceRect.height), double(source.Width()), double(source.Height())});
}

void DrawScaled(Bitmap& target, const Rect& clip, CompositingMode mode, const Bitmap& source,
                const Rect& destination, const SourceArea& sourceArea)
{
    const Rect area = destination.Intersected(clip).Intersected(target.Bounds());
    if (area.IsEmpty() || source.IsEmpty() || !(sourceArea.width > 0) || !(sourceArea.height > 0)) {
        return;
    }
    const double extentWidth = std::min(sourceArea.extentWidth, double(source.Width()));
    const double extentHeight = std::min(sourceArea.extentHeight, double(source.Height()));
    const AxisFilter cols = MakeAxisFilter(area.x - destination.x, area.Right() - destination.x, destination.width,
                                           sourceArea.x, sourceArea.width, extentWidth, source.Width());
    const AxisFilter rows = MakeAxisFilter(area.y - destination.y, area.Bottom() - destination.y, destination.height,
                                           sourceArea.y, sourceArea.height, extentHeight, source.Height());
    if (cols.sourceBegin >= cols.sourceEnd || rows.sourceBegin >= rows.sourceEnd) {
        return;
    }

    // For each destination row, first mix the source rows it reads into one row of
    // sums over the needed source columns, then mix those columns per destination pixel.
    std::vector<Accum> mixedRow(size_t(cols.sourceEnd - cols.sourceBegin));
    std::vector<Argb> out(size_t(area.width));
    std::vector<bool> inside(size_t(area.width));
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        const Taps& rowTaps = rows.taps[size_t(y - area.y)];
        if (rowTaps.count == 0) {
            continue;
        }
        std::fill(mixedRow.begin(), mixedRow.end(), Accum{});
        for (int32_t k = 0; k < rowTaps.count; ++k) {
            const float w = rows.weights[rowTaps.weightOffset + size_t(k)];
            const Argb* src = source.Scanline(rowTaps.first + k) + cols.sourceBegin;
            for (size_t c = 0; c < mixedRow.size(); ++c) {
                AddWeighted(mixedRow[c], src[c], w);
            }
        }
        for (int32_t x = area.x; x < area.Right(); ++x) {
            const Taps& colTaps = cols.taps[size_t(x - area.x)];
            inside[size_t(x - area.x)] = colTaps.count > 0;
            Accum acc;
            for (int32_t k = 0; k < colTaps.count; ++k) {
                AddWeighted(acc, mixedRow[size_t(colTaps.first + k - cols.sourceBegin)],
                            cols.weights[colTaps.weightOffset + size_t(k)]);
            }
            out[size_t(x - area.x)] = ToPixel(acc);
        }
        Argb* dst = target.Scanline(y);
        for (int32_t x = area.x; x < area.Right(); ++x) {
            if (!inside[size_t(x - area.x)]) {
                continue;
            }
            const Argb p = out[size_t(x - area.x)];
            dst[x] = mode == CompositingMode::SourceCopy ? p : BlendSourceOver(dst[x], p);
        }
    }
}

} // namespace gfx
