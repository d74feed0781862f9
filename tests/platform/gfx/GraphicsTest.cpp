#include "gfx/Graphics.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace gfx;

namespace {

std::set<std::pair<int, int>> PixelsOf(const Bitmap& b, Argb colour)
{
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            if (b.GetPixel(x, y) == colour) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

} // namespace

TEST(Graphics, EllipseOutlineSpansItsBoxAndIsSymmetric)
{
    Bitmap b(40, 40);
    Graphics g(b);
    g.DrawEllipse(colors::Red, {5, 8, 20, 14});
    const auto pixels = PixelsOf(b, colors::Red);
    ASSERT_FALSE(pixels.empty());
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (auto [x, y] : pixels) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        EXPECT_TRUE(pixels.contains({5 + 25 - x, y})) << "mirror of " << x << "," << y;
        EXPECT_TRUE(pixels.contains({x, 8 + 22 - y})) << "mirror of " << x << "," << y;
    }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 25);
    EXPECT_EQ(minY, 8);
    EXPECT_EQ(maxY, 22);
    // The centre stays untouched: it is an outline.
    EXPECT_EQ(b.GetPixel(15, 15), 0u);
}

TEST(Graphics, EllipseOutlineHasNoGaps)
{
    Bitmap b(120, 120);
    Graphics g(b);
    g.DrawEllipse(colors::Red, {10, 10, 97, 61});
    const auto pixels = PixelsOf(b, colors::Red);
    // Every outline pixel touches at least two others (8-connected).
    for (auto [x, y] : pixels) {
        int neighbours = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                neighbours += (dx || dy) && pixels.contains({x + dx, y + dy});
            }
        }
        EXPECT_GE(neighbours, 2) << x << "," << y;
    }
}

TEST(Graphics, EmptyShapesDrawNothingAndClipLimitsEverything)
{
    Bitmap b(20, 20);
    Graphics g(b);
    g.DrawEllipse(colors::Red, {0, 0, 0, 0});
    EXPECT_TRUE(PixelsOf(b, colors::Red).empty());

    g.SetClip({5, 5, 5, 5});
    g.FillRectangle(colors::Red, {0, 0, 20, 20});
    g.DrawEllipse(colors::White, {-3, -3, 30, 30});
    const auto red = PixelsOf(b, colors::Red);
    EXPECT_EQ(red.size(), 25u);
    for (auto [x, y] : red) {
        EXPECT_TRUE(x >= 5 && x < 10 && y >= 5 && y < 10);
    }
    EXPECT_TRUE(PixelsOf(b, colors::White).empty());
}

TEST(Graphics, RectangleOutlineRunsThroughBothEdges)
{
    Bitmap b(10, 10);
    Graphics g(b);
    g.DrawRectangle(colors::Red, {1, 2, 4, 3});
    const auto pixels = PixelsOf(b, colors::Red);
    EXPECT_EQ(pixels.size(), 14u); // 5 x 4 box outline
    EXPECT_TRUE(pixels.contains({1, 2}));
    EXPECT_TRUE(pixels.contains({5, 5}));
    EXPECT_FALSE(pixels.contains({3, 3}));
}

TEST(Graphics, DrawBitmapBlendsOrCopiesByMode)
{
    Bitmap dst(4, 1);
    Graphics g(dst);
    g.Clear(0xFF0000FF);
    Bitmap src(2, 1);
    src.SetPixel(0, 0, 0x00FF0000); // transparent
    src.SetPixel(1, 0, 0xFFFF0000); // opaque
    g.DrawBitmap(src, Point{1, 0});
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFF0000FFu);
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFFFF0000u);

    g.SetCompositingMode(CompositingMode::SourceCopy);
    g.DrawBitmap(src, Point{-1, 0}); // partly outside on the left
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFFFF0000u);
    g.DrawBitmap(src, Point{2, 0});
    EXPECT_EQ(dst.GetPixel(2, 0), 0x00FF0000u);
}

TEST(Graphics, DrawingIntoPartsOfAPictureEqualsDrawingIntoAllOfIt)
{
    // Every kind of call, translucent so that blending shows, on a 61 x 43 picture and
    // on bands of it (with a column left out) whose top-left pixels are their origins.
    Bitmap source(9, 7);
    for (int32_t i = 0; i < 63; ++i) {
        source.SetPixel(i % 9, i / 9, MakeArgb(uint32_t(40 + 3 * i), uint32_t(5 * i), 200, uint32_t(90 + i)));
    }
    auto drawAll = [&](Graphics& g) {
        g.Clear(0xFF203040);
        g.SetClip({2, 3, 55, 38});
        g.FillRectangle(0x80C08040, {-5, 10, 40, 20});
        g.DrawRectangle(0xC000FF00, {4, 6, 50, 30});
        g.DrawEllipse(0xFFFF0000, {10, 4, 41, 33});
        g.DrawLine(0x90FFFFFF, {0, 42}, {60, 1});
        g.DrawBitmap(source, Point{30, 9});
        g.DrawBitmap(source, Rect{3, 20, 30, 21}, Rect{1, 1, 8, 6});
        g.SetCompositingMode(CompositingMode::SourceCopy);
        g.DrawBitmap(source, Rect{40, 25, 5, 4}, Rect{0, 0, 9, 7});
    };
    Bitmap whole(61, 43);
    Graphics all(whole);
    drawAll(all);
    for (const Rect part : {Rect{0, 0, 61, 14}, Rect{0, 14, 61, 15}, Rect{1, 29, 60, 14}}) {
        Bitmap band(part.width, part.height);
        Graphics g(band, {part.x, part.y});
        ASSERT_EQ(g.Area(), part);
        drawAll(g);
        for (int32_t y = part.y; y < part.Bottom(); ++y) {
            for (int32_t x = part.x; x < part.Right(); ++x) {
                ASSERT_EQ(g.PixelAt(x, y), whole.GetPixel(x, y)) << x << ", " << y;
            }
        }
    }
}
