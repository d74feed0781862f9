#include "art/EyelidTexture.h"
#include "files/AppFiles.h"
#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

// What the program does to the texture when it loads it.
gfx::Argb AsLoaded(gfx::Argb stored)
{
    auto add = [](uint32_t byte) { return uint32_t(uint8_t(byte + 112)); };
    return gfx::MakeArgb(gfx::AlphaOf(stored), add(gfx::RedOf(stored)), add(gfx::GreenOf(stored)),
                         add(gfx::BlueOf(stored)));
}

uint32_t Lightness(gfx::Argb c) { return std::min({gfx::RedOf(c), gfx::GreenOf(c), gfx::BlueOf(c)}); }

struct LoadedTexture {
    int width = 0;
    int height = 0;
    std::vector<gfx::Argb> pixels;
    gfx::Argb At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // How many rows of a column are darker than a light grey: the stroke's thickness there.
    int InkedRows(int x) const
    {
        int rows = 0;
        for (int y = 0; y < height; ++y) {
            rows += Lightness(At(x, y)) < 200;
        }
        return rows;
    }
};

LoadedTexture LoadTexture()
{
    LoadedTexture texture;
    const auto stored = LoadAppImage("x.bmp");
    if (!stored) {
        ADD_FAILURE() << "x.bmp is missing or unreadable";
        return texture;
    }
    texture.width = stored->Width();
    texture.height = stored->Height();
    for (int y = 0; y < texture.height; ++y) {
        for (int x = 0; x < texture.width; ++x) {
            texture.pixels.push_back(AsLoaded(stored->GetPixel(x, y)));
        }
    }
    return texture;
}

} // namespace

TEST(EyelidTexture, StoredBytesComeBackAfterTheWrappingAdd)
{
    EXPECT_EQ(EyelidTexture::LoadedByte(200), 56);
    EXPECT_EQ(EyelidTexture::StoredByte(255), 143);
    EXPECT_EQ(EyelidTexture::StoredByte(40), 184);
    for (int wanted = 0; wanted < 256; ++wanted) {
        EXPECT_EQ(EyelidTexture::LoadedByte(EyelidTexture::StoredByte(uint8_t(wanted))), wanted);
    }
}

TEST(EyelidTexture, LoadedTextureIsDarkInTheMiddleAndWhiteAtTopAndBottom)
{
    const LoadedTexture texture = LoadTexture();
    ASSERT_GE(texture.height, 8);
    ASSERT_GE(texture.width, 64);
    const int middleX = texture.width / 2;
    const int middleY = texture.height / 2;
    EXPECT_LT(Lightness(texture.At(middleX, middleY)), 80u);
    EXPECT_LT(Lightness(texture.At(middleX, middleY - 1)), 80u);
    for (int x = 0; x < texture.width; ++x) {
        EXPECT_GE(Lightness(texture.At(x, 0)), 245u) << "top row at " << x;
        EXPECT_GE(Lightness(texture.At(x, texture.height - 1)), 245u) << "bottom row at " << x;
    }
    // Soft: from the middle row outward each row is at least as light as the one before.
    for (int y = middleY; y + 1 < texture.height; ++y) {
        EXPECT_LE(Lightness(texture.At(middleX, y)), Lightness(texture.At(middleX, y + 1)));
    }
    for (int y = middleY - 1; y > 0; --y) {
        EXPECT_LE(Lightness(texture.At(middleX, y)), Lightness(texture.At(middleX, y - 1)));
    }
    for (gfx::Argb p : texture.pixels) {
        ASSERT_EQ(gfx::AlphaOf(p), 255u);
    }
}

TEST(EyelidTexture, StrokeTapersAtBothEnds)
{
    const LoadedTexture texture = LoadTexture();
    ASSERT_GE(texture.width, 64);
    const int w = texture.width;
    const int middleY = texture.height / 2;
    for (int y = 0; y < texture.height; ++y) {
        // White ends also make the wrap-around sampling at the ends seamless.
        EXPECT_GE(Lightness(texture.At(0, y)), 245u);
        EXPECT_GE(Lightness(texture.At(w - 1, y)), 245u);
    }
    for (const bool fromRight : {false, true}) {
        auto column = [&](int x) { return fromRight ? w - 1 - x : x; };
        // Darker and thicker toward the middle, from either end.
        EXPECT_GT(Lightness(texture.At(column(w / 16), middleY)), Lightness(texture.At(column(w / 6), middleY)));
        EXPECT_GT(Lightness(texture.At(column(w / 6), middleY)), Lightness(texture.At(column(w / 2), middleY)));
        EXPECT_LT(texture.InkedRows(column(w / 8)), texture.InkedRows(column(w / 2)));
    }
}
