#include "gfx/AreaSpans.h"
#include "support/TestPictures.h"
#include "tools/PlaneFilters.h"
#include "tools/PolygonCoverage.h"
#include "tools/SkinColour.h"
#include "tools/SkinSmoothing.h"
#include "tools/WorkCopy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using testpictures::Filled;

namespace {

uint32_t Grey(int32_t v) { return 0xFF000000u | uint32_t(v) * 0x010101u; }

// Skin-coloured noise with a soft dark disc (a blemish) of the given radius at (cx, cy).
std::shared_ptr<Surface> SkinWithBlemish(int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t radius)
{
    auto picture = CreateSurface(width, height);
    std::mt19937 rng(5);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            const float down = 30.0f * float(std::clamp((radius + 1.0 - d) / 2.0, 0.0, 1.0));
            const float n = noise(rng);
            auto level = [&](float base) { return uint32_t(std::clamp(std::lround(base + n - down), 0L, 255L)); };
            picture->Row(y)[x] = 0xFF000000u | level(215) << 16 | level(170) << 8 | level(150);
        }
    }
    return picture;
}

double DiscBelowRing(const Surface& picture, int32_t cx, int32_t cy, int32_t radius)
{
    double disc = 0, ring = 0;
    int discCount = 0, ringCount = 0;
    for (int32_t y = cy - radius - 6; y <= cy + radius + 6; ++y) {
        for (int32_t x = cx - radius - 6; x <= cx + radius + 6; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            const double green = (picture.At(x, y) >> 8) & 0xFF;
            if (d <= radius - 1) {
                disc += green;
                ++discCount;
            } else if (d >= radius + 3 && d <= radius + 6) {
                ring += green;
                ++ringCount;
            }
        }
    }
    return ring / ringCount - disc / discCount;
}

} // namespace

TEST(SkinPixelsTest, AreaSpansAndWorkCopiesAverageExactly)
{
    // 7 source pixels onto 3 at 2.5 each: the last one covers the 2 that are left.
    const std::vector<gfx::AreaSpan> spans = gfx::AreaSpans(3, 2.5, 7);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].first, 0);
    EXPECT_EQ(spans[0].weights, (std::vector<float>{0.4f, 0.4f, 0.2f}));
    EXPECT_EQ(spans[1].first, 2);
    EXPECT_EQ(spans[1].weights, (std::vector<float>{0.2f, 0.4f, 0.4f}));
    EXPECT_EQ(spans[2].first, 5);
    EXPECT_EQ(spans[2].weights, (std::vector<float>{0.5f, 0.5f}));

    // Columns of 0 and 100 alternating, reduced by 2 from an odd start: 50 everywhere.
    auto stripes = CreateSurface(41, 9);
    for (int32_t y = 0; y < 9; ++y) {
        for (int32_t x = 0; x < 41; ++x) {
            stripes->Row(y)[x] = Grey(x % 2 ? 100 : 0);
        }
    }
    const WorkCopy copy(*stripes, {3, 1, 36, 8}, 2.0);
    ASSERT_EQ(copy.Width(), 18);
    ASSERT_EQ(copy.Height(), 4);
    for (float v : copy.Channel(1).Values()) {
        EXPECT_FLOAT_EQ(v, 50.0f);
    }
    EXPECT_DOUBLE_EQ(copy.ColumnOf(3.5), 0.0); // work pixel 0's centre is picture 3.5
    EXPECT_EQ(copy.PixelsCovering({10, 4, 3, 1}), (gfx::Rect{3, 1, 2, 1})); // pixels 3, 4 cover 9 .. 12

    // Refreshing after a change gives what a fresh copy gives; a window keeps its values.
    WorkCopy kept(*stripes, {0, 0, 41, 9}, 3.0);
    for (int32_t y = 2; y < 6; ++y) {
        for (int32_t x = 10; x < 20; ++x) {
            stripes->Row(y)[x] = Grey(200);
        }
    }
    kept.Refresh(*stripes, {10, 2, 10, 4});
    const WorkCopy fresh(*stripes, {0, 0, 41, 9}, 3.0);
    EXPECT_EQ(kept.Channel(0).Values(), fresh.Channel(0).Values());
    const WorkCopy window = fresh.Window({2, 1, 5, 2});
    EXPECT_EQ(window.Width(), 5);
    EXPECT_FLOAT_EQ(window.Channel(2).At(1, 0), fresh.Channel(2).At(3, 1));
    EXPECT_DOUBLE_EQ(window.ColumnOf(7.0), fresh.ColumnOf(7.0) - 2);
}

