#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace gfx;

TEST(Bitmap, OwnedBitmapStartsTransparentAndClonesDeeply)
{
    Bitmap b(3, 2);
    EXPECT_EQ(b.Stride(), 12);
    EXPECT_EQ(b.GetPixel(2, 1), 0u);
    b.SetPixel(1, 1, 0xFF112233);
    Bitmap copy = b.Clone();
    b.SetPixel(1, 1, 0);
    EXPECT_EQ(copy.GetPixel(1, 1), 0xFF112233u);
}

TEST(Bitmap, BorrowedBitmapWritesThroughToCallerMemory)
{
    uint32_t pixels[4] = {1, 2, 3, 4};
    Bitmap b = Bitmap::Borrow(2, 2, pixels);
    EXPECT_FALSE(b.OwnsPixels());
    b.SetPixel(0, 1, 99);
    EXPECT_EQ(pixels[2], 99u);
}

TEST(Bitmap, RotatedClockwiseMovesCornersAround)
{
    // 3 wide, 2 high:  a b c      turned:  d a
    //                  d e f               e b
    //                                      f c
    Bitmap b(3, 2);
    const uint32_t a = 1, bb = 2, c = 3, d = 4, e = 5, f = 6;
    b.SetPixel(0, 0, a);
    b.SetPixel(1, 0, bb);
    b.SetPixel(2, 0, c);
    b.SetPixel(0, 1, d);
    b.SetPixel(1, 1, e);
    b.SetPixel(2, 1, f);
    const Bitmap r = b.RotatedClockwise();
    ASSERT_EQ(r.Width(), 2);
    ASSERT_EQ(r.Height(), 3);
    const uint32_t expected[3][2] = {{d, a}, {e, bb}, {f, c}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(r.GetPixel(x, y), expected[y][x]) << x << "," << y;
        }
    }
}

TEST(Bitmap, PictureSizedBitmapsStartTransparentAndCloneExactly)
{
    for (const auto& [width, height] : {std::pair{3000, 1999}, std::pair{17, 5}}) {
        Bitmap cleared(width, height);
        const Argb* pixels = cleared.Pixels();
        const size_t count = size_t(width) * size_t(height);
        EXPECT_EQ(std::count(pixels, pixels + count, 0u), ptrdiff_t(count)) << width;

        Bitmap written = Bitmap::ForOverwrite(width, height);
        ASSERT_TRUE(written.OwnsPixels());
        for (size_t i = 0; i < count; ++i) {
            written.Pixels()[i] = Argb(i * 2654435761u);
        }
        const Bitmap copy = written.Clone();
        EXPECT_TRUE(std::equal(copy.Pixels(), copy.Pixels() + count, written.Pixels())) << width;
    }
}
