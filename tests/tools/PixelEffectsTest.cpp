#include "engine/MaskedEffect.h"
#include "engine/PictureLayer.h"
#include "engine/PixelHelpers.h"
#include "support/TestPictures.h"
#include "tools/BloatPinchEffect.h"
#include "tools/LumaCurveEffect.h"
#include "tools/StretchWarpEffect.h"

#include <gtest/gtest.h>

#include <cmath>

using testpictures::Filled;
using testpictures::Noise;

TEST(LumaCurveEffect, MovesEveryChannelByTheLumaChange)
{
    struct Case {
        const char* name;
        int32_t brightness, contrast;
        uint32_t in, out;
    };
    const Case cases[] = {
        {"brighten mid-grey", 2, 8, 0xFF808080, 0xFF828282},
        {"darken white", -2, -8, 0xFFFFFFFF, 0xFFF2F2F2},
        {"brighten black stays black", 2, 8, 0xFF000000, 0xFF000000},
        // luma of (R 200, G 100, B 50) is 124; brighten: (124 - 125) * 100 / 92 + 127 = 126
        {"colour keeps its hue", 2, 8, 0x40C86432, 0x40CA6634},
        {"neutral curve", 0, 0, 0xFF123456, 0xFF123456},
        {"threshold above", 0, 100, 0xFF909090, 0xFFFFFFFF},
        {"threshold below", 0, 100, 0x7F7F7F7F, 0x7F000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LumaCurveEffect effect(c.brightness, c.contrast);
        const auto picture = Filled(3, 3, c.in);
        const Patch patch = effect.Apply(*picture, {1, 1, 1, 1});
        EXPECT_EQ(patch.surface->At(0, 0), c.out);
    }
}

// The bc tool's brushes composite the curve's full result at the centre of the brush.
TEST(LumaCurveEffect, MaskedBrushGivesTheFullCurveAtTheCentreOnly)
{
    struct Case {
        int32_t brightness, contrast;
        uint32_t in, centre;
    };
    for (const Case& c : {Case{2, 8, 0xFF808080, 0xFF828282}, Case{-2, -8, 0xFFFFFFFF, 0xFFF2F2F2}}) {
        PictureLayer layer(Filled(60, 60, c.in));
        MaskedEffect brush(std::make_shared<LumaCurveEffect>(c.brightness, c.contrast));
        layer.BeginEdit();
        layer.CompositePatch(brush.Apply(layer.Working(), {10, 10, 40, 40}));
        EXPECT_EQ(layer.Working().At(30, 30), c.centre);
        EXPECT_EQ(layer.Working().At(10, 10), c.in);
        EXPECT_EQ(layer.Working().At(5, 30), c.in);
    }
}

TEST(BloatPinchEffect, CopiesPixelsAtOrBeyondTheRadiusBitForBit)
{
    const auto picture = Noise(80, 70, 9, true);
    const gfx::Rect square{10, 12, 50, 50};
    for (const int32_t direction : {2, -2}) {
        const Patch patch = BloatPinchEffect(direction).Apply(*picture, square);
        const float c = 25.0f;
        int32_t copied = 0;
        for (int32_t i = 0; i < patch.height; ++i) {
            for (int32_t j = 0; j < patch.width; ++j) {
                const float dx = float(j) - c, dy = float(i) - c;
                if (std::sqrt(dx * dx + dy * dy) >= c) {
                    ASSERT_EQ(patch.surface->At(j, i), picture->At(square.x + j, square.y + i));
                    ++copied;
                }
            }
        }
        EXPECT_GT(copied, 400);
        // the centre of an even square samples the centre point itself
        EXPECT_EQ(patch.surface->At(25, 25), picture->At(square.x + 25, square.y + 25));
    }
}

namespace {

// Vertical stripes two pixels wide; returns the width of the stripe through the centre.
int32_t StripeWidthAtCentre(int32_t direction)
{
    auto picture = CreateSurface(100, 100);
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            picture->Row(y)[x] = (x / 2) % 2 ? 0xFFFFFFFF : 0xFF000000;
        }
    }
    const Patch patch = BloatPinchEffect(direction).Apply(*picture, {20, 20, 60, 60});
    const uint32_t* row = patch.surface->Row(30);
    auto dark = [&](int32_t j) { return (row[j] & 0xFF) < 128; };
    int32_t left = 30, right = 30;
    while (left > 0 && dark(left - 1) == dark(30)) {
        --left;
    }
    while (right < 59 && dark(right + 1) == dark(30)) {
        ++right;
    }
    return right - left + 1;
}

} // namespace

TEST(BloatPinchEffect, BloatWidensAndPinchNarrowsTheCentre)
{
    EXPECT_EQ(BloatPinchEffect(2).Amount(), 0.32f);
    EXPECT_EQ(BloatPinchEffect(-2).Amount(), -0.32f);
    EXPECT_GE(StripeWidthAtCentre(2), 3);
    EXPECT_LE(StripeWidthAtCentre(-2), 2);
    EXPECT_LT(StripeWidthAtCentre(-2), StripeWidthAtCentre(2));
}

TEST(StretchWarpEffect, NeedsTheTargetStrictlyInsideTheBrushSquare)
{
    const auto picture = Noise(200, 200, 4);
    StretchWarpEffect warp(1);
    const gfx::Rect brush{80, 80, 50, 50};
    for (const gfx::Point target : {gfx::Point{80, 100}, gfx::Point{130, 100}, gfx::Point{100, 80},
                                    gfx::Point{100, 130}, gfx::Point{10, 10}}) {
        warp.SetTarget(target.x, target.y);
        EXPECT_FALSE(warp.Apply(*picture, brush).HasSurface()) << target.x << "," << target.y;
    }
    warp.SetTarget(81, 129);
    EXPECT_TRUE(warp.Apply(*picture, brush).HasSurface());
}

