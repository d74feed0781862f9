// Each level of the pyramid against a direct area average of the picture pixels it
// covers: exact at level 1 and over plain areas, within half a unit per level elsewhere.
#include "engine/PicturePyramid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

int32_t ChannelOf(gfx::Argb p, int c) { return int32_t(p >> (24 - 8 * c)) & 0xFF; } // alpha, red, green, blue

// The alpha-weighted average of the picture pixels a level pixel covers, channel by
// channel, and whether those are all opaque, or all the same.
struct DirectAverage {
    double channel[4] = {};
    bool opaque = true;
    bool plain = true;
};

DirectAverage AverageOver(const gfx::Bitmap& picture, int32_t level, int32_t x, int32_t y)
{
    const int32_t unit = 1 << level;
    const gfx::Rect block = gfx::Rect{x * unit, y * unit, unit, unit}.Intersected(picture.Bounds());
    DirectAverage d;
    double sums[4] = {};
    for (int32_t py = block.y; py < block.Bottom(); ++py) {
        for (int32_t px = block.x; px < block.Right(); ++px) {
            const gfx::Argb p = picture.GetPixel(px, py);
            for (int c = 0; c < 4; ++c) {
                sums[c] += c == 0 ? ChannelOf(p, 0) : ChannelOf(p, 0) * ChannelOf(p, c);
            }
            d.opaque = d.opaque && ChannelOf(p, 0) == 255;
            d.plain = d.plain && p == picture.GetPixel(block.x, block.y);
        }
    }
    d.channel[0] = sums[0] / double(block.Area());
    for (int c = 1; c < 4; ++c) {
        d.channel[c] = sums[0] > 0 ? sums[c] / sums[0] : 0;
    }
    return d;
}

gfx::Argb RoundedHalfUp(const DirectAverage& d)
{
    gfx::Argb p = 0;
    for (int c = 0; c < 4; ++c) {
        p |= uint32_t(std::floor(d.channel[c] + 0.5)) << (24 - 8 * c);
    }
    return p < 0x01000000u ? 0 : p; // transparent black when alpha rounds to 0
}

::testing::AssertionResult LevelsMatchThePicture(const PicturePyramid& pyramid, const gfx::Bitmap& picture)
{
    for (int32_t level = 1; level <= pyramid.LevelCount(); ++level) {
        for (int32_t y = 0; y < pyramid.Level(level).Height(); ++y) {
            for (int32_t x = 0; x < pyramid.Level(level).Width(); ++x) {
                const DirectAverage d = AverageOver(picture, level, x, y);
                const gfx::Argb p = pyramid.Level(level).GetPixel(x, y);
                bool fine = p == RoundedHalfUp(d);
                if (level > 1 && !d.plain) {
                    fine = true;
                    for (int c = 0; c < (d.opaque ? 4 : 1); ++c) { // colours only where opaque
                        fine = fine && std::abs(ChannelOf(p, c) - d.channel[c]) <= level / 2.0 + 1e-9;
                    }
                }
                if (!fine) {
                    return ::testing::AssertionFailure() << "level " << level << " pixel (" << x << ", " << y << ") is "
                                                         << std::hex << p << ", direct average " << RoundedHalfUp(d);
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

struct PyramidCase {
    const char* name;
    int32_t width, height, viewWidth, viewHeight;
    bool translucent;
    int32_t levels;
};

TEST(PicturePyramid, EveryLevelIsTheAreaAverageOfThePictureBuiltInBandsAndUpdatedInParts)
{
    const PyramidCase cases[] = {
        {"odd, wide, opaque: last columns cover 1, 3, 3, 11, 11 pixels", 203, 77, 9, 7, false, 5},
        {"odd, tall, translucent", 45, 131, 6, 10, true, 4},
        {"even sides, one view side already large enough", 96, 40, 5, 64, false, 5},
        {"no larger than the view: no levels", 40, 30, 40, 30, false, 0},
    };
    for (const PyramidCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(uint32_t(c.width * 31 + c.height));
        gfx::Bitmap picture(c.width, c.height);
        auto paint = [&](const gfx::Rect& area, bool plain) {
            const gfx::Argb colour = c.translucent ? rng() : rng() | 0xFF000000u;
            for (int32_t y = area.y; y < area.Bottom(); ++y) {
                for (int32_t x = area.x; x < area.Right(); ++x) {
                    picture.SetPixel(x, y, plain ? colour : c.translucent ? rng() : rng() | 0xFF000000u);
                }
            }
        };
        paint(picture.Bounds(), false);
        paint(gfx::Rect{0, 0, 32, 32}.Intersected(picture.Bounds()), true); // plain: exact at every level
        PicturePyramid pyramid(c.width, c.height, c.viewWidth, c.viewHeight);
        ASSERT_EQ(pyramid.LevelCount(), c.levels);
        for (int32_t level = 1; level <= c.levels; ++level) {
            EXPECT_EQ(pyramid.Level(level).Width(), (c.width + (1 << level) - 1) >> level);
            EXPECT_EQ(pyramid.Level(level).Height(), (c.height + (1 << level) - 1) >> level);
        }
        if (c.levels > 0) {
            const gfx::Bitmap& coarsest = pyramid.Level(c.levels);
            EXPECT_TRUE(coarsest.Width() <= c.viewWidth && coarsest.Height() <= c.viewHeight);
        }
        // Built from bands of six rows, as the view first composes a picture; then updated in parts.
        gfx::Bitmap band(c.width, 6);
        for (int32_t top = 0; top < c.height; top += band.Height()) {
            const gfx::Rect rows{0, top, c.width, std::min(band.Height(), c.height - top)};
            for (int32_t y = rows.y; y < rows.Bottom(); ++y) {
                std::copy_n(picture.Scanline(y), c.width, band.Scanline(y - top));
            }
            pyramid.Update(band, top, rows);
        }
        ASSERT_TRUE(LevelsMatchThePicture(pyramid, picture));
        for (int step = 0; step < 12; ++step) {
            const gfx::Rect area = gfx::Rect{int32_t(rng() % uint32_t(c.width)), int32_t(rng() % uint32_t(c.height)),
                                             1 + int32_t(rng() % 19), 1 + int32_t(rng() % 19)}
                                       .Intersected(picture.Bounds());
            paint(area, step % 3 == 0);
            pyramid.Update(picture, area);
        }
        EXPECT_TRUE(LevelsMatchThePicture(pyramid, picture));
    }
}

} // namespace
