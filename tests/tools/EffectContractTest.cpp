#include "engine/FalloffMask.h"
#include "engine/MaskedEffect.h"
#include "engine/NullEffect.h"
#include "engine/PictureLayer.h"
#include "support/TestPictures.h"
#include "tools/BloatPinchEffect.h"
#include "tools/HealEffect.h"
#include "tools/LumaCurveEffect.h"
#include "tools/StretchWarpEffect.h"
#include "tools/TentBlurEffect.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using testpictures::Noise;
using testpictures::SamePixels;

namespace {

struct EffectCase {
    std::string name;
    std::function<std::shared_ptr<Effect>()> make;
};

std::vector<EffectCase> AllEffects()
{
    auto stretch = [] {
        auto e = std::make_shared<StretchWarpEffect>(1);
        e->SetTarget(45, 52); // inside every brush square used below
        return e;
    };
    return {
        {"tent blur", [] { return std::make_shared<TentBlurEffect>(5); }},
        {"masked tent blur", [] { return std::make_shared<MaskedEffect>(std::make_shared<TentBlurEffect>(5)); }},
        {"bloat", [] { return std::make_shared<BloatPinchEffect>(2); }},
        {"pinch", [] { return std::make_shared<BloatPinchEffect>(-2); }},
        {"brighten", [] { return std::make_shared<MaskedEffect>(std::make_shared<LumaCurveEffect>(2, 8)); }},
        {"darken", [] { return std::make_shared<LumaCurveEffect>(-2, -8); }},
        {"stretch", stretch},
        {"heal", [] { return std::make_shared<HealEffect>(); }},
    };
}

// Returns the same colour over the whole requested rectangle, unclipped.
class FlatEffect : public Effect {
public:
    explicit FlatEffect(uint32_t colour) : colour_(colour) {}
    Patch Apply(const Surface&, const gfx::Rect& r) override
    {
        auto s = testpictures::Filled(r.width, r.height, colour_);
        return {r.x, r.y, r.width, r.height, s};
    }

private:
    uint32_t colour_;
};

uint32_t AlphaOf(uint32_t p) { return p >> 24; }

} // namespace

TEST(EffectContract, EveryEffectLeavesItsSourceAloneAndStaysInsideThePicture)
{
    const auto picture = Noise(90, 100, 7, true);
    const auto before = CopySurface(*picture);
    for (const EffectCase& c : AllEffects()) {
        SCOPED_TRACE(c.name);
        auto effect = c.make();
        const Patch inside = effect->Apply(*picture, {30, 40, 30, 30});
        ASSERT_TRUE(inside.HasSurface());
        EXPECT_EQ(inside.surface->width, inside.width);
        EXPECT_EQ(inside.surface->height, inside.height);
        EXPECT_EQ(inside.Area().Intersected(picture->Bounds()), inside.Area());

        const Patch overlapping = effect->Apply(*picture, {-20, 60, 80, 80});
        if (overlapping.HasSurface()) {
            EXPECT_EQ(overlapping.Area().Intersected(picture->Bounds()), overlapping.Area());
        }
        EXPECT_FALSE(effect->Apply(*picture, {0, 0, 0, 0}).HasSurface());
        EXPECT_FALSE(effect->Apply(*picture, {200, 200, 30, 30}).HasSurface());
        EXPECT_TRUE(SamePixels(*picture, *before));
    }
}

TEST(EffectContract, NullEffectIsSharedAndChangesNothing)
{
    const auto picture = Noise(20, 20, 1);
    EXPECT_EQ(NullEffect::Shared(), NullEffect::Shared());
    const Patch patch = NullEffect::Shared()->Apply(*picture, {2, 2, 10, 10});
    EXPECT_FALSE(patch.HasSurface());
    EXPECT_EQ(patch.Area(), gfx::Rect{});
}

TEST(MaskedEffect, PassesAPatchWithoutSurfaceThrough)
{
    const auto picture = Noise(20, 20, 1);
    MaskedEffect masked(NullEffect::Shared());
    EXPECT_FALSE(masked.Apply(*picture, {2, 2, 10, 10}).HasSurface());
}

TEST(MaskedEffect, ScalesAlphaByTheFalloffMaskAndKeepsColours)
{
    const auto picture = Noise(60, 60, 3);
    const gfx::Rect brush{10, 12, 40, 40}; // a size whose mask holds the value 128
    MaskedEffect masked(std::make_shared<FlatEffect>(0x80123456));
    const Patch patch = masked.Apply(*picture, brush);
    const FalloffMask mask(brush);
    bool sawHalf = false;
    for (int32_t i = 0; i < patch.height; ++i) {
        for (int32_t j = 0; j < patch.width; ++j) {
            const uint32_t p = patch.surface->At(j, i);
            ASSERT_EQ(p & 0xFFFFFF, 0x123456u);
            ASSERT_EQ(AlphaOf(p), 128u * mask.At(i, j) / 255);
            if (mask.At(i, j) == 128) {
                sawHalf = true;
                EXPECT_EQ(AlphaOf(p), 64u);
            }
        }
    }
    EXPECT_TRUE(sawHalf);
}

TEST(MaskedEffect, BlendsFullyAtTheCentreAndNotAtTheCorners)
{
    auto picture = testpictures::Filled(50, 50, 0xFF204060);
    PictureLayer layer(picture);
    MaskedEffect masked(std::make_shared<FlatEffect>(0xFFE0C0A0));
    layer.BeginEdit();
    layer.CompositePatch(masked.Apply(layer.Working(), {10, 10, 21, 21}));
    EXPECT_EQ(layer.Working().At(20, 20), 0xFFE0C0A0u);
    for (const gfx::Point corner : {gfx::Point{10, 10}, gfx::Point{30, 10}, gfx::Point{10, 30}, gfx::Point{30, 30}}) {
        EXPECT_EQ(layer.Working().At(corner.x, corner.y), 0xFF204060u);
    }
}

// A requested rectangle reaching over the picture's edge: the mask stays centred on the
// requested rectangle, not on the clipped patch.
TEST(MaskedEffect, KeepsTheMaskWhereItWasRequestedWhenThePatchIsClipped)
{
    const auto picture = Noise(100, 100, 5);
    const gfx::Rect requested{-10, -6, 40, 40};
    MaskedEffect masked(std::make_shared<TentBlurEffect>(2));
    const Patch patch = masked.Apply(*picture, requested);
    ASSERT_EQ(patch.Area(), (gfx::Rect{0, 0, 30, 34}));
    const FalloffMask mask(requested);
    for (int32_t i = 0; i < patch.height; ++i) {
        for (int32_t j = 0; j < patch.width; ++j) {
            ASSERT_EQ(AlphaOf(patch.surface->At(j, i)), mask.At(i + 6, j + 10))
                << j << "," << i;
        }
    }
}
