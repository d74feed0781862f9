#include "engine/PictureLayer.h"
#include "support/SampleBlemishes.h"
#include "support/TestPictures.h"
#include "tools/HealDisc.h"
#include "tools/HealEffect.h"
#include "tools/PoissonBlend.h"
#include "tools/PremultipliedArea.h"
#include "tools/SourceFeatures.h"
#include "tools/SpotFinder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

using testpictures::Filled;
using testpictures::SamePixels;
using testpictures::Skin;

namespace {

// The brush square whose circle is centred on the pixel, as BrushRect makes it.
gfx::Rect BrushAround(gfx::Point centre, int32_t radius)
{
    return {centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
}

// The effect's patch composited onto a copy of the picture as the click tools do it.
std::shared_ptr<Surface> Healed(const Surface& picture, const gfx::Rect& brush, Patch* patchOut = nullptr)
{
    HealEffect heal;
    const Patch patch = heal.Apply(picture, brush);
    PictureLayer layer(CopySurface(picture));
    layer.BeginEdit();
    layer.CompositePatch(patch);
    if (patchOut) {
        *patchOut = patch;
    }
    return CopySurface(layer.Working());
}

void CopyBlock(const Surface& from, gfx::Point fromAt, Surface& to, gfx::Point toAt, int32_t side)
{
    for (int32_t i = 0; i < side; ++i) {
        for (int32_t j = 0; j < side; ++j) {
            to.Row(toAt.y + i)[toAt.x + j] = from.At(fromAt.x + j, fromAt.y + i);
        }
    }
}

void FillDisc(Surface& s, gfx::Point centre, int32_t radius, uint32_t colour)
{
    for (int32_t y = centre.y - radius; y <= centre.y + radius; ++y) {
        for (int32_t x = centre.x - radius; x <= centre.x + radius; ++x) {
            if ((x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y) <= radius * radius) {
                s.Row(y)[x] = colour;
            }
        }
    }
}

struct TinyCase {
    std::string name;
    std::function<std::shared_ptr<Surface>()> picture;
    gfx::Rect brush;
    // With a spot painted at the brush's centre (then the flat picture must come back
    // exactly); without one nothing may change.
    bool spot;
};

std::shared_ptr<Surface> WithoutAlpha(std::shared_ptr<Surface> s)
{
    for (size_t i = 0; i < size_t(s->width) * size_t(s->height); ++i) {
        s->pixels[i] &= 0x00FFFFFFu;
    }
    return s;
}

} // namespace

// Pictures hardly larger than the brush, brushes reaching over edges and corners, and
// areas with nothing to heal: the result is exact, and nothing is read outside the
// picture (this test also runs under the sanitizers).
TEST(HealEffect, FillsFromWhatExistsAtEdgesCornersAndOnTinyPictures)
{
    const auto flat = [](int32_t w, int32_t h, uint32_t colour = 0xFFC89678) {
        return [=] { return Filled(w, h, colour); };
    };
    const std::vector<TinyCase> cases = {
        {"1 x 1", flat(1, 1), BrushAround({0, 0}, 10), true},
        {"1 x 1, brush inside", flat(1, 1), {0, 0, 1, 1}, true},
        {"3 x 200", flat(3, 200), BrushAround({1, 100}, 10), true},
        {"200 x 3", flat(200, 3), BrushAround({120, 2}, 12), true},
        {"top left corner", flat(64, 40), BrushAround({0, 0}, 10), true},
        {"top right corner", flat(64, 40), BrushAround({63, 0}, 11), true},
        {"bottom left corner", flat(64, 40), BrushAround({0, 39}, 12), true},
        {"bottom right corner", flat(64, 40), BrushAround({63, 39}, 10), true},
        {"no source fits beside the disc", flat(12, 10), BrushAround({6, 5}, 10), true},
        {"smaller than the search area", flat(90, 52), BrushAround({40, 26}, 10), true},
        {"half transparent", flat(70, 50, 0x80C08060), BrushAround({30, 20}, 10), true},
        {"flat", flat(70, 50), BrushAround({30, 20}, 10), false},
        {"fully transparent", [] { return WithoutAlpha(testpictures::Noise(70, 50, 4)); }, BrushAround({30, 20}, 10),
         false},
        {"outside the picture", flat(70, 50), {80, 10, 20, 20}, false},
    };
    for (const TinyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto clean = c.picture();
        auto picture = CopySurface(*clean);
        const gfx::Point centre{c.brush.x + c.brush.width / 2, c.brush.y + c.brush.height / 2};
        if (c.spot) {
            const blemishes::Blemish spot{centre.x, centre.y, 3};
            blemishes::Paint(*picture, std::span(&spot, 1));
            ASSERT_FALSE(SamePixels(*picture, *clean));
        }
        const auto before = CopySurface(*picture);
        Patch patch;
        const auto result = Healed(*picture, c.brush, &patch);
        EXPECT_TRUE(SamePixels(*picture, *before)) << "the source is left alone";
        if (patch.HasSurface()) {
            EXPECT_EQ(patch.Area().Intersected(picture->Bounds()), patch.Area());
            EXPECT_EQ(patch.Area().Intersected(c.brush), patch.Area());
        }
        // A single pixel has no surroundings to heal from.
        const bool healable = c.spot && picture->width * picture->height > 1;
        EXPECT_EQ(patch.HasSurface(), healable);
        EXPECT_TRUE(SamePixels(*result, healable ? *clean : *before));
    }
}

// A place whose ring is an exact twin of the target's is taken, and copied exactly
// (nothing is left to blend); put an eye inside the twin and plain skin is taken instead.
TEST(HealEffect, TakesTheBestMatchingSkinButNeverAnEye)
{
    constexpr int32_t kRadius = 10;
    const gfx::Point target{60, 50}, twin{92, 34}; // an even offset: the halved copies match too
    const auto skin = Skin(150, 110, 3);
    CopyBlock(*skin, {target.x - 15, target.y - 15}, *skin, {twin.x - 15, twin.y - 15}, 31);
    const blemishes::Blemish spot{target.x, target.y, 4};
    blemishes::Paint(*skin, std::span(&spot, 1));

    const auto healed = Healed(*skin, BrushAround(target, kRadius));
    for (int32_t dy = -kRadius; dy < kRadius; ++dy) {
        for (int32_t dx = -kRadius; dx < kRadius; ++dx) {
            ASSERT_EQ(healed->At(target.x + dx, target.y + dy), skin->At(twin.x + dx, twin.y + dy)) << dx << "," << dy;
        }
    }

    FillDisc(*skin, twin, 6, 0xFF3A2418);
    const auto avoided = Healed(*skin, BrushAround(target, kRadius));
    bool changed = false;
    for (int32_t dy = -kRadius; dy < kRadius; ++dy) {
        for (int32_t dx = -kRadius; dx < kRadius; ++dx) {
            const uint32_t p = avoided->At(target.x + dx, target.y + dy);
            changed = changed || p != skin->At(target.x + dx, target.y + dy);
            ASSERT_GE((p >> 16) & 0xFF, 190u) << dx << "," << dy; // skin red is 196 .. 204
            ASSERT_GE(p & 0xFF, 110u) << dx << "," << dy;
        }
    }
    EXPECT_TRUE(changed);
}

namespace {

// value = base + slope.x * x + slope.y * y in every colour channel, opaque.
std::shared_ptr<Surface> Slope(int32_t width, int32_t height, int32_t base, gfx::Point slope)
{
    auto s = CreateSurface(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const auto v = uint32_t(base + slope.x * x + slope.y * y);
            s->Row(y)[x] = 0xFF000000u | v << 16 | v << 8 | v;
        }
    }
    return s;
}

} // namespace

