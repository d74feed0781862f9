#include "imageio/PictureDecoder.h"

#include "imageio/JpegWriter.h"
#include "imageio/Messages.h"
#include "imageio/PictureFiles.h"

#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jpeglib.h>

using namespace picturefiles;

// Every C++ allocation in this test program is counted, so that a test can show that a
// refused picture never had its pixels allocated.
namespace {
std::atomic<size_t> largestAllocation{0};
}

void* operator new(size_t size)
{
    size_t seen = largestAllocation.load();
    while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

QImage AsImage(const gfx::Bitmap& bitmap)
{
    return QImage(reinterpret_cast<const uchar*>(bitmap.Pixels()), bitmap.Width(), bitmap.Height(),
                  QImage::Format_ARGB32)
        .copy();
}

gfx::Bitmap FromImage(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    gfx::Bitmap bitmap(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        std::memcpy(bitmap.Scanline(y), argb.constScanLine(y), size_t(bitmap.Stride()));
    }
    return bitmap;
}

// Four flat quarters, red and green on top, blue and white below: easy to tell apart
// after any turn, even through JPEG.
gfx::Bitmap Quarters(int32_t width, int32_t height)
{
    gfx::Bitmap b(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            b.SetPixel(x, y, bottom ? (right ? gfx::colors::White : 0xFF0000FF) : (right ? 0xFF00FF00 : gfx::colors::Red));
        }
    }
    return b;
}

bool Near(gfx::Argb a, gfx::Argb b)
{
    return MaxChannelDifference(gfx::Bitmap::Borrow(1, 1, &a), gfx::Bitmap::Borrow(1, 1, &b)) <= 8;
}

std::vector<uint8_t> JpegBytes(const gfx::Bitmap& picture, const TempFolder& folder)
{
    const std::string path = folder.File("written.jpg");
    EXPECT_TRUE(JpegWriter().Write(picture, path).saved);
    return ReadBytes(path);
}

// The file with the size in its first frame header (SOF0) replaced.
std::vector<uint8_t> WithJpegSize(std::vector<uint8_t> jpeg, uint16_t width, uint16_t height)
{
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            qToBigEndian(height, &jpeg[i + 5]);
            qToBigEndian(width, &jpeg[i + 7]);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// The checksum PNG chunks carry (CRC-32, polynomial 0xEDB88320).
uint32_t Crc32(const uint8_t* bytes, size_t size)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

// A PNG signature and a well-formed header chunk claiming the given size, then nothing.
std::vector<uint8_t> PngHeaderClaiming(uint32_t width, uint32_t height, const TempFolder& folder)
{
    QImage small(1, 1, QImage::Format_RGB32);
    small.fill(Qt::gray);
    const std::string path = folder.File("small.png");
    small.save(QString::fromStdString(path), "PNG");
    auto png = ReadBytes(path);
    // The header chunk's data starts at 16; its CRC covers the type and data (12 .. 28).
    qToBigEndian(width, &png[16]);
    qToBigEndian(height, &png[20]);
    qToBigEndian(Crc32(&png[12], 17), &png[29]);
    return png;
}

// A flat CMYK JPEG as print software writes it (Adobe convention: 255 means no ink).
void WriteCmykJpeg(const std::string& path, int width, int height, const uint8_t (&cmyk)[4])
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row;
    for (int x = 0; x < width; ++x) {
        row.insert(row.end(), std::begin(cmyk), std::end(cmyk));
    }
    JSAMPROW rows[] = {row.data()};
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

} // namespace

TEST(PictureDecoder, OpensTheSamplePortraitPixelForPixel)
{
    const char* path = MIRAVO_SAMPLES_DIR "/portrait.png";
    const DecodeResult result = PictureDecoder().Decode(path);
    ASSERT_TRUE(result.Ok()) << result.message;
    const gfx::Bitmap expected = FromImage(QImage(QString::fromUtf8(path)));
    ASSERT_EQ(result.bitmap->Width(), expected.Width());
    ASSERT_EQ(result.bitmap->Height(), expected.Height());
    EXPECT_EQ(MaxChannelDifference(*result.bitmap, expected), 0);
    EXPECT_EQ(result.problem, DecodeProblem::None);
}

