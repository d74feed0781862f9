#include "QtTestApp.h"

#include "shell/BitmapImage.h"

#include <gtest/gtest.h>

#include <QPainter>

TEST(BitmapImage, KeepsNonPremultipliedPixelsBothWays)
{
    TestApplication();
    gfx::Bitmap bitmap(3, 2);
    const gfx::Argb pixels[] = {0x80102030, 0xFFFF0000, 0x00000000, 0x01FFFFFF, 0xFF00FF00, 0x7F7F7F7F};
    std::copy(std::begin(pixels), std::end(pixels), bitmap.Pixels());

    const QImage image = shell::ToQImage(bitmap);
    ASSERT_EQ(image.size(), QSize(3, 2));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(image.pixel(i % 3, i / 3), pixels[i]) << i;
    }
    const gfx::Bitmap back = shell::ToBitmap(image);
    EXPECT_TRUE(std::equal(std::begin(pixels), std::end(pixels), back.Pixels()));

    // Another format is converted, not reinterpreted.
    QImage rgb(2, 1, QImage::Format_RGB888);
    rgb.setPixel(0, 0, qRgb(1, 2, 3));
    rgb.setPixel(1, 0, qRgb(250, 128, 0));
    const gfx::Bitmap fromRgb = shell::ToBitmap(rgb);
    EXPECT_EQ(fromRgb.GetPixel(0, 0), gfx::MakeArgb(255, 1, 2, 3));
    EXPECT_EQ(fromRgb.GetPixel(1, 0), gfx::MakeArgb(255, 250, 128, 0));
    EXPECT_TRUE(shell::ToBitmap(QImage()).IsEmpty());
}

TEST(BitmapImage, PaintingOnAWrappedBitmapChangesItsPixels)
{
    TestApplication();
    gfx::Bitmap bitmap(10, 10);
    {
        QImage image = shell::WrapBitmap(bitmap);
        QPainter painter(&image);
        painter.fillRect(QRect(2, 3, 4, 5), QColor(10, 20, 30));
    }
    EXPECT_EQ(bitmap.GetPixel(2, 3), gfx::MakeArgb(255, 10, 20, 30));
    EXPECT_EQ(bitmap.GetPixel(5, 7), gfx::MakeArgb(255, 10, 20, 30));
    EXPECT_EQ(bitmap.GetPixel(6, 7), gfx::colors::Transparent);
    EXPECT_EQ(bitmap.GetPixel(2, 8), gfx::colors::Transparent);

    // A copy taken from the read-only view does not write back.
    QImage view = shell::WrapBitmapReadOnly(bitmap);
    view.setPixel(0, 0, 0xFFFFFFFF);
    EXPECT_EQ(bitmap.GetPixel(0, 0), gfx::colors::Transparent);
}
