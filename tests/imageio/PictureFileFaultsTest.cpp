#include "imageio/PictureDecoder.h"

#include "imageio/GeneratedFiles.h"
#include "imageio/HeifFiles.h"
#include "imageio/HeifItems.h"
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
#include <cstdlib>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <thread>
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

// What a decode cost: how far resident memory rose above where it started, in this
// process and in the decoder helper, and how long it took.
struct Cost {
    size_t megabytes = 0;
    size_t helperMegabytes = 0; // the helper's peak
    double milliseconds = 0;
};

size_t ResidentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * size_t(sysconf(_SC_PAGESIZE)) / 1024;
}

// Resident memory at its highest while it lives, sampled every millisecond: the kernel's
// own high-water mark is not kept up to date once it has been reset.
class ResidentPeak {
public:
    ResidentPeak()
        : peak_(ResidentKilobytes()), sampler_([this] {
              while (!stop_) {
                  peak_ = std::max(peak_.load(), ResidentKilobytes());
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~ResidentPeak() { Stop(); }
    size_t Stop()
    {
        stop_ = true;
        if (sampler_.joinable()) {
            sampler_.join();
        }
        return peak_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<size_t> peak_;
    std::thread sampler_;
};

DecodeResult DecodeMeasuring(const std::string& path, Cost& cost)
{
    const size_t before = ResidentKilobytes();
    ResidentPeak peak;
    const auto start = std::chrono::steady_clock::now();
    DecodeResult result = PictureDecoder().Decode(path);
    cost.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cost.megabytes = (std::max(peak.Stop(), before) - before) / 1024;
    cost.helperMegabytes = size_t(result.helperPeakBytes >> 20);
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
    // Ceilings: what memory may rise by (in this process, and in the helper above what it
    // takes for a tiny file) and how long the decode may take.
    size_t megabytes = 24;
    double milliseconds = 2000;
};

// The same row with its own ceilings.
Row Within(Row row, size_t megabytes, double milliseconds)
{
    row.megabytes = megabytes;
    row.milliseconds = milliseconds;
    return row;
}

Row Decoded(std::string name, std::vector<uint8_t> bytes, int32_t width, int32_t height, Pixel pixel, int tolerance = 0)
{
    Row row{std::move(name), std::move(bytes), DecodeProblem::None, {}, width, height, std::move(pixel)};
    row.tolerance = tolerance;
    return row;
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

QImage GradientImage(int32_t width, int32_t height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.setPixel(x, y, GradientPixel(x, y));
        }
    }
    return image;
}

std::vector<uint8_t> RgbRows(int32_t width, int32_t first, int32_t count)
{
    std::vector<uint8_t> rows;
    for (int32_t y = first; y < first + count; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            rows.insert(rows.end(), {uint8_t(Gradient(x, y, 0)), uint8_t(Gradient(x, y, 1)), uint8_t(Gradient(x, y, 2))});
        }
    }
    return rows;
}

TiffLayout DeflateTiff(int32_t width, int32_t height, int32_t rowsPerStrip)
{
    TiffLayout layout{width, height};
    layout.compression = 8;
    layout.rowsPerStrip = rowsPerStrip;
    for (int32_t top = 0; top < height; top += rowsPerStrip) {
        layout.strips.push_back(Deflated(RgbRows(width, top, std::min(rowsPerStrip, height - top))));
    }
    return layout;
}

TiffLayout BigTiff()
{
    TiffLayout layout{40, 24};
    layout.big = true;
    layout.rowsPerStrip = 10;
    for (int32_t top = 0; top < 24; top += 10) {
        layout.strips.push_back(RgbRows(40, top, std::min(10, 24 - top)));
    }
    return layout;
}

// Two strips of 12 rows, each a JPEG stream of its own; cut: the second stream ends
// early while the file is whole.
TiffLayout JpegTiff(bool cut)
{
    TiffLayout layout{40, 24};
    layout.compression = 7;
    layout.rowsPerStrip = 12;
    JpegLayout strip(40, 12);
    strip.stored = JCS_RGB;
    strip.quality = 95;
    for (const int32_t top : {0, 12}) {
        layout.strips.push_back(JpegFile(strip, [top](int32_t x, int32_t y, int c) { return Gradient(x, y + top, c); }));
    }
    if (cut) {
        layout.strips[1].resize(layout.strips[1].size() - 40);
    }
    return layout;
}

// Flat 64 x 64 tiles, coded once per process at each depth.
constexpr std::array<uint32_t, 4> TileColours = {0xE02010, 0x20C040, 0x2040D0, 0xF0E020};

const heiffiles::CodedPicture& Tile(int bitDepth, size_t colour)
{
    static std::map<std::pair<int, size_t>, heiffiles::CodedPicture> coded;
    auto [at, made] = coded.try_emplace({bitDepth, colour});
    if (made) {
        at->second = heiffiles::Code(64, 64, TileColours[colour], bitDepth);
    }
    return at->second;
}

gfx::Argb QuarterPixel(int32_t x, int32_t y) { return 0xFF000000 | TileColours[size_t(y / 64 % 2 * 2 + x / 64 % 2)]; }

// A grid of rows x columns tiles over a picture of width x height, the tile at row r and
// column c of colour (r mod 2) * 2 + (c mod 2); extra is one more property of the grid.
std::vector<uint8_t> HeicGrid(int bitDepth, int rows, int columns, uint32_t width, uint32_t height,
                              const std::vector<uint8_t>& extra = {})
{
    std::vector<heiffiles::Item> items;
    std::vector<uint16_t> tiles;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            items.push_back(heiffiles::Coded(Tile(bitDepth, size_t(r % 2 * 2 + c % 2)), 64, 64));
            tiles.push_back(uint16_t(items.size()));
        }
    }
    items.push_back(heiffiles::Grid(rows, columns, width, height, tiles));
    if (!extra.empty()) {
        items.back().properties.push_back(extra);
    }
    return heiffiles::HeifFile(items, uint16_t(items.size()));
}

