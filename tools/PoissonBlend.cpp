#include "tools/PoissonBlend.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Relaxation stops when no value moved by more than this in a sweep (in levels of 255).
constexpr float kSettled = 0.005f;

// An unknown of the fill and the cells next to it that lie in the picture.
struct FreeCell {
    size_t index;
    size_t neighbours[4];
    int32_t count;
};

float LargestChannel(const PremultipliedPixel& p)
{
    float largest = 0;
    for (const float value : p.channel) {
        largest = std::max(largest, std::abs(value));
    }
    return largest;
}

// Gauss-Seidel sweeps with over-relaxation until the values settle; omega is the factor
// best for a square of the grid's side.
void Relax(std::vector<PremultipliedPixel>& values, const std::vector<FreeCell>& free, int32_t side)
{
    const float omega = 2.0f / (1.0f + std::sin(std::numbers::pi_v<float> / float(side + 1)));
    const int32_t mostSweeps = 20 * side + 100;
    for (int32_t sweep = 0; sweep < mostSweeps; ++sweep) {
        float largestStep = 0;
        for (const FreeCell& cell : free) {
            PremultipliedPixel sum;
            for (int32_t k = 0; k < cell.count; ++k) {
                sum += values[cell.neighbours[k]];
            }
            const PremultipliedPixel step = (sum * (1.0f / float(cell.count)) - values[cell.index]) * omega;
            values[cell.index] += step;
            largestStep = std::max(largestStep, LargestChannel(step));
        }
        if (largestStep < kSettled) {
            return;
        }
    }
}

} // namespace

PoissonBlend::PoissonBlend(const PremultipliedArea& pixels, gfx::Point origin, const gfx::Rect& picture)
    : pixels_(pixels), origin_(origin), picture_(picture)
{
}

PremultipliedPixel PoissonBlend::Pixel(gfx::Point inPicture) const
{
    return pixels_.At(inPicture.x - origin_.x, inPicture.y - origin_.y);
}

// The source of a bordering pixel may lie just outside the picture; the nearest pixel
// inside stands in for it.
PremultipliedPixel PoissonBlend::SourcePixel(gfx::Point inPicture, std::optional<gfx::Point> sourceOffset) const
{
    if (!sourceOffset) {
        return {};
    }
    const int32_t x = std::clamp(inPicture.x + sourceOffset->x, picture_.x, picture_.Right() - 1);
    const int32_t y = std::clamp(inPicture.y + sourceOffset->y, picture_.y, picture_.Bottom() - 1);
    return Pixel({x, y});
}

std::vector<PremultipliedPixel> PoissonBlend::Fill(const HealDisc& disc, std::optional<gfx::Point> sourceOffset) const
{
    // The disc and a border of one pixel, as far as the picture goes: a cell of the
    // border holds target - source, a cell of the disc the unknown h.
    const gfx::Rect grid = disc.bounds.Inflated(1).Intersected(picture_);
    const auto cellAt = [&grid](gfx::Point p) { return size_t(p.y - grid.y) * size_t(grid.width) + size_t(p.x - grid.x); };
    const auto inDisc = [&disc](gfx::Point p) { return disc.bounds.Contains(p.x, p.y) && disc.Contains(p.x, p.y); };
    std::vector<PremultipliedPixel> values(size_t(grid.Area()));
    std::vector<FreeCell> free;
    PremultipliedPixel borderSum;
    size_t borderCount = 0;
    for (int32_t y = grid.y; y < grid.Bottom(); ++y) {
        for (int32_t x = grid.x; x < grid.Right(); ++x) {
            const gfx::Point p{x, y};
            if (!inDisc(p)) {
                values[cellAt(p)] = Pixel(p) - SourcePixel(p, sourceOffset);
                continue;
            }
            FreeCell cell{cellAt(p), {}, 0};
            for (const gfx::Point n : {gfx::Point{x - 1, y}, gfx::Point{x + 1, y}, gfx::Point{x, y - 1}, gfx::Point{x, y + 1}}) {
                if (!grid.Contains(n.x, n.y)) {
                    continue; // outside the picture
                }
                cell.neighbours[cell.count++] = cellAt(n);
                if (!inDisc(n)) {
                    borderSum += Pixel(n) - SourcePixel(n, sourceOffset);
                    ++borderCount;
                }
            }
            free.push_back(cell);
        }
    }
    if (borderCount == 0) {
        return {};
    }
    // Starting from the mean border difference, most of h is there before the first sweep.
    const PremultipliedPixel start = borderSum * (1.0f / float(borderCount));
    for (const FreeCell& cell : free) {
        values[cell.index] = start;
    }
    Relax(values, free, std::max(grid.width, grid.height));

    std::vector<PremultipliedPixel> filled(size_t(disc.bounds.Area()));
    for (int32_t y = disc.bounds.y; y < disc.bounds.Bottom(); ++y) {
        for (int32_t x = disc.bounds.x; x < disc.bounds.Right(); ++x) {
            if (inDisc({x, y})) {
                filled[size_t(y - disc.bounds.y) * size_t(disc.bounds.width) + size_t(x - disc.bounds.x)] =
                    SourcePixel({x, y}, sourceOffset) + values[cellAt({x, y})];
            }
        }
    }
    return filled;
}
