#include "imageio/JpegWriter.h"

#include "imageio/Messages.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdio>

using namespace picturefiles;

namespace {

gfx::Bitmap Decoded(const std::string& path)
{
    DecodeResult result = PictureDecoder().Decode(path);
    EXPECT_TRUE(result.Ok()) << result.message;
    return result.Ok() ? std::move(*result.bitmap) : gfx::Bitmap();
}

double Psnr(const gfx::Bitmap& a, const gfx::Bitmap& b)
{
    double squares = 0;
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                const double d = double((a.GetPixel(x, y) >> shift) & 0xFF) - double((b.GetPixel(x, y) >> shift) & 0xFF);
                squares += d * d;
            }
        }
    }
    const double mean = squares / (3.0 * a.Width() * a.Height());
    return 10 * std::log10(255.0 * 255.0 / mean);
}

// The frame header's components as (id, sampling) pairs, and the first luminance
// quantisation value.
struct JpegHeader {
    bool baseline = false;
    std::vector<std::pair<int, int>> components;
    int firstLumaQuantiser = -1;
};

JpegHeader ParseHeader(const std::vector<uint8_t>& jpeg)
{
    JpegHeader header;
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const int marker = jpeg[at + 1];
        const size_t length = size_t(jpeg[at + 2] << 8 | jpeg[at + 3]);
        const uint8_t* data = &jpeg[at + 4];
        if (marker == 0xDB && header.firstLumaQuantiser < 0 && (data[0] & 0x0F) == 0) {
            header.firstLumaQuantiser = data[1];
        }
        if (marker == 0xC0) {
            header.baseline = true;
            for (int c = 0; c < data[5]; ++c) {
                header.components.emplace_back(data[6 + 3 * c], data[7 + 3 * c]);
            }
        }
        if (marker == 0xDA) {
            break;
        }
        at += 2 + length;
    }
    return header;
}

bool ToolAvailable(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Writes the picture as binary PPM, the input cjpeg reads.
void WritePpm(const gfx::Bitmap& picture, const std::string& path)
{
    std::vector<uint8_t> bytes;
    const std::string head = "P6\n" + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\n255\n";
    bytes.insert(bytes.end(), head.begin(), head.end());
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const gfx::Argb p = picture.GetPixel(x, y);
            bytes.insert(bytes.end(), {uint8_t(gfx::RedOf(p)), uint8_t(gfx::GreenOf(p)), uint8_t(gfx::BlueOf(p))});
        }
    }
    WriteBytes(path, bytes);
}

} // namespace

TEST(JpegWriter, RoundTripStaysCloseToThePicture)
{
    TempFolder folder;
    const gfx::Bitmap picture = PhotoLike(320, 240, 5);
    const SaveResult result = JpegWriter().Write(picture, folder.File("photo.jpg"));
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(result.message, "恭喜您, 该美女的玉照已经保存.");

    const gfx::Bitmap back = Decoded(folder.File("photo.jpg"));
    ASSERT_EQ(back.Width(), 320);
    ASSERT_EQ(back.Height(), 240);
    EXPECT_GT(Psnr(picture, back), 35.0);
    EXPECT_LE(MaxChannelDifference(picture, back), 24);
}

TEST(JpegWriter, WritesFullResolutionColourAtQuality92)
{
    TempFolder folder;
    const gfx::Bitmap picture = PhotoLike(97, 61, 9); // sizes that are not whole blocks
    ASSERT_TRUE(JpegWriter().Write(picture, folder.File("ours.jpg")).saved);
    const auto ours = ReadBytes(folder.File("ours.jpg"));

    const JpegHeader header = ParseHeader(ours);
    EXPECT_TRUE(header.baseline);
    ASSERT_EQ(header.components.size(), 3u);
    for (const auto& [id, sampling] : header.components) {
        EXPECT_EQ(sampling, 0x11) << "component " << id << " is subsampled";
    }
    // The standard luminance table's first value 16, scaled for quality 92 (16 * 16 / 100).
    EXPECT_EQ(header.firstLumaQuantiser, 3);

    if (!ToolAvailable("djpeg") || !ToolAvailable("cjpeg")) {
        GTEST_SKIP() << "libjpeg-turbo's command-line tools are not installed";
    }
    const std::string decoded = folder.File("ours.ppm");
    ASSERT_EQ(std::system(("djpeg -outfile '" + decoded + "' '" + folder.File("ours.jpg") + "'").c_str()), 0);
    EXPECT_EQ(ReadBytes(decoded).size(), std::string("P6\n97 61\n255\n").size() + 97 * 61 * 3);

    // With the same settings the reference encoder writes the same file: this also shows
    // that the Huffman tables are optimised.
    WritePpm(picture, folder.File("picture.ppm"));
    const std::string theirs = folder.File("theirs.jpg");
    ASSERT_EQ(std::system(("cjpeg -quality 92 -sample 1x1 -optimize -outfile '" + theirs + "' '"
                           + folder.File("picture.ppm") + "'")
                              .c_str()),
              0);
    EXPECT_EQ(ours, ReadBytes(theirs));
}

