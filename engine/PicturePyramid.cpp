#include "engine/PicturePyramid.h"

#include "gfx/Halve.h"

#include <algorithm>

namespace {

// A level 2^16 times smaller than the picture is far past any view; the limit keeps the
// weights of the picture pixels a level pixel stands for within 32 bits.
constexpr size_t MaxLevels = 16;

int32_t HalvedUp(int32_t size) { return size / 2 + size % 2; }

// The picture pixels [0, size) that index i of a level stands for along one axis.
uint32_t Coverage(int32_t size, int32_t level, int32_t i)
{
    const int64_t unit = int64_t(1) << level;
    return uint32_t(std::min(unit, int64_t(size) - int64_t(i) * unit));
}

// The sizes of levels 1, 2, ... down to the first no larger than the view.
std::vector<gfx::Rect> LevelBounds(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight)
{
    std::vector<gfx::Rect> bounds;
    int32_t width = pictureWidth, height = pictureHeight;
    while ((width > std::max(viewWidth, 1) || height > std::max(viewHeight, 1)) && bounds.size() < MaxLevels) {
        width = HalvedUp(width);
        height = HalvedUp(height);
        bounds.push_back({0, 0, width, height});
    }
    return bounds;
}

size_t PixelCount(const std::vector<gfx::Rect>& bounds)
{
    size_t count = 0;
    for (const gfx::Rect& b : bounds) {
        count += size_t(b.width) * size_t(b.height);
    }
    return count;
}

} // namespace

PicturePyramid::PicturePyramid(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight)
    : pictureWidth_(std::max(pictureWidth, 0)),
      pictureHeight_(std::max(pictureHeight, 0)),
      memory_(gfx::PixelMemory::Allocate(PixelCount(LevelBounds(pictureWidth_, pictureHeight_, viewWidth, viewHeight)),
                                         gfx::PixelMemory::Contents::TransparentBlack))
{
    gfx::Argb* pixels = memory_.get();
    for (const gfx::Rect& b : LevelBounds(pictureWidth_, pictureHeight_, viewWidth, viewHeight)) {
        levels_.push_back(gfx::Bitmap::Borrow(b.width, b.height, pixels));
        pixels += size_t(b.width) * size_t(b.height);
    }
}

gfx::Rect PicturePyramid::LevelArea(const gfx::Rect& pictureArea, int32_t level)
{
    if (pictureArea.IsEmpty()) {
        return {};
    }
    const int64_t unit = int64_t(1) << level;
    auto down = [&](int64_t v) { return int32_t(v >= 0 ? v / unit : -((-v + unit - 1) / unit)); };
    auto up = [&](int64_t v) { return -down(-v); };
    const int32_t left = down(pictureArea.x), top = down(pictureArea.y);
    return {left, top, up(pictureArea.Right()) - left, up(pictureArea.Bottom()) - top};
}

void PicturePyramid::Update(const gfx::Bitmap& picture, const gfx::Rect& pictureArea)
{
    Update(picture, 0, pictureArea);
}

void PicturePyramid::Update(const gfx::Bitmap& band, int32_t firstRow, const gfx::Rect& pictureArea)
{
    for (int32_t level = 1; level <= LevelCount(); ++level) {
        const gfx::Rect area = LevelArea(pictureArea, level).Intersected(Level(level).Bounds());
        if (area.IsEmpty()) {
            return;
        }
        if (level == 1) {
            HalveInto(level, Finer{band, firstRow, pictureHeight_}, area);
        } else {
            HalveInto(level, Finer{Level(level - 1), 0, Level(level - 1).Height()}, area);
        }
    }
}

uint32_t PicturePyramid::ColumnWeight(int32_t level, int32_t x) const { return Coverage(pictureWidth_, level, x); }

uint32_t PicturePyramid::RowWeight(int32_t level, int32_t y) const { return Coverage(pictureHeight_, level, y); }

void PicturePyramid::HalveInto(int32_t level, const Finer& finer, const gfx::Rect& area)
{
    gfx::Bitmap& coarser = levels_[size_t(level - 1)];
    // Before evenColumns every pixel has two columns below it that weigh the same, for
    // HalveRow; from there on lies at most the last pixel, over one column or over a
    // full and a partial one. A row over a full and a partial row goes pixel by pixel.
    const int32_t lastFinerColumn = finer.Width() - 1;
    const bool lastColumnFull = ColumnWeight(level - 1, lastFinerColumn) == ColumnWeight(level - 1, 0);
    const int32_t evenColumns = std::min(area.Right(), lastColumnFull ? finer.Width() / 2 : lastFinerColumn / 2);
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        const int32_t below = 2 * y;
        const bool pair = below + 1 < finer.height;
        if (pair && RowWeight(level - 1, below + 1) != RowWeight(level - 1, below)) {
            HalveRowWeighted(level, finer, y, area.x, area.Right());
            continue;
        }
        const int32_t from = std::min(area.x, evenColumns);
        const gfx::Argb* top = finer.Row(below);
        const gfx::Argb* bottom = pair ? finer.Row(below + 1) : top;
        const size_t count = size_t(std::max(evenColumns - from, 0));
        gfx::HalveRow(top + 2 * from, bottom + 2 * from, coarser.Scanline(y) + from, count);
        HalveRowWeighted(level, finer, y, std::max(area.x, evenColumns), area.Right());
    }
}

void PicturePyramid::HalveRowWeighted(int32_t level, const Finer& finer, int32_t y, int32_t from, int32_t to)
{
    gfx::Argb* out = levels_[size_t(level - 1)].Scanline(y);
    for (int32_t x = from; x < to; ++x) {
        gfx::WeightedPixel block[4];
        size_t count = 0;
        for (int32_t row = 2 * y; row < std::min(2 * y + 2, finer.height); ++row) {
            for (int32_t column = 2 * x; column < std::min(2 * x + 2, finer.Width()); ++column) {
                block[count++] = {finer.Row(row)[column],
                                  ColumnWeight(level - 1, column) * RowWeight(level - 1, row)};
            }
        }
        out[x] = gfx::AverageWeighted(block, count);
    }
}
