#include "imageio/PictureRows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A bitmap whose every pixel names its picture, row and column.
gfx::Bitmap Numbered(int32_t width, int32_t height, uint32_t tag)
{
    gfx::Bitmap bitmap(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            bitmap.Scanline(y)[x] = 0xFF000000u | tag << 16 | uint32_t(y) << 8 | uint32_t(x);
        }
    }
    return bitmap;
}

} // namespace

// The pair is as high as the left picture: rows past a shorter right picture are
// transparent there, and rows of a taller right picture past the left's height are
// never read. Run under the sanitizers, a read past either picture would show.
TEST(SideBySideRows, TheLeftPictureSetsTheHeightAndTheRightOneIsPaddedOrCut)
{
    const struct {
        int32_t leftWidth, leftHeight, rightWidth, rightHeight;
    } cases[] = {{3, 5, 4, 5}, {3, 5, 4, 2}, {3, 2, 4, 6}, {1, 1, 5, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.leftWidth << "x" << c.leftHeight << " beside " << c.rightWidth << "x"
                                        << c.rightHeight);
        const gfx::Bitmap left = Numbered(c.leftWidth, c.leftHeight, 1);
        const gfx::Bitmap right = Numbered(c.rightWidth, c.rightHeight, 2);
        const SideBySideRows pair(left, right);
        ASSERT_EQ(pair.Width(), c.leftWidth + c.rightWidth);
        ASSERT_EQ(pair.Height(), c.leftHeight);
        std::vector<gfx::Argb> scratch(size_t(pair.Width()), 0xDEADBEEFu);
        for (int32_t y = 0; y < pair.Height(); ++y) {
            const gfx::Argb* row = pair.Row(y, scratch.data());
            for (int32_t x = 0; x < pair.Width(); ++x) {
                const bool inRight = x >= c.leftWidth;
                const gfx::Argb expected = !inRight                ? left.Scanline(y)[x]
                                           : y < c.rightHeight ? right.Scanline(y)[x - c.leftWidth]
                                                                   : gfx::Argb{0};
                EXPECT_EQ(row[x], expected) << "at " << x << ", " << y;
            }
        }
    }
}
