#include "gfx/Graphics.h"
#include "gfx/ScaledDraw.h"

#include <gtest/gtest.h>

#include <random>

using namespace gfx;

namespace {

Bitmap Noise(int w, int h, uint32_t seed, bool opaque = true)
{
    Bitmap b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.SetPixel(x, y, opaque ? (rng() | 0xFF000000u) : rng());
        }
    }
    return b;
}

bool Same(const Bitmap& a, const Bitmap& b)
{
    return std::equal(a.Pixels(), a.Pixels() + size_t(a.Width()) * size_t(a.Height()), b.Pixels());
}

} // namespace

TEST(ScaledDraw, OneToOneIsAnExactOffsetCopy)
{
    const Bitmap src = Noise(30, 20, 1);
    Bitmap dst(30, 20);
    Graphics g(dst);
    g.DrawBitmap(src, Rect{0, 0, 20, 10}, Rect{10, 10, 20, 10});
    EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(10, 10));
    EXPECT_EQ(dst.GetPixel(19, 9), src.GetPixel(29, 19));
    EXPECT_EQ(dst.GetPixel(20, 0), 0u);
}

TEST(ScaledDraw, EnlargingInterpolatesBetweenNeighbours)
{
    Bitmap src(2, 1);
    src.SetPixel(0, 0, 0xFF000000);
    src.SetPixel(1, 0, 0xFFC8C8C8); // 200
    Bitmap dst(9, 1);
    Graphics g(dst);
    g.DrawBitmap(src, Rect{0, 0, 9, 1}, Rect{0, 0, 2, 1});
    // Pixel centres at 1/18 .. 17/18 of the way: the outer two on each side clamp.
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(2, 0) & 0xFF, 11u);  // 1/18 of 200
    EXPECT_EQ(dst.GetPixel(4, 0) & 0xFF, 100u); // the middle
    EXPECT_EQ(dst.GetPixel(6, 0) & 0xFF, 189u); // 17/18 of 200
    EXPECT_EQ(dst.GetPixel(8, 0), 0xFFC8C8C8u);
}

TEST(ScaledDraw, ShrinkingAveragesInsteadOfAliasing)
{
    // A one-pixel checkerboard shrunk 13 times must come out as even grey, not as
    // black or white depending on where the samples fall.
    Bitmap src(130, 130);
    for (int y = 0; y < 130; ++y) {
        for (int x = 0; x < 130; ++x) {
            src.SetPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
        }
    }
    Bitmap dst(10, 10);
    Graphics g(dst);
    g.DrawBitmap(src, dst.Bounds(), src.Bounds());
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const int v = int(dst.GetPixel(x, y) & 0xFF);
            EXPECT_NEAR(v, 128, 2) << x << "," << y;
        }
    }
}

TEST(ScaledDraw, SourceOutsideTheBitmapDrawsNothing)
{
    const Bitmap src = Noise(10, 10, 2);
    Bitmap dst(40, 40);
    Graphics g(dst);
    g.Clear(0xFF000000);
    // Twice the size; the source rectangle reaches 5 pixels past the right and bottom edges.
    g.DrawBitmap(src, Rect{0, 0, 30, 30}, Rect{0, 0, 15, 15});
    EXPECT_NE(dst.GetPixel(5, 5), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(25, 5), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(5, 25), 0xFF000000u);
    // Shrinking likewise.
    Bitmap small(10, 10);
    Graphics gs(small);
    gs.Clear(0xFF000000);
    gs.DrawBitmap(src, Rect{0, 0, 5, 5}, Rect{-10, 0, 20, 10});
    EXPECT_EQ(small.GetPixel(0, 0), 0xFF000000u);
    EXPECT_NE(small.GetPixel(4, 0), 0xFF000000u);
}

TEST(ScaledDraw, DrawingInClippedPiecesEqualsDrawingAtOnce)
{
    const Bitmap src = Noise(97, 83, 3, false);
    struct Case {
        Rect dest, source;
    } cases[] = {
        {{3, 4, 60, 50}, {0, 0, 97, 83}},     // shrink
        {{0, 0, 64, 64}, {10, 7, 20, 17}},    // enlarge
        {{5, 0, 50, 64}, {0, 20, 90, 10}},    // shrink one axis, enlarge the other
        {{-7, -3, 70, 70}, {-5, -5, 120, 90}} // beyond every edge
    };
    for (const Case& c : cases) {
        Bitmap whole(64, 64), pieces(64, 64);
        Graphics gw(whole), gp(pieces);
        gw.Clear(0xFF203040);
        gp.Clear(0xFF203040);
        gw.DrawBitmap(src, c.dest, c.source);
        for (int y = 0; y < 64; y += 13) {
            for (int x = 0; x < 64; x += 17) {
                gp.SetClip({x, y, 17, 13});
                gp.DrawBitmap(src, c.dest, c.source);
            }
        }
        EXPECT_TRUE(Same(whole, pieces)) << c.dest.x << "," << c.dest.width;
    }
}

TEST(ScaledDraw, TransparentPixelsDoNotDarkenTheirNeighbours)
{
    Bitmap src(2, 1);
    src.SetPixel(0, 0, 0xFFFFFFFF);
    src.SetPixel(1, 0, 0x00000000);
    Bitmap dst(1, 1);
    Graphics g(dst);
    g.SetCompositingMode(CompositingMode::SourceCopy);
    g.DrawBitmap(src, Rect{0, 0, 1, 1}, Rect{0, 0, 2, 1});
    EXPECT_EQ(dst.GetPixel(0, 0), 0x80FFFFFFu);
}

TEST(ScaledDraw, AreaBetweenPixelEdgesWithTheContentEndingInsideTheLastPixel)
{
    Bitmap src(3, 1);
    src.SetPixel(0, 0, 0xFF000000);
    src.SetPixel(1, 0, 0xFF646464); // 100
    src.SetPixel(2, 0, 0xFFC8C8C8); // 200, of which only the left half is content
    struct Case {
        SourceArea area;
        int32_t destWidth;
        Argb first, second;
    } cases[] = {
        {{0.5, 0, 2, 1, 3, 1}, 2, 0xFF323232, 0xFF969696},       // 1:1, half a pixel in: 50, 150
        {{0, 0, 3, 1, 2.5, 1}, 1, 0xFF505050, 0xFF123456},       // (0 + 100 + 200 / 2) / 2.5 = 80
        {{1, 0, 2, 1, 2.5, 1}, 2, 0xFF646464, 0xFF123456},       // the second centre, 2.5, lies past the content
    };
    for (const Case& c : cases) {
        Bitmap dst(2, 1);
        Graphics g(dst);
        g.Clear(0xFF123456);
        DrawScaled(dst, dst.Bounds(), CompositingMode::SourceCopy, src, Rect{0, 0, c.destWidth, 1}, c.area);
        EXPECT_EQ(dst.GetPixel(0, 0), c.first) << c.area.x << ", " << c.area.extentWidth;
        EXPECT_EQ(dst.GetPixel(1, 0), c.second) << c.area.x << ", " << c.area.extentWidth;
    }
}
