#pragma once

#include "gfx/PixelMemory.h"
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <vector>

// Halved copies of a picture, for drawing it small at a cost that follows the view:
// level k has 2^k x 2^k picture pixels per pixel, ceil(width / 2^k) x ceil(height / 2^k)
// pixels, and the levels go down to the first one no larger than the view.
//
// Each pixel of a level is the average of the 2 x 2 pixels below it (see gfx/Halve.h),
// rounded once per level. Where a level has an odd number of columns, its last column
// stands for fewer picture pixels than the others, so the next level weighs it by the
// picture pixels it stands for; rows likewise. A level pixel is thus the area average
// of the picture pixels it covers, up to the rounding: exact at level 1, and at level k
// within k / 2 in alpha and, where the picture is opaque, in every colour. The last
// column and row of a level cover only what is left of the picture.
class PicturePyramid {
public:
    PicturePyramid(int32_t pictureWidth, int32_t pictureHeight, int32_t viewWidth, int32_t viewHeight);

    // Recomputes, from the picture, every level pixel that covers part of the area.
    void Update(const gfx::Bitmap& picture, const gfx::Rect& pictureArea);
    // The same from a band of the picture's rows, from firstRow on, holding the area;
    // the band must start on an even row.
    void Update(const gfx::Bitmap& band, int32_t firstRow, const gfx::Rect& pictureArea);

    // 0 when the picture is no larger than the view.
    int32_t LevelCount() const { return int32_t(levels_.size()); }
    // Level 1 to LevelCount().
    const gfx::Bitmap& Level(int32_t level) const { return levels_[size_t(level - 1)]; }
    // The pixels of a level that cover part of a picture area; level 0 is the picture.
    static gfx::Rect LevelArea(const gfx::Rect& pictureArea, int32_t level);

private:
    // The rows of the level below: a whole level, or a band of the picture's rows.
    struct Finer {
        const gfx::Bitmap& pixels;
        int32_t firstRow;
        int32_t height;
        const gfx::Argb* Row(int32_t y) const { return pixels.Scanline(y - firstRow); }
        int32_t Width() const { return pixels.Width(); }
    };

    void HalveInto(int32_t level, const Finer& finer, const gfx::Rect& area);
    void HalveRowWeighted(int32_t level, const Finer& finer, int32_t y, int32_t from, int32_t to);
    // How many picture columns (rows) a column (row) of a level stands for.
    uint32_t ColumnWeight(int32_t level, int32_t x) const;
    uint32_t RowWeight(int32_t level, int32_t y) const;

    int32_t pictureWidth_;
    int32_t pictureHeight_;
    gfx::PixelBlock memory_; // every level, one after the other
    std::vector<gfx::Bitmap> levels_;
};
