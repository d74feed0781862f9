// HEIC, WebP and TIFF files made by the tools such files come from, opened through the
// one decoder entry: upright, with their metadata, and refused when cut off.
#include "imageio/ExifOrientation.h"
#include "imageio/HeifFiles.h"
#include "imageio/JpegWriter.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"

#include <QColorSpace>
#include <QImage>

#include <gtest/gtest.h>
#include <libheif/heif.h>

#include <array>
#include <cstdlib>

using namespace picturefiles;

namespace {

constexpr int32_t kWidth = 40, kHeight = 24;
// Top left, top right, bottom left, bottom right: a turn or a mirror shows.
constexpr std::array<gfx::Argb, 4> kQuadrants = {0xFFE02010u, 0xFF20C040u, 0xFF2040D0u, 0xFFF0E020u};

QImage Quadrants()
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            image.setPixel(x, y, kQuadrants[size_t((y >= kHeight / 2) * 2 + (x >= kWidth / 2))]);
        }
    }
    return image;
}

bool RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// The centre colour of each quadrant, each channel within tolerance (0 for lossless files).
void ExpectQuadrants(const gfx::Bitmap& picture, const std::array<gfx::Argb, 4>& expected, int tolerance)
{
    const int32_t w = picture.Width(), h = picture.Height();
    const std::array<gfx::Point, 4> centres = {gfx::Point{w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4},
                                               {3 * w / 4, 3 * h / 4}};
    for (size_t q = 0; q < 4; ++q) {
        const gfx::Argb got = picture.GetPixel(centres[q].x, centres[q].y);
        for (int shift = 0; shift < 32; shift += 8) {
            EXPECT_NEAR(int((got >> shift) & 0xFF), int((expected[q] >> shift) & 0xFF), tolerance)
                << "quadrant " << q << std::hex << " got " << got;
        }
    }
}

// A HEIC file turned a quarter clockwise by its own transformation, written with libheif.
void WriteTurnedHeic(const QImage& image, const std::string& path)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    ASSERT_EQ(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code, heif_error_Ok);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* picture = nullptr;
    heif_image_create(image.width(), image.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture);
    heif_image_add_plane(picture, heif_channel_interleaved, image.width(), image.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            uint8_t* out = plane + y * stride + 3 * x;
            out[0] = uint8_t(qRed(p)), out[1] = uint8_t(qGreen(p)), out[2] = uint8_t(qBlue(p));
        }
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation_rotate_90_cw;
    EXPECT_EQ(heif_context_encode_image(context, picture, encoder, options, nullptr).code, heif_error_Ok);
    EXPECT_EQ(heif_context_write_to_file(context, path.c_str()).code, heif_error_Ok);
    heif_encoding_options_free(options);
    heif_image_release(picture);
    heif_encoder_release(encoder);
    heif_context_free(context);
}

} // namespace

TEST(PhoneFormats, HeicOpensUprightWithItsProfileAndExifAndIsRefusedWhenCutOff)
{
    TempFolder folder;
    QImage wide = Quadrants();
    wide.setColorSpace(QColorSpace::DisplayP3);
    ASSERT_TRUE(wide.save(QString::fromStdString(folder.File("q.png"))));
    ASSERT_TRUE(RunTool("heif-enc -q 90 " + folder.File("q.png") + " -o " + folder.File("q.heic")));
    const DecodeResult plain = PictureDecoder().Decode(folder.File("q.heic"));
    ASSERT_TRUE(plain.Ok()) << plain.message;
    ASSERT_EQ(plain.bitmap->Width(), kWidth);
    ASSERT_EQ(plain.bitmap->Height(), kHeight);
    ExpectQuadrants(*plain.bitmap, kQuadrants, 12);
    EXPECT_EQ(QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char*>(plain.metadata.iccProfile.data()),
                                                     qsizetype(plain.metadata.iccProfile.size()))),
              QColorSpace(QColorSpace::DisplayP3));

    // The file's own turn applies; the turned picture's top left is the original's bottom left.
    WriteTurnedHeic(Quadrants(), folder.File("turned.heic"));
    const DecodeResult turned = PictureDecoder().Decode(folder.File("turned.heic"));
    ASSERT_TRUE(turned.Ok()) << turned.message;
    ASSERT_EQ(turned.bitmap->Width(), kHeight);
    ASSERT_EQ(turned.bitmap->Height(), kWidth);
    ExpectQuadrants(*turned.bitmap, {kQuadrants[2], kQuadrants[0], kQuadrants[3], kQuadrants[1]}, 12);

    // EXIF comes along as a JPEG carries it; its orientation tag is only information in
    // HEIF (the file's transformations say how to show it), so it turns nothing.
    JpegWriter().Write(PhotoLike(kWidth, kHeight), folder.File("plain.jpg"));
    WriteBytes(folder.File("tagged.jpg"), WithExifOrientation(ReadBytes(folder.File("plain.jpg")), 6));
    ASSERT_TRUE(RunTool("heif-enc -q 90 " + folder.File("tagged.jpg") + " -o " + folder.File("tagged.heic")));
    const DecodeResult tagged = PictureDecoder().Decode(folder.File("tagged.heic"));
    ASSERT_TRUE(tagged.Ok());
    EXPECT_EQ(tagged.bitmap->Width(), kWidth);
    EXPECT_EQ(ReadExifOrientation(tagged.metadata.exif), ExifOrientation::TurnedLeft);

    std::vector<uint8_t> bytes = ReadBytes(folder.File("q.heic"));
    for (const size_t kept : {bytes.size() - 40, bytes.size() / 2, size_t(30)}) {
        WriteBytes(folder.File("cut.heic"), {bytes.begin(), bytes.begin() + std::ptrdiff_t(kept)});
        const DecodeResult cut = PictureDecoder().Decode(folder.File("cut.heic"));
        EXPECT_FALSE(cut.Ok()) << kept;
        EXPECT_EQ(cut.problem, DecodeProblem::Damaged) << kept;
    }
}

