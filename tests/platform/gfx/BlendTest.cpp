#include "gfx/Blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace gfx;

namespace {

// Source-over in floating point, the definition the integer code must follow.
Argb ReferenceBlend(Argb dst, Argb src)
{
    const double sa = AlphaOf(src) / 255.0, da = AlphaOf(dst) / 255.0;
    const double outA = sa + da * (1 - sa);
    if (outA <= 0) {
        return 0;
    }
    auto channel = [&](uint32_t s, uint32_t d) {
        return uint32_t(std::lround((s * sa + d * da * (1 - sa)) / outA));
    };
    return MakeArgb(uint32_t(std::lround(outA * 255)), channel(RedOf(src), RedOf(dst)),
                    channel(GreenOf(src), GreenOf(dst)), channel(BlueOf(src), BlueOf(dst)));
}

} // namespace

TEST(Blend, FixedCases)
{
    struct Case {
        const char* name;
        Argb dst, src, expected;
    } cases[] = {
        {"opaque source replaces", 0xFF102030, 0xFFA0B0C0, 0xFFA0B0C0},
        {"transparent source keeps", 0x80102030, 0x00FFFFFF, 0x80102030},
        {"half white over black", 0xFF000000, 0x80FFFFFF, 0xFF808080},
        {"over nothing keeps source colour", 0x00000000, 0x40123456, 0x40123456},
        {"translucent over translucent", 0x80FF0000, 0x800000FF, 0xC05500AA},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlendSourceOver(c.dst, c.src), c.expected) << c.name;
    }
}

TEST(Blend, MatchesFloatingPointReferenceWithinOne)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const Argb dst = rng(), src = rng();
        const Argb got = BlendSourceOver(dst, src), want = ReferenceBlend(dst, src);
        for (int shift = 0; shift < 32; shift += 8) {
            const int g = int((got >> shift) & 0xFF), w = int((want >> shift) & 0xFF);
            ASSERT_LE(std::abs(g - w), 1) << std::hex << dst << " " << src;
        }
    }
}

TEST(Blend, RowMatchesPixelByPixel)
{
    std::mt19937 rng(11);
    std::vector<Argb> src(257), dst(257);
    for (size_t i = 0; i < src.size();) {
        // Mix runs of opaque and transparent pixels, up to 20 long, with partial ones.
        const uint32_t kind = rng() % 3;
        for (const size_t end = std::min(src.size(), i + 1 + rng() % 20); i < end; ++i) {
            src[i] = kind == 0 ? (rng() | 0xFF000000u) : kind == 1 ? (rng() & 0x00FFFFFFu) : rng();
            dst[i] = rng();
        }
    }
    std::vector<Argb> row = dst;
    BlendRowSourceOver(row.data(), src.data(), row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        EXPECT_EQ(row[i], BlendSourceOver(dst[i], src[i])) << i;
    }
}
