#include "batch/SmoothSkinArguments.h"
#include "batch/SmoothSkinBatch.h"
#include "faces/FaceFinder.h"
#include "imageio/ExifOrientation.h"
#include "imageio/JpegWriter.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"
#include "tools/AutoSmoothCommand.h"

#include <QColorSpace>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <sstream>

using picturefiles::ReadBytes;
using picturefiles::TempFolder;
using picturefiles::WriteBytes;

namespace {

const std::string kSamples = MIRAVO_SAMPLES_DIR;

gfx::Bitmap Decoded(const std::string& path)
{
    DecodeResult result = PictureDecoder().Decode(path);
    EXPECT_TRUE(result.Ok()) << path << ": " << result.message;
    return result.Ok() ? std::move(*result.bitmap) : gfx::Bitmap();
}

// The sample portrait cut to 512 x 400 (wider than high), stored turned a quarter to
// the left as a camera held upright stores it, with EXIF saying so and an Adobe RGB
// profile: the result must come out upright, 512 x 400, with both kept.
std::vector<uint8_t> CameraJpeg(std::vector<uint8_t>& iccProfile)
{
    const gfx::Bitmap portrait = Decoded(kSamples + "/portrait.png");
    gfx::Bitmap upright(512, 400);
    for (int32_t y = 0; y < 400; ++y) {
        std::copy_n(portrait.Scanline(y), 512, upright.Scanline(y));
    }
    const gfx::Bitmap stored = upright.RotatedClockwise().RotatedClockwise().RotatedClockwise();
    const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    iccProfile.assign(adobe.begin(), adobe.end());
    TempFolder scratch;
    EXPECT_TRUE(JpegWriter().Write(stored, scratch.File("stored.jpg"), {{}, iccProfile}).saved);
    return picturefiles::WithExifOrientation(ReadBytes(scratch.File("stored.jpg")), uint16_t(ExifOrientation::TurnedLeft));
}

struct BatchRun {
    int status;
    std::string out;
    std::string err;
};

BatchRun Batch(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    const int status = SmoothSkinBatch(SmoothSkinArguments::Parse(arguments), out, err).Run();
    return {status, out.str(), err.str()};
}

} // namespace

TEST(SmoothSkinBatchTest, FolderOfPhotosWrittenSkippedAndReported)
{
    TempFolder folder;
    std::vector<uint8_t> icc;
    WriteBytes(folder.File("camera.jpg"), CameraJpeg(icc));
    std::filesystem::copy_file(kSamples + "/portrait.png", folder.File("portrait.png"));
    const std::vector<uint8_t> whole = ReadBytes(folder.File("camera.jpg"));
    WriteBytes(folder.File("damaged.jpg"), std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 3));
    ASSERT_TRUE(JpegWriter().Write(picturefiles::PhotoLike(300, 200), folder.File("landscape.jpg")).saved);
    std::filesystem::create_directory(folder.File("out"));
    WriteBytes(folder.File("out/old.jpg"), {1, 2, 3});
    std::filesystem::copy_file(kSamples + "/portrait.png", folder.File("old.png"));
    const std::string out = folder.File("out");

    const BatchRun first = Batch({"--smooth-skin", "50", "--output-dir", out, folder.File("camera.jpg"),
                             folder.File("damaged.jpg"), folder.File("portrait.png"), folder.File("landscape.jpg"),
                             folder.File("old.png"), folder.File("missing.jpg")});
    EXPECT_EQ(first.status, SmoothSkinBatch::NotAllWritten);
    EXPECT_EQ(first.out, "[1/6] camera.jpg: 1 face, written\n"
                         "[2/6] damaged.jpg: unreadable (图片文件已损坏或不完整.), skipped\n"
                         "[3/6] portrait.png: 1 face, written\n"
                         "[4/6] landscape.jpg: no face, skipped\n"
                         "[5/6] old.png: output exists, skipped\n"
                         "[6/6] missing.jpg: unreadable (文件不存在或无法读取.), skipped\n");
    EXPECT_EQ(first.err, "");

    // Written files decode, upright, with the camera's EXIF (orientation now upright)
    // and colour profile; the one that was there is untouched.
    DecodeResult camera = PictureDecoder().Decode(folder.File("out/camera.jpg"));
    ASSERT_TRUE(camera.Ok());
    EXPECT_EQ(camera.bitmap->Width(), 512);
    EXPECT_EQ(camera.bitmap->Height(), 400);
    ASSERT_FALSE(camera.metadata.exif.empty());
    EXPECT_EQ(ReadExifOrientation(camera.metadata.exif), ExifOrientation::Upright);
    EXPECT_EQ(camera.metadata.iccProfile, icc);
    EXPECT_EQ(Decoded(folder.File("out/portrait.jpg")).Width(), 512);
    EXPECT_EQ(ReadBytes(folder.File("out/old.jpg")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("out/landscape.jpg")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("out/damaged.jpg")));

    // Told to overwrite, the existing result is replaced by the smoothed portrait: what
    // the one-click command makes of it, but for the JPEG's loss.
    const BatchRun again = Batch({"--smooth-skin", "50", "--overwrite", "--output-dir", out, folder.File("old.png")});
    EXPECT_EQ(again.status, SmoothSkinBatch::AllWritten);
    EXPECT_EQ(again.out, "[1/1] old.png: 1 face, written\n");
    const gfx::Bitmap smoothed = Decoded(folder.File("out/old.jpg"));
    const auto expected = SurfaceFromImage(Decoded(kSamples + "/portrait.png"));
    AutoSmoothCommand::SmoothFaces(*expected, FaceFinder(FaceModel::Load().model).Find(*expected), 50);
    const gfx::Bitmap original = WrapAsBitmap(std::as_const(*expected)).Clone();
    int64_t difference = 0;
    for (int32_t y = 0; y < original.Height(); ++y) {
        for (int32_t x = 0; x < original.Width(); ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                difference += std::abs(int32_t((smoothed.GetPixel(x, y) >> shift) & 0xFF) -
                                       int32_t((original.GetPixel(x, y) >> shift) & 0xFF));
            }
        }
    }
    EXPECT_LT(double(difference) / (3.0 * original.Width() * original.Height()), 2.5); // levels on average
    EXPECT_LT(picturefiles::MaxChannelDifference(smoothed, original), 40);

    // Never over a picture of the list, nor twice to one name, even when told to overwrite.
    std::filesystem::copy_file(kSamples + "/portrait.png", folder.File("out/a.png"));
    ASSERT_TRUE(JpegWriter().Write(original, folder.File("out/inside.jpg")).saved);
    const BatchRun named = Batch({"--smooth-skin", "100", "--output-dir", out, "--overwrite", folder.File("out/a.png"),
                             folder.File("out/inside.jpg"), folder.File("portrait.png"), folder.File("a.png")});
    EXPECT_EQ(named.status, SmoothSkinBatch::NotAllWritten);
    EXPECT_EQ(named.out, "[1/4] a.png: 1 face, written\n"
                         "[2/4] inside.jpg: output would replace a picture of the list, skipped\n"
                         "[3/4] portrait.png: 1 face, written\n"
                         "[4/4] a.png: same output as a.png, skipped\n");
    EXPECT_EQ(Decoded(folder.File("out/inside.jpg")).Width(), 512);
}

