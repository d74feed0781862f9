#include "support/TestPictures.h"
#include "tools/TentBlurEffect.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The blur of one pixel as the plain (2k + 1)^2 window sum.
uint32_t DirectTentBlur(const Surface& s, int32_t x, int32_t y, int32_t k)
{
    const std::vector<int64_t> w = TentBlurEffect::KernelWeights(k);
    int64_t W = 0, SA = 0, SAlpha = 0, SB = 0, SG = 0, SR = 0;
    for (int32_t dy = -k; dy <= k; ++dy) {
        for (int32_t dx = -k; dx <= k; ++dx) {
            const int32_t px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= s.width || py >= s.height) {
                continue;
            }
            const uint32_t p = s.At(px, py);
            const int64_t A = p >> 24, wx = w[size_t(dx + k)], wy = w[size_t(dy + k)];
            const int64_t Aw = (A + (A >> 7)) * wy;
            const int64_t e = Aw >> 8;
            W += wx * wy;
            SA += wx * Aw;
            SAlpha += wx * A * e;
            SB += wx * int64_t(p & 0xFF) * e;
            SG += wx * int64_t((p >> 8) & 0xFF) * e;
            SR += wx * int64_t((p >> 16) & 0xFF) * e;
        }
    }
    SA >>= 8;
    if (W == 0 || SA == 0) {
        return 0;
    }
    return uint32_t(SB / SA + (SG / SA << 8) + (SR / SA << 16) + (SAlpha / W << 24));
}

} // namespace

TEST(TentBlurEffect, KernelIsATentSummingTo576ForRadius5)
{
    const std::vector<int64_t> w = TentBlurEffect::KernelWeights(5);
    EXPECT_EQ(w, (std::vector<int64_t>{16, 32, 48, 64, 80, 96, 80, 64, 48, 32, 16}));
}

// Random pictures with and without alpha, rectangles inside, at the corners and
// hanging over the edges, several kernel radii.
TEST(TentBlurEffect, EqualsTheDirectWindowSumBitForBit)
{
    struct Case {
        int32_t width, height, k;
        bool withAlpha;
        gfx::Rect rect;
    };
    const Case cases[] = {
        {60, 50, 5, false, {10, 10, 30, 25}}, {60, 50, 5, true, {10, 10, 30, 25}},
        {60, 50, 5, true, {-3, -4, 20, 20}},  {60, 50, 5, true, {45, 35, 30, 30}},
        {7, 9, 5, true, {0, 0, 7, 9}},        {40, 40, 1, true, {0, 0, 40, 40}},
        {40, 40, 0, false, {5, 5, 10, 10}},   {40, 40, 12, true, {3, 8, 30, 20}},
    };
    uint32_t seed = 11;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " k=" << c.k << " alpha=" << c.withAlpha);
        const auto picture = testpictures::Noise(c.width, c.height, seed++, c.withAlpha);
        const Patch patch = TentBlurEffect(c.k).Apply(*picture, c.rect);
        ASSERT_TRUE(patch.HasSurface());
        for (int32_t i = 0; i < patch.height; ++i) {
            for (int32_t j = 0; j < patch.width; ++j) {
                ASSERT_EQ(patch.surface->At(j, i), DirectTentBlur(*picture, patch.x + j, patch.y + i, c.k))
                    << "at " << patch.x + j << "," << patch.y + i;
            }
        }
    }
}

TEST(TentBlurEffect, UniformAreaStaysAndASingleDarkPixelGetsItsWeightedShare)
{
    auto picture = testpictures::Filled(41, 41, 0xFFC8C8C8);
    const Patch uniform = TentBlurEffect(5).Apply(*picture, {5, 5, 31, 31});
    EXPECT_TRUE(testpictures::SamePixels(*uniform.surface, *testpictures::Filled(31, 31, 0xFFC8C8C8)));

    picture->Row(20)[20] = 0xFF000000;
    const Patch spot = TentBlurEffect(5).Apply(*picture, {20, 20, 1, 1});
    // (200 * (576^2 - 96^2) + 0 * 96^2) / 576^2, truncated
    const uint32_t grey = uint32_t(200 * (576 * 576 - 96 * 96) / (576 * 576));
    EXPECT_EQ(spot.surface->At(0, 0), 0xFF000000u | grey << 16 | grey << 8 | grey);
}

TEST(TentBlurEffect, TopLeftCornerUsesOnlyTheInsideQuarterOfTheWindow)
{
    auto picture = testpictures::Filled(20, 20, 0xFF646464);
    picture->Row(0)[0] = 0xFF000000;
    const Patch corner = TentBlurEffect(5).Apply(*picture, {0, 0, 1, 1});
    // Inside weights per axis: 96, 80, 64, 48, 32, 16 (sum 336).
    const uint32_t grey = uint32_t(100 * (336 * 336 - 96 * 96) / (336 * 336));
    EXPECT_EQ(corner.surface->At(0, 0) & 0xFF, grey);
}

TEST(TentBlurEffect, TransparentRegionGivesTransparentBlack)
{
    auto picture = testpictures::Filled(40, 40, 0x00FF8040);
    const Patch patch = TentBlurEffect(5).Apply(*picture, {10, 10, 20, 20});
    EXPECT_TRUE(testpictures::SamePixels(*patch.surface, *testpictures::Filled(20, 20, 0)));
}