TEST(PictureDecoder, ReadsFilesWrittenInEachFormat)
{
    TempFolder folder;
    gfx::Bitmap translucent = PhotoLike(64, 48, 7);
    for (int32_t y = 0; y < translucent.Height(); ++y) {
        for (int32_t x = 0; x < translucent.Width(); ++x) {
            translucent.SetPixel(x, y, (translucent.GetPixel(x, y) & 0x00FFFFFF) | uint32_t(x * 4) << 24);
        }
    }
    const gfx::Bitmap opaque = PhotoLike(64, 48, 8);
    const struct {
        const char* name;
        const char* format;
        const gfx::Bitmap& picture;
        QImage::Format written;
        int tolerance;
    } cases[] = {
        {"translucent.png", "PNG", translucent, QImage::Format_ARGB32, 0},
        {"opaque.bmp", "BMP", opaque, QImage::Format_RGB32, 0},
        {"by-qt.jpg", "JPEG", opaque, QImage::Format_RGB32, 24},
        {"grey.jpg", "JPEG", opaque, QImage::Format_Grayscale8, 24},
        {"png-named.jpg", "PNG", translucent, QImage::Format_ARGB32, 0},
        {"美女 照片.jpg", "JPEG", opaque, QImage::Format_RGB32, 24},
    };
    for (const auto& c : cases) {
        const QImage image = AsImage(c.picture).convertToFormat(c.written);
        QImageWriter writer(QString::fromStdString(folder.File(c.name)), c.format);
        writer.setQuality(95);
        ASSERT_TRUE(writer.write(image)) << c.name;

        const DecodeResult result = PictureDecoder().Decode(folder.File(c.name));
        ASSERT_TRUE(result.Ok()) << c.name << ": " << result.message;
        EXPECT_LE(MaxChannelDifference(*result.bitmap, FromImage(image)), c.tolerance) << c.name;
    }
}

TEST(PictureDecoder, OpensCmykJpegFiles)
{
    TempFolder folder;
    WriteCmykJpeg(folder.File("print.jpg"), 24, 16, {220, 40, 30, 255});
    const DecodeResult result = PictureDecoder().Decode(folder.File("print.jpg"));
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.bitmap->Width(), 24);
    EXPECT_EQ(result.bitmap->Height(), 16);
    EXPECT_TRUE(Near(result.bitmap->GetPixel(12, 8), gfx::MakeArgb(255, 220, 40, 30)))
        << std::hex << result.bitmap->GetPixel(12, 8);
}

TEST(PictureDecoder, TurnsThePictureByItsExifOrientation)
{
    TempFolder folder;
    const auto jpeg = JpegBytes(Quarters(48, 40), folder); // decoded in strips of 16 rows
    const gfx::Argb R = gfx::colors::Red, G = 0xFF00FF00, B = 0xFF0000FF, W = gfx::colors::White;
    const struct {
        uint16_t orientation;
        int32_t width;
        gfx::Argb topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {1, 48, R, G, B, W},
        {2, 48, G, R, W, B},
        {3, 48, W, B, G, R},
        {5, 40, R, B, G, W},
        {6, 40, B, R, W, G}, // a phone held upright
        {8, 40, G, W, R, B},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File("turned" + std::to_string(c.orientation) + ".jpg");
        WriteBytes(path, WithExifOrientation(jpeg, c.orientation));
        const DecodeResult result = PictureDecoder().Decode(path);
        ASSERT_TRUE(result.Ok()) << result.message;
        const gfx::Bitmap& shown = *result.bitmap;
        ASSERT_EQ(shown.Width(), c.width) << c.orientation;
        ASSERT_EQ(shown.Height(), 48 * 40 / c.width) << c.orientation;
        EXPECT_TRUE(Near(shown.GetPixel(1, 1), c.topLeft)) << c.orientation;
        EXPECT_TRUE(Near(shown.GetPixel(shown.Width() - 2, 1), c.topRight)) << c.orientation;
        EXPECT_TRUE(Near(shown.GetPixel(1, shown.Height() - 2), c.bottomLeft)) << c.orientation;
        EXPECT_TRUE(Near(shown.GetPixel(shown.Width() - 2, shown.Height() - 2), c.bottomRight)) << c.orientation;
        EXPECT_FALSE(result.metadata.exif.empty()) << "kept for saving";
    }
}

TEST(PictureDecoder, DamagedOrForeignFilesGiveAMessageAndNoPicture)
{
    TempFolder folder;
    const auto jpeg = JpegBytes(PhotoLike(120, 90), folder);
    QImage image = AsImage(PhotoLike(120, 90));
    image.save(QString::fromStdString(folder.File("whole.png")), "PNG");
    image.save(QString::fromStdString(folder.File("whole.bmp")), "BMP");
    const auto png = ReadBytes(folder.File("whole.png"));
    const auto bmp = ReadBytes(folder.File("whole.bmp"));
    auto half = [](const std::vector<uint8_t>& bytes) { return std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2); };
    std::vector<uint8_t> garbled{0xFF, 0xD8, 0xFF};
    for (int i = 0; i < 500; ++i) {
        garbled.push_back(uint8_t(i * 37 + 11));
    }
    std::filesystem::create_directory(folder.Path() / "folder.jpg");

    const struct {
        const char* name;
        std::optional<std::vector<uint8_t>> bytes; // nothing: do not create the file
        DecodeProblem problem;
    } cases[] = {
        {"missing.jpg", std::nullopt, DecodeProblem::Unreadable},
        {"folder.jpg", std::nullopt, DecodeProblem::Unreadable},
        {"empty.jpg", std::vector<uint8_t>{}, DecodeProblem::Empty},
        {"notes.jpg", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', ',', ' ', 'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'},
         DecodeProblem::NotAPicture},
        {"half.jpg", half(jpeg), DecodeProblem::Damaged},
        {"headers-only.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 400), DecodeProblem::Damaged},
        {"garbled.jpg", garbled, DecodeProblem::Damaged},
        {"half.png", half(png), DecodeProblem::Damaged},
        {"half.bmp", half(bmp), DecodeProblem::Damaged},
    };
    for (const auto& c : cases) {
        if (c.bytes) {
            WriteBytes(folder.File(c.name), *c.bytes);
        }
        const DecodeResult result = PictureDecoder().Decode(folder.File(c.name));
        EXPECT_FALSE(result.Ok()) << c.name;
        EXPECT_EQ(result.problem, c.problem) << c.name;
        EXPECT_TRUE(result.message.starts_with(messages::OpenFailed)) << c.name;
        EXPECT_GT(result.message.size(), std::string(messages::OpenFailed).size()) << c.name;
    }
}

