#include "imageio/PictureDecoder.h"

#include "imageio/GeneratedFiles.h"
#include "imageio/Messages.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureKinds.h"
#include "support/BmpFiles.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>

using namespace generatedfiles;
using namespace picturefiles;

namespace {

using Pixel = std::function<gfx::Argb(int32_t x, int32_t y)>;

// Smooth enough for JPEG to keep within a few levels.
uint32_t Gradient(int32_t x, int32_t y, int c) { return uint32_t(20 + x * 2 + y * 3 + c * 40) % 256; }

gfx::Argb GradientPixel(int32_t x, int32_t y)
{
    return gfx::MakeArgb(255, Gradient(x, y, 0), Gradient(x, y, 1), Gradient(x, y, 2));
}

// 16-bit grey: the transparent colour 0x8080, and 0x8081, which differs from it only in
// the low byte and so stays opaque.
uint32_t Grey16(int32_t x, int32_t y, int) { return (x + y) % 3 == 0 ? 0x8080 : (x + y) % 3 == 1 ? 0x8081 : 0xFFFF; }

gfx::Argb Grey16Pixel(int32_t x, int32_t y)
{
    const uint32_t v = Grey16(x, y, 0);
    return v == 0x8080 ? gfx::MakeArgb(0, 0x80, 0x80, 0x80) : gfx::MakeArgb(255, (v * 255 + 32767) / 65535, (v * 255 + 32767) / 65535, (v * 255 + 32767) / 65535);
}

PngLayout GreyWithTransparency()
{
    PngLayout layout(7, 3, PNG_COLOR_TYPE_GRAY, 16);
    layout.transparent = {{0, 0, 0, 0, 0x8080}};
    return layout;
}

const std::vector<uint32_t> Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

uint8_t PaletteIndex(int32_t x, int32_t y) { return uint8_t((x * 2 + y) % 5); }
gfx::Argb PalettePixel(int32_t x, int32_t y) { return 0xFF000000 | Palette[PaletteIndex(x, y)]; }

QImage PaletteImage(int32_t width, int32_t height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.setPixel(x, y, PalettePixel(x, y));
        }
    }
    return image;
}

// Bottom row: three of colour 1, the row ends early; middle row: a jump one to the
// right, three stored indices, the row ends; top row: five of colour 2, the picture ends.
const std::vector<uint8_t> RunsWithSkips = {3, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 3, 4, 0, 0, 0, 5, 2, 0, 1};

gfx::Argb RunsWithSkipsPixel(int32_t x, int32_t y)
{
    if (y == 2) {
        return x < 3 ? 0xFF000000 | Palette[1] : gfx::colors::Transparent;
    }
    if (y == 1) {
        return x >= 1 && x <= 3 ? 0xFF000000 | Palette[size_t(x + 1)] : gfx::colors::Transparent;
    }
    return 0xFF000000 | Palette[2];
}

// Runs, stored indices and a jump that reach past the right edge, each in a row whose
// neighbour in memory (the row below, stored and written before it) would show a spill.
// From the bottom: five of colour 2; a run of 200 of colour 1; seven stored indices of
// colour 3; two of colour 4, a jump four to the right and a run of two.
std::vector<uint8_t> OverlongRunsFile()
{
    return bmpfiles::BmpFile(bmpfiles::Bits(8).Size(5, 4).Compression(1).Palette(Palette),
                             {5, 2, 0, 0, 200, 1, 0, 0, 0, 7, 3, 3, 3, 3, 3, 3, 3, 0, 0, 0, 2, 4, 0, 2, 4, 0, 2, 0, 0, 1});
}

gfx::Argb OverlongRunsPixel(int32_t x, int32_t y)
{
    constexpr size_t RowColour[] = {4, 3, 1, 2};
    return y == 0 && x >= 2 ? gfx::colors::Transparent : 0xFF000000 | Palette[RowColour[y]];
}