TEST(SmoothSkinBatchTest, CommandLineAndTheProgramWithoutADisplay)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* error; // empty when sound
    };
    const Case cases[] = {
        {{"--smooth-skin", "0", "--output-dir", "d", "a.jpg"}, ""},
        {{"--output-dir", "d", "--smooth-skin", "100", "--", "-a.jpg"}, ""},
        {{"--smooth-skin", "101", "--output-dir", "d", "a.jpg"}, "--smooth-skin 后面要写磨皮力度, 0 到 100 的整数."},
        {{"--smooth-skin", "-1", "--output-dir", "d", "a.jpg"}, "--smooth-skin 后面要写磨皮力度, 0 到 100 的整数."},
        {{"--smooth-skin", "5x", "--output-dir", "d", "a.jpg"}, "--smooth-skin 后面要写磨皮力度, 0 到 100 的整数."},
        {{"--output-dir", "d", "a.jpg"}, "--smooth-skin 后面要写磨皮力度, 0 到 100 的整数."},
        {{"--smooth-skin", "50", "a.jpg"}, "缺少 --output-dir 文件夹."},
        {{"--smooth-skin", "50", "--output-dir"}, "缺少 --output-dir 文件夹."},
        {{"--smooth-skin", "50", "--output-dir", "d"}, "没有要处理的图片."},
        {{"--smooth-skin", "50", "--output-dir", "d", "--quality", "9", "a.jpg"}, "不认识的选项: --quality"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SmoothSkinArguments::Parse(c.arguments).error, c.error) << c.arguments[0];
    }
    const SmoothSkinArguments dashed = SmoothSkinArguments::Parse(cases[1].arguments);
    EXPECT_EQ(dashed.strength, 100);
    EXPECT_EQ(dashed.pictures, (std::vector<std::filesystem::path>{"-a.jpg"}));

    std::vector<std::string> command = {"miravo", "portrait.png"};
    std::vector<char*> argv;
    for (std::string& a : command) {
        argv.push_back(a.data());
    }
    EXPECT_FALSE(SmoothSkinArguments::AskedFor(int(argv.size()), argv.data()));
    command = {"miravo", "--help"};
    argv = {command[0].data(), command[1].data()};
    EXPECT_TRUE(SmoothSkinArguments::AskedFor(2, argv.data()));

#ifdef MIRAVO_PROGRAM
    // The program itself, with no display to open: help, a written picture, exit status.
    TempFolder folder;
    const std::string program = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + MIRAVO_PROGRAM;
    EXPECT_EQ(std::system((program + " --help > " + folder.File("help.txt")).c_str()), 0);
    const std::vector<uint8_t> help = ReadBytes(folder.File("help.txt"));
    EXPECT_EQ(std::string(help.begin(), help.end()), SmoothSkinArguments::kHelpText);
    const std::string run = program + " --smooth-skin 30 --output-dir " + folder.File("out") + " " + kSamples +
                            "/portrait.png > " + folder.File("lines.txt");
    EXPECT_EQ(std::system(run.c_str()), 0);
    const std::vector<uint8_t> lines = ReadBytes(folder.File("lines.txt"));
    EXPECT_EQ(std::string(lines.begin(), lines.end()), "[1/1] portrait.png: 1 face, written\n");
    EXPECT_NE(std::system((program + " --smooth-skin 30 --output-dir " + folder.File("out") + " " + kSamples +
                           "/portrait.png > /dev/null").c_str()),
              0); // the output exists now
#endif
}