TEST(SkinPixelsTest, PolygonCoverageAndBoxMeansAreExact)
{
    // A rectangle from (1.5, 0.25) to (4.25, 2): its sub-rows at 0.375, 0.625 and
    // 0.875 of row 0 lie inside, so row 0 is three quarters covered where the columns are.
    const Plane covered = PolygonCoverage({{1.5f, 0.25f}, {4.25f, 0.25f}, {4.25f, 2.0f}, {1.5f, 2.0f}}, 6, 3);
    const float row0[] = {0, 0.375f, 0.75f, 0.75f, 0.1875f, 0};
    const float row1[] = {0, 0.5f, 1, 1, 0.25f, 0};
    for (int32_t x = 0; x < 6; ++x) {
        EXPECT_FLOAT_EQ(covered.At(x, 0), row0[x]) << x;
        EXPECT_FLOAT_EQ(covered.At(x, 1), row1[x]) << x;
        EXPECT_FLOAT_EQ(covered.At(x, 2), 0.0f) << x;
    }

    // Box means renormalise at the edges: the corner's window holds 4 values, not 9.
    Plane ramp(3, 2);
    ramp.Values() = {0, 3, 6, 9, 12, 15};
    const Plane mean = BoxMean(ramp, 1);
    EXPECT_FLOAT_EQ(mean.At(0, 0), (0 + 3 + 9 + 12) / 4.0f);
    EXPECT_FLOAT_EQ(mean.At(1, 1), (0 + 3 + 6 + 9 + 12 + 15) / 6.0f);
    const Plane flat = TripleBoxMean(Plane(40, 30, 7.5f), 4);
    for (float v : flat.Values()) {
        EXPECT_FLOAT_EQ(v, 7.5f);
    }
}

TEST(SkinPixelsTest, SkinColoursAndOthers)
{
    const SkinColour skin = SkinColour::Generic();
    struct Case {
        const char* name;
        float red, green, blue;
        bool isSkin;
    };
    const Case cases[] = {
        {"fair skin", 230, 190, 170, true},     {"tanned skin", 200, 150, 120, true},
        {"dark skin", 120, 80, 60, true},       {"shadowed fair skin", 115, 95, 85, true},
        {"grey wall", 216, 212, 208, false},    {"white", 250, 250, 250, false},
        {"dark red flag", 133, 17, 15, false},  {"blue eye", 70, 110, 160, false},
        {"green leaves", 60, 140, 50, false},   {"black hair", 20, 18, 16, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(skin.Weight(c.red, c.green, c.blue), c.isSkin ? 1.0f : 0.0f) << c.name;
    }
}

TEST(SkinPixelsTest, SmoothingTakesBlemishesAwayAndLeavesFlatOrUnmaskedPixelsExactly)
{
    // A face 200 pixels wide needs no reduction; one 600 wide works at a third.
    EXPECT_DOUBLE_EQ(SkinSmoothing::FactorFor(200), 1.0);
    EXPECT_DOUBLE_EQ(SkinSmoothing::FactorFor(600), 2.5);

    const auto picture = SkinWithBlemish(150, 110, 70, 52, 5);
    const gfx::Rect area{20, 10, 100, 90};
    const WorkCopy copy(*picture, area.Inflated(SkinSmoothing::MarginFor(150)), 1.0);
    auto apply = [&](int32_t strength, float maskValue) {
        SkinSmoothing smoothing(copy, area, 150, strength);
        smoothing.SetMask(Plane(smoothing.Base().Width(), smoothing.Base().Height(), maskValue));
        auto out = CopySurface(*picture);
        for (int32_t y = area.y; y < area.Bottom(); ++y) {
            smoothing.SmoothRow(*picture, y, out->Row(y) + area.x);
        }
        return out;
    };
    const double before = DiscBelowRing(*picture, 70, 52, 5);
    EXPECT_GT(before, 25.0);
    EXPECT_LT(DiscBelowRing(*apply(50, 1.0f), 70, 52, 5), 0.2 * before);
    EXPECT_LT(DiscBelowRing(*apply(100, 1.0f), 70, 52, 5), DiscBelowRing(*apply(25, 1.0f), 70, 52, 5));
    EXPECT_TRUE(testpictures::SamePixels(*apply(0, 1.0f), *picture));
    EXPECT_TRUE(testpictures::SamePixels(*apply(100, 0.0f), *picture));

    // A flat picture has nothing to smooth: not a level changes.
    const auto flat = Filled(90, 70, 0xFFD7AA96u);
    const WorkCopy flatCopy(*flat, flat->Bounds(), 1.0);
    SkinSmoothing smoothing(flatCopy, {5, 5, 80, 60}, 150, 100);
    smoothing.SetMask(Plane(smoothing.Base().Width(), smoothing.Base().Height(), 1.0f));
    std::vector<uint32_t> row(80);
    for (int32_t y = 5; y < 65; ++y) {
        smoothing.SmoothRow(*flat, y, row.data());
        for (uint32_t p : row) {
            ASSERT_EQ(p, 0xFFD7AA96u);
        }
    }
}