// The same in 4 bits: five of colour 2; a run of 201 alternating 1 and 2; seven stored
// indices of colour 3.
std::vector<uint8_t> OverlongNibbleRunsFile()
{
    return bmpfiles::BmpFile(bmpfiles::Bits(4).Size(5, 3).Compression(2).Palette(Palette),
                             {5, 0x22, 0, 0, 201, 0x12, 0, 0, 0, 7, 0x33, 0x33, 0x33, 0x30, 0, 1});
}

gfx::Argb OverlongNibbleRunsPixel(int32_t x, int32_t y)
{
    const size_t colour = y == 2 ? 2 : y == 0 ? 3 : x % 2 == 0 ? 1 : 2;
    return 0xFF000000 | Palette[colour];
}

// Flat 8 x 8 blocks of stored inks (Adobe's inverted bytes: C, M, Y, K) with the key
// away from 0 and 255. At quality 100 a flat block comes back exactly, and each colour
// is ink times key / 255 rounded, which truncating would miss by one in most blocks.
constexpr std::array<std::array<uint32_t, 4>, 6> BlockInks = {
    {{201, 77, 130, 128}, {255, 3, 96, 1}, {140, 250, 33, 254}, {90, 180, 45, 100}, {17, 199, 254, 200}, {128, 129, 131, 127}}};

uint32_t BlockInk(int32_t x, int32_t y, int c) { return BlockInks[size_t(y / 8 * 3 + x / 8)][size_t(c)]; }

gfx::Argb BlockColour(int32_t x, int32_t y)
{
    auto colour = [&](int c) { return uint32_t(std::lround(BlockInk(x, y, c) * BlockInk(x, y, 3) / 255.0)); };
    return gfx::MakeArgb(255, colour(0), colour(1), colour(2));
}

JpegLayout CmykBlocks()
{
    JpegLayout layout(24, 16, JCS_CMYK);
    layout.quality = 100;
    return layout;
}

std::vector<uint8_t> BmpWithSizeField(std::vector<uint8_t> bmp, double share, bool zeroField)
{
    bmp = CutTo(std::move(bmp), share);
    bmpfiles::Put(bmp, 2, zeroField ? 0 : uint32_t(bmp.size()), 4);
    return bmp;
}

// The PNG with the size in its header chunk replaced (and the chunk's checksum with it).
std::vector<uint8_t> WithPngSize(std::vector<uint8_t> png, uint32_t width, uint32_t height)
{
    for (int i = 0; i < 4; ++i) {
        png[16 + size_t(i)] = uint8_t(width >> (24 - 8 * i));
        png[20 + size_t(i)] = uint8_t(height >> (24 - 8 * i));
    }
    const uint32_t crc = uint32_t(crc32(0, &png[12], 17));
    for (int i = 0; i < 4; ++i) {
        png[29 + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    }
    return png;
}

std::vector<uint8_t> WithEndMarker(std::vector<uint8_t> jpeg)
{
    jpeg.insert(jpeg.end(), {0xFF, 0xD9});
    return jpeg;
}

size_t StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    size_t value = 0;
    std::string unit;
    while (status >> key >> value >> unit) {
        if (key == std::string(field) + ":") {
            return value;
        }
    }
    return 0;
}

// Decodes the file and measures how far resident memory rose above where it started.
DecodeResult DecodeMeasuringPeak(const std::string& path, size_t& peakMegabytes)
{
    std::ofstream("/proc/self/clear_refs") << "5"; // the high-water mark starts again
    const size_t before = StatusKilobytes("VmRSS");
    DecodeResult result = PictureDecoder().Decode(path);
    peakMegabytes = (StatusKilobytes("VmHWM") - before) / 1024;
    return result;
}

struct Row {
    std::string name;
    std::vector<uint8_t> bytes;
    DecodeProblem problem; // None: decoded
    std::string reason;    // refused: the text after "cannot open"
    int32_t width = 0;     // decoded: the picture's size and pixels
    int32_t height = 0;
    Pixel pixel = nullptr;
    int tolerance = 0; // JPEG: the largest channel difference allowed
};

Row Decoded(std::string name, std::vector<uint8_t> bytes, int32_t width, int32_t height, Pixel pixel, int tolerance = 0)
{
    return {std::move(name), std::move(bytes), DecodeProblem::None, {}, width, height, std::move(pixel), tolerance};
}