TEST(JpegWriter, BlendsTransparentPixelsOntoWhite)
{
    TempFolder folder;
    const struct {
        gfx::Argb pixel;
        gfx::Argb written;
    } cases[] = {
        {0x00000000, 0xFFFFFFFF}, // fully transparent black
        {0x00FF0000, 0xFFFFFFFF},
        {0x80FF0000, gfx::MakeArgb(255, 255, 127, 127)},
        {0xFF204060, 0xFF204060},
    };
    for (const auto& c : cases) {
        gfx::Bitmap picture(16, 16);
        std::fill_n(picture.Pixels(), 256, c.pixel);
        ASSERT_TRUE(JpegWriter().Write(picture, folder.File("flat.jpg")).saved);
        const gfx::Bitmap back = Decoded(folder.File("flat.jpg"));
        gfx::Bitmap expected(16, 16);
        std::fill_n(expected.Pixels(), 256, c.written);
        EXPECT_LE(MaxChannelDifference(back, expected), 1) << std::hex << c.pixel << " -> " << back.GetPixel(8, 8);
    }
}

namespace {

// Lowers the largest file this process may write, as a full disk would stop it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

TEST(JpegWriter, FailedSaveReportsWhyAndKeepsTheOldFile)
{
    const gfx::Bitmap picture = PhotoLike(320, 240, 11);
    const std::vector<uint8_t> oldPhoto{'o', 'l', 'd', ' ', 'p', 'h', 'o', 't', 'o'};
    enum class Setup { DiskFull, ReadOnlyFolder, ReadOnlyFile, TargetIsFolder, FolderMissing };
    const struct {
        Setup setup;
        const char* target;
        const char* reason;
    } cases[] = {
        {Setup::DiskFull, "portrait.jpg", messages::DiskFull},
        {Setup::ReadOnlyFolder, "portrait.jpg", messages::NoWritePermission},
        {Setup::ReadOnlyFile, "portrait.jpg", messages::NoWritePermission},
        {Setup::TargetIsFolder, "portrait.jpg", messages::PathIsFolder},
        {Setup::FolderMissing, "no-such-folder/portrait.jpg", messages::FolderMissing},
    };
    for (const auto& c : cases) {
        if ((c.setup == Setup::ReadOnlyFolder || c.setup == Setup::ReadOnlyFile) && geteuid() == 0) {
            continue; // permissions do not stop the superuser
        }
        TempFolder folder;
        const std::string target = folder.File(c.target);
        if (c.setup == Setup::TargetIsFolder) {
            std::filesystem::create_directory(target);
        } else if (c.setup != Setup::FolderMissing) {
            WriteBytes(target, oldPhoto);
        }
        const auto namesBefore = folder.Names();

        SaveResult result;
        if (c.setup == Setup::DiskFull) {
            FileSizeLimit limit(4096);
            result = JpegWriter().Write(picture, target);
        } else if (c.setup == Setup::ReadOnlyFolder) {
            chmod(folder.Path().c_str(), 0555);
            result = JpegWriter().Write(picture, target);
            chmod(folder.Path().c_str(), 0755);
        } else {
            if (c.setup == Setup::ReadOnlyFile) {
                chmod(target.c_str(), 0444);
            }
            result = JpegWriter().Write(picture, target);
        }

        EXPECT_FALSE(result.saved) << c.reason;
        EXPECT_EQ(result.message, std::string(messages::SaveFailed) + c.reason);
        EXPECT_EQ(folder.Names(), namesBefore) << "no temporary file is left behind";
        if (c.setup == Setup::DiskFull || c.setup == Setup::ReadOnlyFolder || c.setup == Setup::ReadOnlyFile) {
            EXPECT_EQ(ReadBytes(target), oldPhoto);
        }
        if (c.setup == Setup::TargetIsFolder) {
            EXPECT_TRUE(std::filesystem::is_directory(target));
        }
    }
}

TEST(JpegWriter, SaveReplacesAnExistingFileKeepingItsPermissions)
{
    TempFolder folder;
    const std::string target = folder.File("portrait.jpg");
    WriteBytes(target, {'o', 'l', 'd'});
    chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, folder.File("link.jpg"));

    ASSERT_TRUE(JpegWriter().Write(PhotoLike(40, 30), folder.File("link.jpg")).saved);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.jpg"))) << "the link still points to the photo";
    EXPECT_EQ(Decoded(target).Width(), 40);
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    ASSERT_TRUE(JpegWriter().Write(PhotoLike(40, 30), folder.File("new.jpg")).saved);
    ASSERT_EQ(stat(folder.File("new.jpg").c_str(), &status), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(status.st_mode & 0777, 0666u & ~mask) << "a new file gets the usual permissions";
    EXPECT_EQ(folder.Names().size(), 3u);
}
