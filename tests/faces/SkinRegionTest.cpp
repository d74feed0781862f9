#include "faces/FaceFinder.h"
#include "faces/SkinRegion.h"
#include "support/SamplePortrait.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

bool Inside(const Polygon& polygon, gfx::PointF p)
{
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const gfx::PointF a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

gfx::PointF Turned(gfx::PointF p, double degrees, gfx::PointF about)
{
    const double a = degrees * std::numbers::pi / 180.0, c = std::cos(a), s = std::sin(a);
    const double dx = p.x - about.x, dy = p.y - about.y;
    return {float(about.x + c * dx - s * dy), float(about.y + s * dx + c * dy)};
}

Face SampleFace()
{
    const FaceModel::Loaded loaded = FaceModel::Load();
    const std::vector<Face> faces = FaceFinder(loaded.model).Find(*sampleportrait::Load());
    return faces.at(0);
}

} // namespace

TEST(SkinRegionTest, WideningAndBandsAreExact)
{
    const Polygon widened = Widened({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, std::sqrt(2.0f), 2.0f);
    const Polygon expected = {{-3, -3}, {5, -3}, {5, 5}, {-3, 5}}; // each corner 1 + 1 out, then doubled
    ASSERT_EQ(widened.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(widened[i].x, expected[i].x, 1e-5f);
        EXPECT_NEAR(widened[i].y, expected[i].y, 1e-5f);
    }
    const Polygon band = Band({{0, 0}, {5, 0}, {10, 0}}, 2);
    const Polygon rectangle = {{-2, -2}, {5, -2}, {12, -2}, {12, 2}, {5, 2}, {-2, 2}};
    ASSERT_EQ(band.size(), rectangle.size());
    for (size_t i = 0; i < rectangle.size(); ++i) {
        EXPECT_EQ(band[i], rectangle[i]) << i;
    }
    EXPECT_TRUE(Band({{3, 3}}, 2).empty());
}

TEST(SkinRegionTest, SampleFaceRegionTurnsWithTheFace)
{
    const Face face = SampleFace();
    const SkinRegion region(face);
    EXPECT_NEAR(region.Up().x, 0.0f, 0.06f); // the sample looks straight ahead
    EXPECT_NEAR(region.Up().y, -1.0f, 0.01f);
    EXPECT_NEAR(region.FaceWidth(), 90.0f, 10.0f);
    EXPECT_FLOAT_EQ(region.Feather(), SkinRegion::kFeatherShare * region.FaceWidth());

    // Skin inside: the nose, the cheeks, the forehead up to the fringe; eyes,
    // brows and mouth in holes; the background outside.
    const gfx::Point skin[] = {{226, 115}, {195, 125}, {258, 125}, {226, 84}, {226, 70}};
    const gfx::Point holes[] = {{203, 101}, {247, 103}, {226, 157}, {200, 88}, {250, 91}};
    const gfx::Point outside[] = {{226, 50}, {170, 120}, {280, 120}, {226, 185}};
    auto inSkin = [&](gfx::Point p) {
        const gfx::PointF at{float(p.x), float(p.y)};
        bool inHole = false;
        for (const Polygon& hole : region.Holes()) {
            inHole = inHole || Inside(hole, at);
        }
        return Inside(region.Outline(), at) && !inHole;
    };
    for (gfx::Point p : skin) {
        EXPECT_TRUE(inSkin(p)) << p.x << ", " << p.y;
    }
    for (gfx::Point p : holes) {
        EXPECT_TRUE(Inside(region.Outline(), {float(p.x), float(p.y)})) << p.x << ", " << p.y;
        EXPECT_FALSE(inSkin(p)) << p.x << ", " << p.y;
    }
    for (gfx::Point p : outside) {
        EXPECT_FALSE(inSkin(p)) << p.x << ", " << p.y;
    }
    const gfx::Rect bounds = region.Bounds();
    for (const gfx::PointF& p : region.Outline()) {
        EXPECT_TRUE(bounds.Contains(int32_t(std::floor(p.x)), int32_t(std::floor(p.y))));
    }

    // The same face turned by any angle, even upside down, gives the same region turned.
    const gfx::PointF about{226, 120};
    for (double degrees : {25.0, -40.0, 90.0, 180.0}) {
        Face turned = face;
        for (gfx::PointF& p : turned.points) {
            p = Turned(p, degrees, about);
        }
        const SkinRegion turnedRegion(turned);
        const gfx::PointF up = Turned(region.Up(), degrees, {0, 0});
        EXPECT_NEAR(turnedRegion.Up().x, up.x, 1e-4f) << degrees;
        EXPECT_NEAR(turnedRegion.Up().y, up.y, 1e-4f) << degrees;
        EXPECT_NEAR(turnedRegion.FaceWidth(), region.FaceWidth(), 1e-3f);
        ASSERT_EQ(turnedRegion.Outline().size(), region.Outline().size());
        for (size_t i = 0; i < region.Outline().size(); ++i) {
            const gfx::PointF expected = Turned(region.Outline()[i], degrees, about);
            EXPECT_NEAR(turnedRegion.Outline()[i].x, expected.x, 2e-3f) << degrees << " point " << i;
            EXPECT_NEAR(turnedRegion.Outline()[i].y, expected.y, 2e-3f) << degrees << " point " << i;
        }
        ASSERT_EQ(turnedRegion.Holes().size(), 6u);
        for (size_t h = 0; h < region.Holes().size(); ++h) {
            for (size_t i = 0; i < region.Holes()[h].size(); ++i) {
                const gfx::PointF expected = Turned(region.Holes()[h][i], degrees, about);
                EXPECT_NEAR(turnedRegion.Holes()[h][i].x, expected.x, 2e-3f) << degrees;
                EXPECT_NEAR(turnedRegion.Holes()[h][i].y, expected.y, 2e-3f) << degrees;
            }
        }
    }
}