Row Refused(std::string name, std::vector<uint8_t> bytes, DecodeProblem problem, const std::string& reason)
{
    return {std::move(name), std::move(bytes), problem, reason};
}

std::string Text(const char* message) { return message; }
std::string NotOpened(const char* format) { return messages::Filled(messages::FormatNotOpened, {format, PictureKindList()}); }

const JpegLayout Photo(40, 24);

// CMYK with no black ink: the inks are the colours themselves.
uint32_t Inks(int32_t x, int32_t y, int c) { return c == 3 ? 255u : Gradient(x, y, c); }

JpegLayout Ycck()
{
    JpegLayout layout(40, 24, JCS_CMYK);
    layout.stored = JCS_YCCK;
    return layout;
}

JpegLayout ScanFloodLayout()
{
    JpegLayout layout = Photo;
    layout.scans = ScanFlood();
    return layout;
}

std::vector<uint8_t> Bmp24File()
{
    return bmpfiles::BmpFile(bmpfiles::Bits(24).Size(7, 3), bmpfiles::PackedRows(7, 3, 24, false, [](int32_t x, int32_t y) {
        return Gradient(x, y, 2) | Gradient(x, y, 1) << 8 | Gradient(x, y, 0) << 16;
    }));
}

// Files of every route that decode whole: each is also cut off at several points below.
std::vector<Row> WholeRows()
{
    const Pixel withAlpha = [](int32_t x, int32_t y) {
        return gfx::MakeArgb(Gradient(x, y, 3), Gradient(x, y, 0), Gradient(x, y, 1), Gradient(x, y, 2));
    };
    return {
        Decoded("jpeg", JpegFile(Photo, Gradient), 40, 24, GradientPixel, 10),
        Decoded("progressive jpeg", JpegFile(Progressive(Photo), Gradient), 40, 24, GradientPixel, 10),
        Decoded("cmyk jpeg, inverted inks", JpegFile(JpegLayout(40, 24, JCS_CMYK), Inks), 40, 24, GradientPixel, 10),
        Decoded("ycck jpeg", JpegFile(Ycck(), Inks), 40, 24, GradientPixel, 10),
        Decoded("16-bit grey png with a transparent colour", PngFile(GreyWithTransparency(), Grey16), 7, 3, Grey16Pixel),
        Decoded("interlaced png", PngFile(Interlaced(PngLayout(13, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8)), Gradient), 13, 9, withAlpha),
        Decoded("24-bit bmp", Bmp24File(), 7, 3, GradientPixel),
        Decoded("gif", GifFile(9, 4, Palette, PaletteIndex), 9, 4, PalettePixel),
        Decoded("tiff", QtFile(PaletteImage(9, 4), "tiff"), 9, 4, PalettePixel),
        Decoded("webp", QtFile(PaletteImage(9, 4), "webp"), 9, 4, PalettePixel),
    };
}

std::vector<uint8_t> RunsWithSkipsFile()
{
    return bmpfiles::BmpFile(bmpfiles::Bits(8).Compression(1).Palette(Palette), RunsWithSkips);
}

