#include "imageio/PictureSaver.h"

#include "imageio/ExifOrientation.h"
#include "imageio/JpegWriter.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"

#include <QColorSpace>
#include <QImage>

#include <gtest/gtest.h>

#include <cstring>

using namespace picturefiles;

TEST(PictureSaver, FindsTheJpegEncoderByItsExactMimeType)
{
    const ImageEncoder* installed = FindJpegEncoder();
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(installed->mimeType, "image/jpeg");

    const WritePicture none = nullptr;
    const ImageEncoder others[] = {{"image/bmp", "BMP", none}, {"image/JPEG", "wrong case", none}, {"image/jpeg2000", "", none}};
    EXPECT_EQ(FindJpegEncoder(others), nullptr);
    EXPECT_EQ(FindJpegEncoder({}), nullptr);
    EXPECT_EQ(FindEncoder(others, "image/bmp"), &others[0]);
}

TEST(PictureSaver, WithoutAJpegEncoderNothingIsWritten)
{
    TempFolder folder;
    const SaveResult result = SavePictureAsJpeg(PhotoLike(8, 8), folder.File("portrait"), {}, {});
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, "您的操作系统靠不住, 不能处理JPEG文件.");
    EXPECT_TRUE(folder.Names().empty());
}

TEST(PictureSaver, SavesUnderTheJpgNameAndConfirms)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "my.photos");
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {
        {"portrait", "portrait.jpg"},
        {"portrait.JPG", "portrait.JPG"},
        {"portrait.png", "portrait.png.jpg"},
        {"my.photos/portrait", "my.photos/portrait.jpg"},
    };
    for (const auto& c : cases) {
        const SaveResult result = SavePictureAsJpeg(PhotoLike(24, 16), folder.File(c.chosen));
        EXPECT_TRUE(result.saved) << c.chosen;
        EXPECT_EQ(result.path, folder.File(c.written));
        EXPECT_EQ(result.message, "恭喜您, 该美女的玉照已经保存.");
        EXPECT_TRUE(PictureDecoder().Decode(folder.File(c.written)).Ok()) << c.written;
    }
}

TEST(PictureSaver, CarriesExifAndColourProfileOverWithTheOrientationUpright)
{
    TempFolder folder;
    const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    PictureMetadata camera;
    camera.iccProfile.assign(adobe.begin(), adobe.end());
    ASSERT_TRUE(JpegWriter().Write(PhotoLike(40, 20), folder.File("stored.jpg"), camera).saved);
    WriteBytes(folder.File("phone.jpg"), WithExifOrientation(ReadBytes(folder.File("stored.jpg")), 6));
    DecodeResult opened = PictureDecoder().Decode(folder.File("phone.jpg"));
    ASSERT_TRUE(opened.Ok());
    ASSERT_EQ(opened.bitmap->Width(), 20);
    EXPECT_EQ(opened.metadata.iccProfile, camera.iccProfile);

    ASSERT_TRUE(SavePictureAsJpeg(*opened.bitmap, folder.File("retouched"), opened.metadata).saved);
    const DecodeResult saved = PictureDecoder().Decode(folder.File("retouched.jpg"));
    ASSERT_TRUE(saved.Ok());
    EXPECT_EQ(saved.bitmap->Width(), 20) << "not turned a second time";
    EXPECT_EQ(saved.bitmap->Height(), 40);
    ASSERT_FALSE(saved.metadata.exif.empty());
    EXPECT_EQ(ReadExifOrientation(saved.metadata.exif), ExifOrientation::Upright);
    EXPECT_EQ(saved.metadata.iccProfile, camera.iccProfile);
    const auto bytes = ReadBytes(folder.File("retouched.jpg"));
    EXPECT_EQ(std::memcmp(&bytes[2], "\xFF\xE1", 2), 0) << "EXIF right after the start of the file";

    // The pixels are opened as RGB, so a grey or CMYK profile no longer describes them.
    PictureMetadata grey = camera;
    std::copy_n("GRAY", 4, grey.iccProfile.begin() + 16);
    ASSERT_TRUE(JpegWriter().Write(PhotoLike(8, 8), folder.File("grey.jpg"), grey).saved);
    EXPECT_TRUE(PictureDecoder().Decode(folder.File("grey.jpg")).metadata.iccProfile.empty());

    // A profile read by Qt's reader travels the same way.
    QImage png(8, 8, QImage::Format_RGB32);
    png.fill(Qt::darkCyan);
    png.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    ASSERT_TRUE(png.save(QString::fromStdString(folder.File("wide.png")), "PNG"));
    const DecodeResult openedPng = PictureDecoder().Decode(folder.File("wide.png"));
    ASSERT_TRUE(openedPng.Ok());
    ASSERT_FALSE(openedPng.metadata.iccProfile.empty());
    ASSERT_TRUE(SavePictureAsJpeg(*openedPng.bitmap, folder.File("wide"), openedPng.metadata).saved);
    EXPECT_EQ(PictureDecoder().Decode(folder.File("wide.jpg")).metadata.iccProfile, openedPng.metadata.iccProfile);
}
