#include "engine/Surface.h"

#include "support/TestPictures.h"

#include <gtest/gtest.h>

TEST(Surface, OnePixelSurfaceHasStrideFourAndCopiesExactly)
{
    auto s = testpictures::Filled(1, 1, 0x80402010);
    EXPECT_EQ(s->stride, 4);
    auto copy = CopySurface(*s);
    EXPECT_NE(copy->pixels.get(), s->pixels.get());
    EXPECT_EQ(copy->At(0, 0), 0x80402010u);
}

TEST(Surface, CopyRegionTakesTheBlockAtItsOrigin)
{
    auto source = CreateSurface(10, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            source->Row(y)[x] = uint32_t(y * 100 + x);
        }
    }
    auto dest = CreateSurface(2, 2);
    CopyRegion(*source, 3, 4, *dest);
    EXPECT_EQ(dest->At(0, 0), 403u);
    EXPECT_EQ(dest->At(1, 0), 404u);
    EXPECT_EQ(dest->At(0, 1), 503u);
    EXPECT_EQ(dest->At(1, 1), 504u);
}

TEST(Surface, WrappedBitmapSharesThePixels)
{
    auto s = testpictures::Filled(4, 3, 0);
    gfx::Bitmap b = WrapAsBitmap(*s);
    b.SetPixel(2, 1, 0xFFABCDEF);
    EXPECT_EQ(s->At(2, 1), 0xFFABCDEFu);

    auto fromImage = SurfaceFromImage(b);
    EXPECT_EQ(fromImage->width, 4);
    EXPECT_EQ(fromImage->At(2, 1), 0xFFABCDEFu);
    EXPECT_NE(fromImage->pixels.get(), s->pixels.get());
}

TEST(Surface, MovingAnImageInTakesItsPixelsAndCopiesBorrowedOnes)
{
    gfx::Bitmap owned(3, 2);
    owned.SetPixel(2, 1, 0xFF010203);
    const gfx::Argb* memory = owned.Pixels();
    auto moved = MoveIntoSurface(std::move(owned));
    EXPECT_EQ(moved->pixels.get(), memory);
    EXPECT_EQ(moved->stride, 12);
    EXPECT_EQ(moved->At(2, 1), 0xFF010203u);
    EXPECT_TRUE(owned.IsEmpty());

    gfx::Bitmap borrowed = WrapAsBitmap(*moved);
    auto copied = MoveIntoSurface(std::move(borrowed));
    EXPECT_NE(copied->pixels.get(), memory);
    EXPECT_EQ(copied->At(2, 1), 0xFF010203u);
}