std::vector<Row> Rows()
{
    const std::string damaged = Text(messages::PictureDamaged);
    const std::vector<uint8_t> bmp24 = Bmp24File();
    std::vector<Row> rows = {
        Decoded("8-bit runs with skips", RunsWithSkipsFile(), 5, 3, RunsWithSkipsPixel),
        Decoded("8-bit runs past the right edge", OverlongRunsFile(), 5, 4, OverlongRunsPixel),
        Decoded("4-bit runs past the right edge", OverlongNibbleRunsFile(), 5, 3, OverlongNibbleRunsPixel),
        Decoded("cmyk jpeg, key between 0 and 255", JpegFile(CmykBlocks(), BlockInk), 24, 16, BlockColour),
        Decoded("16-bit bmp: white stays white", bmpfiles::BmpFile(bmpfiles::Bits(16).Size(3, 2), bmpfiles::PackedRows(3, 2, 16, false, [](int32_t, int32_t) { return 0x7FFFu; })), 3, 2, [](int32_t, int32_t) { return gfx::colors::White; }),
        Refused("jpeg of 20000 x 20000 in 600 bytes", WithEndMarker(WithJpegSize(JpegFile(Photo, Gradient), 20000, 20000)), DecodeProblem::Damaged, damaged),
        Refused("progressive jpeg of 20000 x 20000", WithJpegSize(JpegFile(Progressive(Photo), Gradient), 20000, 20000), DecodeProblem::Damaged, damaged),
        Refused("png of 20000 x 20000", WithPngSize(PngFile({}, Gradient), 20000, 20000), DecodeProblem::Damaged, damaged),
        Refused("bmp of 20000 x 20000", bmpfiles::BmpFile(bmpfiles::Bits(24).Size(20000, 20000), {1, 2, 3}), DecodeProblem::Damaged, damaged),
        Refused("runs of 20000 x 20000", bmpfiles::BmpFile(bmpfiles::Bits(8).Size(20000, 20000).Compression(1).Palette(Palette), {0, 1}), DecodeProblem::Damaged, damaged),
        Refused("cut-off bmp, size field 0", BmpWithSizeField(bmp24, 0.8, true), DecodeProblem::Damaged, damaged),
        Refused("cut-off bmp, size field the cut size", BmpWithSizeField(bmp24, 0.8, false), DecodeProblem::Damaged, damaged),
        Refused("cut-off runs", CutTo(RunsWithSkipsFile(), 0.9), DecodeProblem::Damaged, damaged),
        Refused("191 scans", JpegFile(ScanFloodLayout(), Gradient), DecodeProblem::Damaged, Text(messages::TooManyScans)),
        Refused("2-bit bmp", bmpfiles::BmpFile(bmpfiles::Bits(2).Palette({0, 1, 2, 3}), std::vector<uint8_t>(12)), DecodeProblem::NotAPicture, Text(messages::BmpVariantNotOpened)),
        Refused("xbm", QtFile(PaletteImage(9, 4), "xbm"), DecodeProblem::NotAPicture, NotOpened("XBM")),
        Refused("xpm", QtFile(PaletteImage(9, 4), "xpm"), DecodeProblem::NotAPicture, NotOpened("XPM")),
        Refused("pbm", QtFile(PaletteImage(9, 4), "pbm"), DecodeProblem::NotAPicture, NotOpened("PBM")),
        Refused("text", {'n', 'o', 't', 'e', 's'}, DecodeProblem::NotAPicture, messages::Filled(messages::NotAPicture, {PictureKindList()})),
    };
    for (const Row& whole : WholeRows()) {
        rows.push_back(whole);
        for (const double share : {0.3, 0.6, 0.95}) {
            rows.push_back(Refused(whole.name + " cut to " + std::to_string(int(share * 100)) + "%", CutTo(whole.bytes, share), DecodeProblem::Damaged, damaged));
        }
    }
    return rows;
}

void ExpectPixels(const gfx::Bitmap& shown, const Row& row)
{
    ASSERT_EQ(shown.Width(), row.width) << row.name;
    ASSERT_EQ(shown.Height(), row.height) << row.name;
    for (int32_t y = 0; y < row.height; ++y) {
        for (int32_t x = 0; x < row.width; ++x) {
            gfx::Argb expected = row.pixel(x, y);
            gfx::Argb actual = shown.GetPixel(x, y);
            ASSERT_LE(MaxChannelDifference(gfx::Bitmap::Borrow(1, 1, &actual), gfx::Bitmap::Borrow(1, 1, &expected)), row.tolerance)
                << row.name << " at " << x << ", " << y << ": " << std::hex << actual << " for " << expected;
        }
    }
}

} // namespace

