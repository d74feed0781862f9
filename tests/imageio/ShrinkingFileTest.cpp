// A picture file rewritten by another program (a sync client, say) while it opens: it
// becomes shorter between the size the reader saw and the reading itself. This test
// program is linked with every call of read() wrapped, so that the file shrinks at a
// known moment: just before the first read.
#include "imageio/PictureDecoder.h"

#include "imageio/GeneratedFiles.h"
#include "imageio/Messages.h"
#include "imageio/PictureFiles.h"
#include "support/BmpFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace generatedfiles;

namespace {

std::string shrinkingFile;
double shrinkTo = 1.0;

uint32_t Gradient(int32_t x, int32_t y, int c) { return uint32_t(20 + x * 2 + y * 3 + c * 40) % 256; }

QImage Stripes(int32_t width, int32_t height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 9, y * 13, (x + y) * 5));
        }
    }
    return image;
}

} // namespace

extern "C" ssize_t __real_read(int descriptor, void* buffer, size_t count);

extern "C" ssize_t __wrap_read(int descriptor, void* buffer, size_t count)
{
    if (!shrinkingFile.empty()) {
        struct stat status {};
        if (::stat(shrinkingFile.c_str(), &status) == 0) {
            EXPECT_EQ(::truncate(shrinkingFile.c_str(), off_t(double(status.st_size) * shrinkTo)), 0);
        }
        shrinkingFile.clear();
    }
    return __real_read(descriptor, buffer, count);
}

TEST(ShrinkingFile, AFileCutShortWhileItIsReadIsRefusedAsCutOff)
{
    picturefiles::TempFolder folder;
    const struct {
        const char* kind;
        std::vector<uint8_t> bytes;
    } files[] = {
        {"jpeg", JpegFile(JpegLayout(40, 24), Gradient)},
        {"progressive jpeg", JpegFile(Progressive(JpegLayout(40, 24)), Gradient)},
        {"png", PngFile(PngLayout(13, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8), Gradient)},
        {"bmp", bmpfiles::BmpFile(bmpfiles::Bits(24).Size(7, 3), bmpfiles::PackedRows(7, 3, 24, false, [](int32_t x, int32_t y) {
                                      return Gradient(x, y, 0) | Gradient(x, y, 1) << 8;
                                  }))},
        {"gif", GifFile(9, 4, {0, 0xFF0000, 0xFFFFFF}, [](int32_t x, int32_t y) { return uint8_t((x + y) % 3); })},
        {"tiff", QtFile(Stripes(9, 4), "tiff")},
        {"webp", QtFile(Stripes(9, 4), "webp")},
    };
    const std::string path = folder.File("picture");
    for (const auto& file : files) {
        for (const double share : {0.5, 0.97}) {
            picturefiles::WriteBytes(path, file.bytes);
            ASSERT_TRUE(PictureDecoder().Decode(path).Ok()) << file.kind;
            shrinkingFile = path;
            shrinkTo = share;
            const DecodeResult result = PictureDecoder().Decode(path);
            EXPECT_TRUE(shrinkingFile.empty()) << file.kind << ": the file was never read";
            EXPECT_EQ(result.problem, DecodeProblem::Damaged) << file.kind << " cut to " << share << ": " << result.message;
            EXPECT_EQ(result.message, std::string(messages::OpenFailed) + messages::PictureDamaged) << file.kind;
        }
    }
}