// A tile under a chain of links grids, each of one tile: the one below.
std::vector<uint8_t> HeicChain(int links)
{
    std::vector<heiffiles::Item> items{heiffiles::Coded(Tile(8, 0), 64, 64)};
    for (int i = 0; i < links; ++i) {
        items.push_back(heiffiles::Grid(1, 1, 64, 64, {uint16_t(items.size())}));
    }
    return heiffiles::HeifFile(items, uint16_t(items.size()));
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
        Decoded("deflate tiff", TiffFile(DeflateTiff(40, 24, 24)), 40, 24, GradientPixel),
        Decoded("bigtiff", TiffFile(BigTiff()), 40, 24, GradientPixel),
        Decoded("jpeg tiff", TiffFile(JpegTiff(false)), 40, 24, GradientPixel, 10),
        Decoded("webp", QtFile(PaletteImage(9, 4), "webp"), 9, 4, PalettePixel),
        Decoded("lossy webp", QtFile(GradientImage(40, 24), "webp", 90), 40, 24, GradientPixel, 24),
        Decoded("heic grid of 2 x 2 tiles over 120 x 100", HeicGrid(8, 2, 2, 120, 100), 120, 100, QuarterPixel, 4),
    };
}

std::vector<uint8_t> RunsWithSkipsFile()
{
    return bmpfiles::BmpFile(bmpfiles::Bits(8).Compression(1).Palette(Palette), RunsWithSkips);
}

// Text and palette-list chunks that claim about 1.5 GB in a file of a few hundred bytes:
// refused at once, in constant memory.
std::vector<Row> PngChunkRows()
{
    const std::vector<uint8_t> png = PngFile(PngLayout(7, 3, PNG_COLOR_TYPE_RGB, 8), Gradient);
    std::vector<Row> rows;
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT"}) {
        rows.push_back(Refused(std::string("png whose ") + type + " chunk claims 1.5 GB",
                               WithPngChunk(png, type, 0x5A000000, {'k', 0, 'v'}), DecodeProblem::Damaged,
                               messages::PictureDamaged));
    }
    // Just under the limit for a chunk: a long comment is no damage.
    std::vector<uint8_t> comment = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0};
    comment.resize(16 << 20, 'x');
    rows.push_back(Within(Decoded("png with a 16 MB comment", WithPngChunk(png, "tEXt", uint32_t(comment.size()), comment),
                                  7, 3, GradientPixel),
                          64, 4000));
    return rows;
}

// Files of the kinds read through Qt's plugins whose data cannot expand to the picture
// they claim, refused before anything is allocated for it; and TIFF faults.
std::vector<Row> BoundRows()
{
    TiffLayout claim = DeflateTiff(20000, 100, 20000);
    claim.height = 20000;
    return {
        Refused("tiff of 20000 x 20000 with deflate data for 100 rows", TiffFile(claim), DecodeProblem::Damaged, messages::PictureDamaged),
        Refused("jpeg tiff whose second strip is cut short", TiffFile(JpegTiff(true)), DecodeProblem::Damaged, messages::PictureDamaged),
        Refused("gif whose screen is 20000 x 20000", WithGifScreen(GifFile(9, 4, Palette, PaletteIndex), 20000, 20000), DecodeProblem::Damaged, messages::PictureDamaged),
        Refused("lossy webp whose canvas is 16383 x 16383", WithWebpCanvas(QtFile(GradientImage(40, 24), "webp", 90), 16383, 16383), DecodeProblem::Damaged, messages::PictureDamaged),
    };
}