TEST(PictureFileFaults, EachFileDecodesExactlyOrIsRefusedWithItsReasonWithinLittleMemory)
{
    TempFolder folder;
    constexpr size_t PeakLimitMegabytes = 24;
    for (const Row& row : Rows()) {
        const std::string path = folder.File("picture");
        WriteBytes(path, row.bytes);
        size_t peak = 0;
        const DecodeResult result = DecodeMeasuringPeak(path, peak);
        EXPECT_LE(peak, PeakLimitMegabytes) << row.name;
        ASSERT_EQ(result.problem, row.problem) << row.name << ": " << result.message;
        if (row.problem == DecodeProblem::None) {
            ExpectPixels(*result.bitmap, row);
        } else {
            EXPECT_EQ(result.message, Text(messages::OpenFailed) + row.reason) << row.name;
        }
    }
}

TEST(PictureFileFaults, OpensAFileWhoseNameIsAsLongAsTheFileSystemAllows)
{
    TempFolder folder;
    std::string name;
    while (name.size() + 3 <= 251) {
        name += "照";
    }
    name += std::string(251 - name.size(), 'a') + ".bmp";
    ASSERT_EQ(name.size(), 255u);
    WriteBytes(folder.File(name), bmpfiles::BmpFile(bmpfiles::Bits(24).Size(2, 1), {1, 2, 3, 4, 5, 6, 0, 0}));
    const DecodeResult result = PictureDecoder().Decode(folder.File(name));
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.bitmap->GetPixel(1, 0), gfx::MakeArgb(255, 6, 5, 4));
}

// Whatever the heap held before, the same file gives the same pixels: no pixel is
// memory that the decoder never wrote.
TEST(PictureFileFaults, SameFileSamePixelsWhateverTheHeapHeld)
{
    TempFolder folder;
    std::vector<Row> files = WholeRows();
    files.push_back(Decoded("runs with skips", RunsWithSkipsFile(), 5, 3, RunsWithSkipsPixel));
    files.push_back(Decoded("turned jpeg", WithExifOrientation(JpegFile(Photo, Gradient), 6), 24, 40, nullptr));
    for (const Row& file : files) {
        WriteBytes(folder.File("picture"), file.bytes);
        std::vector<gfx::Argb> pixels[2];
        for (const int pattern : {0xA5, 0x3C}) {
            mallopt(M_PERTURB, pattern); // fresh heap blocks arrive filled with it
            const DecodeResult result = PictureDecoder().Decode(folder.File("picture"));
            mallopt(M_PERTURB, 0);
            ASSERT_TRUE(result.Ok()) << file.name << ": " << result.message;
            const gfx::Bitmap& shown = *result.bitmap;
            pixels[pattern == 0xA5].assign(shown.Pixels(), shown.Pixels() + size_t(shown.Width()) * size_t(shown.Height()));
        }
        EXPECT_EQ(pixels[0], pixels[1]) << file.name;
    }
}

// In a child process whose address space is too small for the picture: the decoder must
// say "too large" and end, not hang or call the file damaged.
TEST(PictureFileFaults, ShortMemoryEndsInTooLarge)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's own allocator ends the process when the address space runs out";
#endif
    TempFolder folder;
    const PngLayout deep(3000, 3000, PNG_COLOR_TYPE_RGB, 16);
    WriteBytes(folder.File("deep.png"), PngFile(deep, [](int32_t x, int32_t y, int c) { return uint32_t(x * 20 + y * 3 + c) & 0xFFFF; }));
    QImage deepImage(2000, 1500, QImage::Format_RGBA64);
    deepImage.fill(QColor(10, 20, 30));
    WriteBytes(folder.File("deep.tiff"), QtFile(deepImage, "tiff"));
    for (const char* name : {"deep.png", "deep.tiff"}) {
        const pid_t child = fork();
        if (child == 0) {
            alarm(60);
            // Room for the mapped file and a little more, not for the picture.
            const size_t fileBytes = ReadBytes(folder.File(name)).size();
            const rlimit limit{StatusKilobytes("VmSize") * 1024 + fileBytes + (4 << 20), RLIM_INFINITY};
            setrlimit(RLIMIT_AS, &limit);
            const DecodeResult result = PictureDecoder(MemoryBudget(uint64_t(1) << 40)).Decode(folder.File(name));
            _exit(result.problem == DecodeProblem::TooLarge ? 0 : 10 + int(result.problem));
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << name << ": ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << name;
    }
}