// An even slope is its own smooth surface, so the fill through any border of it is the
// slope again, with or without a source taken elsewhere on it; where the disc meets the
// picture's edge the slope must run along that edge, as nothing is fixed there.
TEST(PoissonBlend, FillsAnEvenSlopeExactlyAlsoWhereTheDiscMeetsAnEdge)
{
    struct Case {
        const char* name;
        gfx::Point slope;
        gfx::Point centre;
        int32_t radius;
        std::optional<gfx::Point> source;
    };
    const Case cases[] = {
        {"inside, no source", {2, 1}, {40, 30}, 12, std::nullopt},
        {"inside, source above", {2, 1}, {40, 30}, 12, gfx::Point{-3, -18}},
        {"left edge, slope down", {0, 3}, {2, 30}, 12, std::nullopt},
        {"top edge, slope across", {3, 0}, {40, 1}, 9, gfx::Point{20, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto slope = Slope(90, 70, 20, c.slope);
        const PremultipliedArea pixels(*slope, slope->Bounds());
        const HealDisc disc = HealDisc::UnderBrush({c.centre.x - c.radius, c.centre.y - c.radius, 2 * c.radius, 2 * c.radius},
                                                   slope->Bounds());
        const std::vector<PremultipliedPixel> filled = PoissonBlend(pixels, {0, 0}, slope->Bounds()).Fill(disc, c.source);
        ASSERT_EQ(filled.size(), size_t(disc.bounds.Area()));
        int32_t checked = 0;
        for (int32_t y = disc.bounds.y; y < disc.bounds.Bottom(); ++y) {
            for (int32_t x = disc.bounds.x; x < disc.bounds.Right(); ++x) {
                if (disc.Contains(x, y)) {
                    const float expected = float(20 + c.slope.x * x + c.slope.y * y);
                    const PremultipliedPixel& p = filled[size_t(y - disc.bounds.y) * size_t(disc.bounds.width) + size_t(x - disc.bounds.x)];
                    ASSERT_NEAR(p.channel[0], expected, 0.05f) << x << "," << y;
                    ASSERT_NEAR(p.channel[3], 255.0f, 0.05f);
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 100);
    }
}

// The disc healed is the spot with its soft edge (darkened up to a pixel beyond its
// radius) and no more, wherever on the spot the click lands and whatever lies further
// out in the brush circle: a brow below, a larger dark area round it. A click off any
// spot, on a band or on plain skin heals the whole brush disc.
TEST(SpotFinder, TakesTheSpotTheClickLiesOnAndItsEdgeNotTheBrowOrShadowBeyond)
{
    struct Case {
        const char* name;
        int32_t spotRadius;   // 0: no spot
        gfx::Point spotAt;    // from the click
        bool brow;            // a dark band across the brush, 9 pixels below the click
        int32_t shadowRadius; // a larger, fainter dark disc round the spot's centre, 2 pixels off
        bool found;
    };
    const Case cases[] = {
        {"radius 3 under the click", 3, {0, 0}, false, 0, true},
        {"radius 6 under the click", 6, {0, 0}, false, 0, true},
        {"radius 3 above a brow", 3, {0, 0}, true, 0, true},
        {"radius 4, clicked 3 pixels left of its centre", 4, {3, 0}, false, 0, true},
        {"radius 3, clicked at (-3,+2) on its rim", 3, {3, -2}, true, 0, true},
        {"radius 6, clicked on its rim along a diagonal", 6, {-4, 4}, false, 0, true},
        {"radius 3 in a shadow", 3, {1, -1}, false, 9, true},
        {"radius 3, 6 pixels from the click", 3, {6, 0}, false, 0, false},
        {"nothing", 0, {0, 0}, false, 0, false},
        {"only a brow", 0, {0, 0}, true, 0, false},
    };
    const gfx::Point click{53, 41};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto picture = Filled(110, 84, 0xFFC89678);
        if (c.brow) {
            for (int32_t y = click.y + 9; y < click.y + 12; ++y) {
                for (int32_t x = 0; x < picture->width; ++x) {
                    picture->Row(y)[x] = 0xFF503828;
                }
            }
        }
        const gfx::Point spotCentre{click.x + c.spotAt.x, click.y + c.spotAt.y};
        if (c.shadowRadius > 0) {
            const blemishes::Blemish shadow{spotCentre.x + 2, spotCentre.y, c.shadowRadius};
            blemishes::Paint(*picture, std::span(&shadow, 1), 20);
        }
        if (c.spotRadius > 0) {
            const blemishes::Blemish spot{spotCentre.x, spotCentre.y, c.spotRadius};
            blemishes::Paint(*picture, std::span(&spot, 1));
        }
        const gfx::Rect brush = BrushAround(click, 20);
        const HealDisc brushDisc = HealDisc::UnderBrush(brush, picture->Bounds());
        ASSERT_EQ(brushDisc.radius, 18);
        const gfx::Rect read = SpotFinder::AreaRead(brushDisc).Intersected(picture->Bounds());
        const PremultipliedArea pixels(*picture, read);
        const HealDisc healed = SpotFinder(pixels, {read.x, read.y}).SpotIn(brushDisc, brush);
        const HealDisc expected = c.found ? HealDisc::Around(spotCentre, c.spotRadius + 1, brush) : brushDisc;
        EXPECT_EQ(healed.centre, expected.centre);
        EXPECT_EQ(healed.radius, expected.radius);
        EXPECT_EQ(healed.bounds, expected.bounds);
    }
}

namespace {

// Hair: rows two pixels dark, two pixels light, with skin's texture on them.
std::shared_ptr<Surface> Hair(int32_t width, int32_t height)
{
    auto hair = Skin(width, height, 7);
    for (int32_t y = 0; y < height; ++y) {
        if (y % 4 < 2) {
            for (int32_t x = 0; x < width; ++x) {
                hair->Row(y)[x] -= 0x00786450;
            }
        }
    }
    return hair;
}

} // namespace

// A brush on plain skin with nothing but hair within reach: the disc is filled from its
// surroundings alone, exactly the smooth surface through them; put a patch of skin
// within reach and its texture is taken instead, and neither fill holds a hair's stripe.
TEST(HealEffect, FillsFromTheSurroundingsAloneWhereOnlyHairIsWithinReach)
{
    constexpr int32_t kRadius = 10;
    const gfx::Point target{70, 52};
    auto picture = Hair(150, 110);
    CopyBlock(*Skin(41, 41, 3), {0, 0}, *picture, {target.x - 20, target.y - 20}, 41);
    const gfx::Rect brush = BrushAround(target, kRadius);
    const HealDisc disc = HealDisc::UnderBrush(brush, picture->Bounds());
    const PremultipliedArea pixels(*picture, picture->Bounds());
    const std::vector<PremultipliedPixel> smooth = PoissonBlend(pixels, {0, 0}, picture->Bounds()).Fill(disc, std::nullopt);

    const auto healedAmongHair = Healed(*picture, brush);
    CopyBlock(*Skin(31, 31, 5), {0, 0}, *picture, {target.x + 15, target.y - 15}, 31); // 30 pixels right
    const auto healedBesideSkin = Healed(*picture, brush);
    bool textured = false;
    for (int32_t y = disc.bounds.y; y < disc.bounds.Bottom(); ++y) {
        for (int32_t x = disc.bounds.x; x < disc.bounds.Right(); ++x) {
            if (!disc.Contains(x, y)) {
                continue;
            }
            const size_t i = size_t(y - disc.bounds.y) * size_t(disc.bounds.width) + size_t(x - disc.bounds.x);
            ASSERT_EQ(healedAmongHair->At(x, y), smooth[i].ToArgb()) << x << "," << y;
            textured = textured || healedBesideSkin->At(x, y) != smooth[i].ToArgb();
            for (const auto& healed : {healedAmongHair, healedBesideSkin}) {
                ASSERT_GE((healed->At(x, y) >> 16) & 0xFF, 190u) << x << "," << y; // skin red is 196 .. 204
            }
        }
    }
    EXPECT_TRUE(textured);
}

// The strongest edges round every place, found with sliding maxima, are those found
// patch by patch, on a picture wider than high, for radii smaller and larger than a patch.
TEST(SourceFeatures, StrongestEdgesEverywhereEqualThoseFoundPlaceByPlace)
{
    const auto noise = testpictures::Noise(23, 17, 9);
    const PremultipliedArea pixels(*noise, noise->Bounds());
    const SourceFeatures features(pixels);
    for (const int32_t radius : {1, 2, 5, 12}) {
        SCOPED_TRACE(radius);
        const std::vector<float> everywhere = features.StrongestEdgesEverywhere(radius);
        ASSERT_EQ(everywhere.size(), size_t(23 * 17));
        for (int32_t y = 0; y < 17; ++y) {
            for (int32_t x = 0; x < 23; ++x) {
                ASSERT_EQ(everywhere[size_t(y) * 23 + size_t(x)], features.StrongestEdges({x, y}, radius)) << x << "," << y;
            }
        }
    }
}