TEST(StretchWarpEffect, ZeroPullReturnsTheSourceOverThreeTimesTheSquare)
{
    const auto picture = Noise(300, 300, 6);
    StretchWarpEffect warp(1);
    warp.SetTarget(125, 125);
    const Patch patch = warp.Apply(*picture, {100, 100, 50, 50});
    ASSERT_EQ(patch.Area(), (gfx::Rect{50, 50, 150, 150}));
    for (int32_t i = 0; i < patch.height; ++i) {
        for (int32_t j = 0; j < patch.width; ++j) {
            ASSERT_EQ(patch.surface->At(j, i), picture->At(50 + j, 50 + i));
        }
    }
}

TEST(StretchWarpEffect, PullMovesContentAndSamplesBeyondTheEdgeAreTransparent)
{
    // A left-to-right ramp: pulling right makes pixels right of the centre sample
    // further left, so they get darker; nothing outside the disc changes.
    auto picture = CreateSurface(300, 300);
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 300; ++x) {
            picture->Row(y)[x] = 0xFF000000u | uint32_t(x * 255 / 299);
        }
    }
    StretchWarpEffect warp(1);
    warp.SetTarget(145, 125);
    const Patch patch = warp.Apply(*picture, {100, 100, 50, 50});
    EXPECT_LT(patch.surface->At(100, 75) & 0xFF, picture->At(150, 125) & 0xFF);
    EXPECT_EQ(patch.surface->At(0, 0), picture->At(50, 50));

    // At the picture's top-left corner the area is clipped; row and column 0 of the
    // picture are not strictly inside, so they come out transparent.
    warp.SetTarget(20, 20);
    const Patch corner = warp.Apply(*picture, {0, 0, 30, 30});
    ASSERT_EQ(corner.Area(), (gfx::Rect{0, 0, 60, 60}));
    EXPECT_EQ(corner.surface->At(0, 10), 0u);
    EXPECT_EQ(corner.surface->At(10, 0), 0u);
}

namespace {

// The warp pixel by pixel, every pixel through the bilinear sampler.
uint32_t DirectWarpPixel(const Surface& s, const gfx::Rect& area, gfx::Point pull, int32_t j, int32_t i)
{
    const float k = 1.0f / 300.0f;
    const float kx = float(pull.x) * k, ky = float(pull.y) * k;
    const float dx = float(j) - float(area.width) * 0.5f, dy = float(i) - float(area.height) * 0.5f;
    const float dist = std::sqrt(dx * dx + dy * dy);
    const float tx = 1.0f - dist / (float(area.width) * 0.5f);
    const float ty = 1.0f - dist / (float(area.height) * 0.5f);
    float sx = tx > 0.0f ? float(j) * (1.0f - tx * tx * kx) : float(j);
    float sy = ty > 0.0f ? float(i) * (1.0f - ty * ty * ky) : float(i);
    sx += float(area.x);
    sy += float(area.y);
    if (sx > 0.0f && sx < float(s.width) && sy > 0.0f && sy < float(s.height)) {
        return SampleBilinearWrapped(s, sx, sy);
    }
    return 0;
}

} // namespace

// Random pixels with random alpha (some fully transparent), areas inside the picture
// and clipped at each edge.
TEST(StretchWarpEffect, EqualsTheSampledFormulaAtEveryPixel)
{
    auto picture = Noise(160, 140, 12, true);
    for (int32_t n = 0; n < 160 * 140; n += 7) {
        picture->pixels[size_t(n)] &= 0x00FFFFFF;
    }
    struct Case {
        gfx::Rect brush;
        gfx::Point target;
    };
    const Case cases[] = {
        {{60, 50, 40, 40}, {95, 60}}, {{2, 3, 30, 30}, {5, 30}}, {{130, 110, 30, 30}, {135, 112}},
        {{70, 0, 20, 20}, {71, 19}},
    };
    for (const Case& c : cases) {
        StretchWarpEffect warp(1);
        warp.SetTarget(c.target.x, c.target.y);
        const Patch patch = warp.Apply(*picture, c.brush);
        ASSERT_TRUE(patch.HasSurface());
        const gfx::Point centre{(2 * c.brush.x + c.brush.width) / 2, (2 * c.brush.y + c.brush.height) / 2};
        const gfx::Point pull{c.target.x - centre.x, c.target.y - centre.y};
        for (int32_t i = 0; i < patch.height; ++i) {
            for (int32_t j = 0; j < patch.width; ++j) {
                ASSERT_EQ(patch.surface->At(j, i), DirectWarpPixel(*picture, patch.Area(), pull, j, i))
                    << "brush " << c.brush.x << "," << c.brush.y << " at " << j << "," << i;
            }
        }
    }
}

TEST(PixelEffects, OutOfRangeParametersStaySafe)
{
    const auto picture = Noise(100, 100, 13);
    // contrast beyond 100 is the threshold curve
    const Patch threshold = LumaCurveEffect(0, 150).Apply(*picture, {10, 10, 20, 20});
    const Patch reference = LumaCurveEffect(0, 100).Apply(*picture, {10, 10, 20, 20});
    EXPECT_TRUE(testpictures::SamePixels(*threshold.surface, *reference.surface));
    // no strength means no pull
    StretchWarpEffect still(0);
    still.SetTarget(45, 35);
    const Patch unmoved = still.Apply(*picture, {30, 30, 20, 20});
    ASSERT_TRUE(unmoved.HasSurface());
    EXPECT_EQ(unmoved.surface->At(30, 30), picture->At(unmoved.x + 30, unmoved.y + 30));
}
