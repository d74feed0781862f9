#include "faces/GrayPicture.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

using testpictures::Filled;

TEST(GrayPictureTest, ReducesByHalvingThenByAreaAndMapsPointsBack)
{
    // 3,000 x 10: halved once to 1,500, then 1.25 picture pixels per grey pixel down to
    // the 1,200 asked for: 2.5 picture pixels per grey pixel in all. Left half black,
    // right half white, so grey pixel 599 covers black alone and 600 white alone.
    auto picture = Filled(3000, 10, 0xFF000000u);
    for (int32_t y = 0; y < 10; ++y) {
        std::fill(picture->Row(y) + 1500, picture->Row(y) + 3000, 0xFFFFFFFFu);
    }
    const GrayPicture gray = GrayPicture::Reduced(*picture, 1200);
    ASSERT_EQ(gray.Width(), 1200);
    ASSERT_EQ(gray.Height(), 4); // 5 halved rows / 1.25
    EXPECT_DOUBLE_EQ(gray.Scale(), 2.5);
    for (int32_t y = 0; y < gray.Height(); ++y) {
        EXPECT_EQ(gray.Row(y)[0], 0);
        EXPECT_EQ(gray.Row(y)[599], 0);
        EXPECT_EQ(gray.Row(y)[600], 255);
        EXPECT_EQ(gray.Row(y)[1199], 255);
    }
    // Grey pixel 0's centre is picture position 0.75 (its span 0 .. 2.5 less half a pixel).
    EXPECT_EQ(gray.ToPicture({0, 0}), (gfx::PointF{0.75f, 0.75f}));
    EXPECT_EQ(gray.ToPicture({600, 2}), (gfx::PointF{1500.75f, 5.75f}));
}

TEST(GrayPictureTest, LumaOfSmallPicturesAndNothingOfLines)
{
    // Mid-grey red: 0.299 * 200 + 0.587 * 100 + 0.114 * 50 = 124.2.
    const GrayPicture one = GrayPicture::Reduced(*Filled(1, 1, 0xFFC86432u), 1200);
    ASSERT_EQ(one.Width(), 1);
    ASSERT_EQ(one.Height(), 1);
    EXPECT_EQ(one.Row(0)[0], 124);
    EXPECT_DOUBLE_EQ(one.Scale(), 1.0);

    // A picture that fits is copied at scale 1, a pixel for a pixel.
    auto small = Filled(700, 300, 0xFF000000u);
    small->Row(299)[699] = 0xFFFFFFFFu;
    const GrayPicture copy = GrayPicture::Reduced(*small, 1200);
    EXPECT_EQ(copy.Width(), 700);
    EXPECT_EQ(copy.Height(), 300);
    EXPECT_EQ(copy.Row(299)[699], 255);
    EXPECT_EQ(copy.Row(299)[698], 0);

    // 30,000 x 1 halves to nothing in height: no copy, and no crash.
    EXPECT_TRUE(GrayPicture::Reduced(*Filled(30000, 1, 0xFF808080u), 1200).IsEmpty());
    EXPECT_TRUE(GrayPicture::Reduced(*Filled(1, 30000, 0xFF808080u), 1200).IsEmpty());

    // A stop requested before the work starts gives an empty copy.
    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(GrayPicture::Reduced(*Filled(5000, 4000, 0xFF808080u), 1200, stop.get_token()).IsEmpty());
}
