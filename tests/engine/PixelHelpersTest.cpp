#include "engine/PixelHelpers.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

TEST(PixelHelpers, IntersectRectsWritesTheResultEvenWhenEmpty)
{
    gfx::Rect out;
    EXPECT_TRUE(IntersectRects({0, 0, 10, 10}, {5, 6, 10, 10}, out));
    EXPECT_EQ(out, (gfx::Rect{5, 6, 5, 4}));

    // Touching rectangles share no pixel.
    EXPECT_FALSE(IntersectRects({0, 0, 10, 10}, {10, 0, 5, 5}, out));
    EXPECT_EQ(out, (gfx::Rect{10, 0, 0, 5}));
    EXPECT_FALSE(IntersectRects({0, 0, 2, 2}, {5, 5, 2, 2}, out));
    EXPECT_EQ(out.width, -3);
}

TEST(PixelHelpers, ClipToSurfaceKeepsTheInsidePart)
{
    auto s = CreateSurface(100, 50);
    gfx::Rect r{-10, 40, 30, 30};
    EXPECT_TRUE(ClipToSurface(r, *s));
    EXPECT_EQ(r, (gfx::Rect{0, 40, 20, 10}));
    gfx::Rect outside{100, 0, 5, 5};
    EXPECT_FALSE(ClipToSurface(outside, *s));
}

TEST(PixelHelpers, SampleAtWholeCoordinatesReturnsThePixel)
{
    auto s = testpictures::Noise(7, 5, 3, true);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const uint32_t p = s->At(x, y);
            const uint32_t got = SampleBilinearWrapped(*s, float(x), float(y));
            if ((p >> 24) == 0) {
                EXPECT_EQ(got, 0u);
            } else {
                EXPECT_EQ(got, p) << x << "," << y;
            }
        }
    }
}

TEST(PixelHelpers, SampleWrapsAroundTheEdges)
{
    // Column 0 black, last column white: x = -0.5 mixes the two halves.
    auto s = testpictures::Filled(8, 4, 0xFF808080);
    for (int y = 0; y < 4; ++y) {
        s->Row(y)[0] = 0xFF000000;
        s->Row(y)[7] = 0xFFC8C8C8;
    }
    EXPECT_EQ(SampleBilinearWrapped(*s, -0.5f, 1.0f), 0xFF646464u);
    // Past the right edge the right neighbour is column 0.
    EXPECT_EQ(SampleBilinearWrapped(*s, 7.5f, 1.0f), 0xFF646464u);
    // Far outside wraps by whole widths.
    EXPECT_EQ(SampleBilinearWrapped(*s, -16.0f, 1.0f), 0xFF000000u);
}

TEST(PixelHelpers, SampleWeighsColoursByAlpha)
{
    auto s = testpictures::Filled(2, 2, 0);
    EXPECT_EQ(SampleBilinearWrapped(*s, 0.5f, 0.5f), 0u);
    // A transparent red neighbour must not tint an opaque blue one.
    s->Row(0)[0] = 0xFF0000FF;
    s->Row(0)[1] = 0x00FF0000;
    const uint32_t mixed = SampleBilinearWrapped(*s, 0.5f, 0.0f);
    EXPECT_EQ(mixed & 0x00FFFFFF, 0x0000FFu);
    EXPECT_EQ(mixed >> 24, 128u);
}