TEST(PictureDecoder, RefusesWhatMemoryCannotHoldBeforeAllocatingIt)
{
    TempFolder folder;
    const auto jpeg = JpegBytes(PhotoLike(100, 100), folder);
    WriteBytes(folder.File("huge.jpg"), WithJpegSize(jpeg, 8000, 8000));
    WriteBytes(folder.File("huge.png"), PngHeaderClaiming(100'000, 100'000, folder));
    WriteBytes(folder.File("fits.jpg"), jpeg);
    std::vector<uint8_t> padded = jpeg;
    padded.resize(50'000); // a file larger than the memory for the picture it holds
    WriteBytes(folder.File("padded.jpg"), padded);
    const uint64_t bytesToEditFits = 100 * 100 * 4 * MemoryBudget::CopiesToEdit;

    const struct {
        const char* name;
        uint64_t memory;
        DecodeProblem problem;
        const char* size;
    } cases[] = {
        {"huge.jpg", 64 << 20, DecodeProblem::TooLarge, "8000 × 8000"},
        {"huge.png", MemoryBudget::FromSystem().AvailableBytes(), DecodeProblem::TooLarge, "100000 × 100000"},
        {"fits.jpg", bytesToEditFits - 1, DecodeProblem::TooLarge, "100 × 100"},
        {"fits.jpg", bytesToEditFits, DecodeProblem::None, ""},
        {"padded.jpg", bytesToEditFits, DecodeProblem::TooLarge, ""},
    };
    for (const auto& c : cases) {
        largestAllocation = 0;
        const DecodeResult result = PictureDecoder(MemoryBudget(c.memory)).Decode(folder.File(c.name));
        EXPECT_EQ(result.problem, c.problem) << c.name;
        if (c.problem == DecodeProblem::TooLarge) {
            EXPECT_LT(largestAllocation.load(), size_t(1) << 20) << c.name << ": pixels were allocated";
            EXPECT_NE(result.message.find(c.size), std::string::npos) << result.message;
        }
    }
}

TEST(PictureDecoder, OpensPicturesBeyondQtsDefaultAllocationLimit)
{
    TempFolder folder;
    QImage large(8000, 6000, QImage::Format_RGB32); // 48 megapixels, 192 MB as ARGB
    large.fill(QColor(200, 150, 120));
    large.setPixel(7999, 5999, qRgb(1, 2, 3));
    QImageWriter writer(QString::fromStdString(folder.File("large.png")), "PNG");
    writer.setQuality(90); // fast compression
    ASSERT_TRUE(writer.write(large));
    large = QImage();

    const DecodeResult result = PictureDecoder().Decode(folder.File("large.png"));
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.bitmap->Width(), 8000);
    EXPECT_EQ(result.bitmap->Height(), 6000);
    EXPECT_EQ(result.bitmap->GetPixel(7999, 5999), gfx::MakeArgb(255, 1, 2, 3));
    EXPECT_EQ(result.bitmap->GetPixel(0, 0), gfx::MakeArgb(255, 200, 150, 120));
}

TEST(PictureDecoder, MutatedFilesNeverCrashNorOpenEmpty)
{
    TempFolder folder;
    const gfx::Bitmap picture = PhotoLike(40, 30, 12);
    const std::vector<uint8_t> jpeg = JpegBytes(picture, folder);
    AsImage(picture).save(QString::fromStdString(folder.File("seed.png")), "PNG");
    AsImage(picture).save(QString::fromStdString(folder.File("seed.bmp")), "BMP");
    const std::vector<uint8_t> seeds[] = {jpeg, WithExifOrientation(jpeg, 6), ReadBytes(folder.File("seed.png")),
                                          ReadBytes(folder.File("seed.bmp"))};
    std::mt19937 rng(2024);
    for (const auto& seed : seeds) {
        for (int round = 0; round < 150; ++round) {
            std::vector<uint8_t> bytes = seed;
            const int flips = 1 + int(rng() % 8);
            for (int i = 0; i < flips; ++i) {
                bytes[rng() % bytes.size()] = uint8_t(rng());
            }
            if (round % 5 == 0) {
                bytes.resize(rng() % bytes.size());
            }
            WriteBytes(folder.File("mutated"), bytes);
            const DecodeResult result = PictureDecoder().Decode(folder.File("mutated"));
            if (result.Ok()) {
                EXPECT_FALSE(result.bitmap->IsEmpty());
            } else {
                EXPECT_FALSE(result.message.empty());
            }
        }
    }
}