// Grids whose tiles do not cover their picture or reach past it, chains of grids, and
// a ten-bit picture mirrored by its own transformation; the limits exactly.
std::vector<Row> HeicRows()
{
    const std::string tooDeep = messages::Filled(messages::DerivationTooDeep, {std::to_string(HeifItems::MaxDerivationDepth)});
    const Pixel mirrored = [](int32_t x, int32_t y) { return QuarterPixel(127 - x, y); };
    return {
        Refused("heic grid of one 64 x 64 tile claiming 20000 x 20000", HeicGrid(8, 1, 1, 20000, 20000), DecodeProblem::Damaged, messages::PictureDamaged),
        Refused("heic grid of 2 x 2 tiles claiming 129 x 100", HeicGrid(8, 2, 2, 129, 100), DecodeProblem::Damaged, messages::PictureDamaged),
        Decoded("heic grid of 2 x 2 tiles over 128 x 100", HeicGrid(8, 2, 2, 128, 100), 128, 100, QuarterPixel, 4),
        Refused("heic grid of 2 x 2 tiles claiming 64 x 100", HeicGrid(8, 2, 2, 64, 100), DecodeProblem::Damaged, messages::PictureDamaged),
        Decoded("heic grid of 2 x 2 tiles over 65 x 100", HeicGrid(8, 2, 2, 65, 100), 65, 100, QuarterPixel, 4),
        Decoded("heic chain of 3 grids", HeicChain(HeifItems::MaxDerivationDepth), 64, 64, QuarterPixel, 4),
        Refused("heic chain of 4 grids", HeicChain(HeifItems::MaxDerivationDepth + 1), DecodeProblem::Damaged, tooDeep),
        Refused("heic chain of 1000 grids", HeicChain(1000), DecodeProblem::Damaged, tooDeep),
        Refused("heic chain of 2000 grids", HeicChain(2000), DecodeProblem::Damaged, tooDeep),
        Decoded("ten-bit heic grid mirrored", HeicGrid(10, 2, 2, 128, 100, heiffiles::Imir(1)), 128, 100, mirrored, 4),
    };
}

std::vector<Row> Rows()
{
    const std::string damaged = Text(messages::PictureDamaged);
    const std::string notAPicture = messages::Filled(messages::NotAPicture, {PictureKindList()});
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
        Refused("text", {'n', 'o', 't', 'e', 's'}, DecodeProblem::NotAPicture, notAPicture),
        Refused("tga, which Qt takes for an ico", TgaFile(5, 3, false), DecodeProblem::NotAPicture, notAPicture),
        Refused("tga with the version 2 footer", TgaFile(5, 3, true), DecodeProblem::NotAPicture, notAPicture),
    };
    for (std::vector<Row> more : {PngChunkRows(), BoundRows(), HeicRows()}) {
        rows.insert(rows.end(), more.begin(), more.end());
    }
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

TEST(PictureFileFaults, EachFileDecodesExactlyOrIsRefusedWithItsReasonWithinItsCeilings)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr double Slowdown = 5; // and the helper's own sanitizer memory, measured below
#else
    constexpr double Slowdown = 1;
#endif
    TempFolder folder;
    const std::string path = folder.File("picture");
    Cost idle;
    WriteBytes(path, GifFile(1, 1, Palette, PaletteIndex));
    ASSERT_TRUE(DecodeMeasuring(path, idle).Ok());
    for (const Row& row : Rows()) {
        WriteBytes(path, row.bytes);
        Cost cost;
        const DecodeResult result = DecodeMeasuring(path, cost);
        EXPECT_LE(cost.megabytes, row.megabytes) << row.name;
        EXPECT_LE(cost.helperMegabytes, idle.helperMegabytes + row.megabytes) << row.name;
        EXPECT_LE(cost.milliseconds, row.milliseconds * Slowdown) << row.name;
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
            // Fresh heap blocks arrive filled with it, here and in the decoder helper.
            mallopt(M_PERTURB, pattern);
            setenv("MALLOC_PERTURB_", std::to_string(pattern).c_str(), 1);
            const DecodeResult result = PictureDecoder().Decode(folder.File("picture"));
            unsetenv("MALLOC_PERTURB_");
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
