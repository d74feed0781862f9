#include "engine/PixelHelpers.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

namespace {

// The sampler's formula written out plainly in 64-bit arithmetic.
uint32_t ReferenceSample(const Surface& s, float x, float y)
{
    const int64_t cx0 = int64_t(std::floor(x)), cy0 = int64_t(std::floor(y));
    const uint64_t fx = uint64_t((x - std::floor(x)) * 256.0f), fy = uint64_t((y - std::floor(y)) * 256.0f);
    auto wrap = [](int64_t i, int64_t size) {
        return i < 0 ? (i + 1) % size + size - 1 : i > size - 1 ? i % size : i;
    };
    const int64_t cx = wrap(cx0, s.width), cy = wrap(cy0, s.height);
    const int64_t nx = cx + 1 == s.width ? 0 : cx + 1, ny = cy + 1 == s.height ? 0 : cy + 1;
    const uint32_t p[4] = {s.At(int32_t(cx), int32_t(cy)), s.At(int32_t(nx), int32_t(cy)),
                           s.At(int32_t(cx), int32_t(ny)), s.At(int32_t(nx), int32_t(ny))};
    const uint64_t w[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
    uint64_t total = 0;
    for (int i = 0; i < 4; ++i) {
        total += w[i] * (p[i] >> 24);
    }
    const uint64_t alpha = (total + 0x8000) >> 16;
    if (alpha == 0) {
        return 0;
    }
    uint32_t out = uint32_t(alpha) << 24;
    for (int shift : {0, 8, 16}) {
        uint64_t sum = 0;
        for (int i = 0; i < 4; ++i) {
            sum += uint64_t((p[i] >> shift) & 0xFF) * w[i] * (p[i] >> 24);
        }
        out |= uint32_t(sum / total) << shift;
    }
    return out;
}

} // namespace

TEST(PixelHelpers, SampleMatchesThePlainFormulaEverywhere)
{
    std::mt19937 rng(21);
    std::uniform_real_distribution<float> coordinate(-40.0f, 60.0f);
    // Opaque, translucent, and opaque with a few transparent holes.
    auto opaque = testpictures::Noise(17, 13, 1);
    auto translucent = testpictures::Noise(17, 13, 2, true);
    auto holes = testpictures::Noise(17, 13, 3);
    for (int i = 0; i < 40; ++i) {
        holes->pixels[rng() % (17 * 13)] &= 0x00FFFFFF;
    }
    for (const Surface* s : {opaque.get(), translucent.get(), holes.get()}) {
        for (int i = 0; i < 20000; ++i) {
            const float x = coordinate(rng), y = coordinate(rng);
            ASSERT_EQ(SampleBilinearWrapped(*s, x, y), ReferenceSample(*s, x, y)) << x << "," << y;
        }
    }
}
