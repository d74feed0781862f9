#include "imageio/JpegFileName.h"

#include <gtest/gtest.h>

TEST(JpegFileName, AppendsJpgUnlessTheFileNameEndsInJpg)
{
    const struct {
        const char* chosen;
        const char* saved;
    } cases[] = {
        {"portrait", "portrait.jpg"},
        {"portrait.jpg", "portrait.jpg"},
        {"portrait.JPG", "portrait.JPG"},
        {"portrait.jPg", "portrait.jPg"},
        {"portrait.png", "portrait.png.jpg"},
        {"portrait.jpeg", "portrait.jpeg.jpg"},
        {"my.photos/portrait", "my.photos/portrait.jpg"},
        {"/home/ann/my.photos/portrait.Jpg", "/home/ann/my.photos/portrait.Jpg"},
        {"/home/ann/my.jpg/portrait", "/home/ann/my.jpg/portrait.jpg"},
        {"/home/ann/美女.jpg", "/home/ann/美女.jpg"},
        {"portrait.", "portrait..jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithJpegExtension(c.chosen).string(), c.saved) << c.chosen;
    }
}