TEST(PhoneFormats, WebpFromCwebpAndTurnedTiffFromImageMagickOpenExactly)
{
    TempFolder folder;
    ASSERT_TRUE(Quadrants().save(QString::fromStdString(folder.File("q.png"))));
    ASSERT_TRUE(RunTool("cwebp -lossless -quiet " + folder.File("q.png") + " -o " + folder.File("q.webp")));
    const DecodeResult webp = PictureDecoder().Decode(folder.File("q.webp"));
    ASSERT_TRUE(webp.Ok()) << webp.message;
    ASSERT_EQ(webp.bitmap->Width(), kWidth);
    ExpectQuadrants(*webp.bitmap, kQuadrants, 0);

    // Orientation "right top": the stored rows are the picture's columns.
    ASSERT_TRUE(RunTool("/usr/bin/convert " + folder.File("q.png") + " -orient RightTop " + folder.File("q.tiff")));
    const DecodeResult tiff = PictureDecoder().Decode(folder.File("q.tiff"));
    ASSERT_TRUE(tiff.Ok()) << tiff.message;
    ASSERT_EQ(tiff.bitmap->Width(), kHeight);
    ExpectQuadrants(*tiff.bitmap, {kQuadrants[2], kQuadrants[0], kQuadrants[3], kQuadrants[1]}, 0);
}

// libheif turns, mirrors and crops only pictures of eight bits; deeper ones are
// transformed by the decoder itself. The same grid at both depths, under the same
// transformations in the same order, must give the same picture.
TEST(PhoneFormats, DeepHeicIsTransformedAsLibheifTransformsAnEightBitOne)
{
    using namespace heiffiles;
    TempFolder folder;
    const uint32_t colours[4] = {0xE02010, 0x20C040, 0x2040D0, 0xF0E020};
    std::vector<Item> tiles[2];
    for (const uint32_t colour : colours) {
        tiles[0].push_back(Coded(Code(64, 64, colour, 8), 64, 64));
        tiles[1].push_back(Coded(Code(64, 64, colour, 10), 64, 64));
    }
    const std::vector<std::vector<std::vector<uint8_t>>> transformations = {
        {Imir(0)},
        {Imir(1)},
        {Irot(1), Imir(0)},
        {Imir(0), Irot(1)},
        {Irot(3), Imir(1)},
        {Irot(2), Imir(0)},
        {Clap({100, 1, 50, 1, -7, 1, 3, 2}), Irot(1), Imir(0)},
        {Irot(1), Imir(1), Clap({41, 1, 99, 1, 5, 1, -1, 1})},
    };
    for (size_t i = 0; i < transformations.size(); ++i) {
        gfx::Bitmap pictures[2];
        for (int deep = 0; deep < 2; ++deep) {
            std::vector<Item> items = tiles[deep];
            items.push_back(Grid(2, 2, 120, 100, {1, 2, 3, 4}));
            for (const auto& property : transformations[i]) {
                items.back().properties.push_back(property);
            }
            WriteBytes(folder.File("grid.heic"), HeifFile(items, 5));
            DecodeResult result = PictureDecoder().Decode(folder.File("grid.heic"));
            ASSERT_TRUE(result.Ok()) << i << (deep ? " deep: " : ": ") << result.message;
            pictures[deep] = std::move(*result.bitmap);
        }
        ASSERT_EQ(pictures[1].Width(), pictures[0].Width()) << i;
        ASSERT_EQ(pictures[1].Height(), pictures[0].Height()) << i;
        EXPECT_LE(MaxChannelDifference(pictures[0], pictures[1]), 4) << i;
    }
}
