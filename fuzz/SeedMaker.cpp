// Writes the seed corpora of the fuzz targets: one small file of each variant every
// reader knows, made by the tests' own generators.
#include "imageio/GeneratedFiles.h"
#include "imageio/HeifFiles.h"
#include "imageio/PictureFiles.h"
#include "platform/shell/CursorFixtures.h"
#include "support/BmpFiles.h"

#include "gfx/BmpFile.h"

#include <filesystem>
#include <string>

using namespace generatedfiles;

namespace {

uint32_t Gradient(int32_t x, int32_t y, int c) { return uint32_t(x * 9 + y * 5 + c * 60) % 256; }

QImage Picture(int32_t width, int32_t height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgba(int(Gradient(x, y, 0)), int(Gradient(x, y, 1)), int(Gradient(x, y, 2)), x * 20));
        }
    }
    return image;
}

class Corpus {
public:
    Corpus(const std::filesystem::path& root, const char* name) : folder_(root / name)
    {
        std::filesystem::create_directories(folder_);
    }
    void Add(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        picturefiles::WriteBytes((folder_ / name).string(), bytes);
    }
    void Add(const std::string& name, const QByteArray& bytes) const { Add(name, std::vector<uint8_t>(bytes.begin(), bytes.end())); }

private:
    std::filesystem::path folder_;
};

std::vector<std::pair<std::string, std::vector<uint8_t>>> BmpSeeds()
{
    using namespace bmpfiles;
    auto index = [](int32_t x, int32_t y) { return uint32_t(x + y) % 4; };
    auto colour = [](int32_t x, int32_t y) { return Gradient(x, y, 0) | Gradient(x, y, 1) << 8 | Gradient(x, y, 2) << 16; };
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    return {
        {"1.bmp", BmpFile(Bits(1).Size(9, 4).Palette({0, 0xFFFFFF}), PackedRows(9, 4, 1, false, [](int32_t x, int32_t) { return uint32_t(x % 2); }))},
        {"4.bmp", BmpFile(Bits(4).Size(9, 4).Palette(palette), PackedRows(9, 4, 4, false, index))},
        {"8.bmp", BmpFile(Bits(8).Size(9, 4).Palette(palette), PackedRows(9, 4, 8, false, index))},
        {"16.bmp", BmpFile(Bits(16).Size(9, 4), PackedRows(9, 4, 16, false, colour))},
        {"565.bmp", BmpFile(Bits(16).Size(9, 4).Compression(3).Masks({0xF800, 0x07E0, 0x001F}), PackedRows(9, 4, 16, false, colour))},
        {"24.bmp", BmpFile(Bits(24).Size(9, -4), PackedRows(9, 4, 24, true, colour))},
        {"32.bmp", BmpFile(Bits(32).Size(9, 4).Info(124).Compression(3).Masks({0xFF0000, 0xFF00, 0xFF, 0xFF000000}), PackedRows(9, 4, 32, false, colour))},
        {"rle8.bmp", BmpFile(Bits(8).Size(5, 3).Compression(1).Palette(palette), {3, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 3, 1, 0, 0, 0, 5, 2, 0, 1})},
        {"rle4.bmp", BmpFile(Bits(4).Size(5, 3).Compression(2).Palette(palette), {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1})},
        {"os2.bmp", BmpFile(Bits(8).Size(9, 4).Info(12).Palette(palette), PackedRows(9, 4, 8, false, index))},
        {"os2v2.bmp", BmpFile(Bits(24).Size(9, 4).Info(64), PackedRows(9, 4, 24, false, colour))},
    };
}

std::vector<uint8_t> RgbRows(int32_t width, int32_t height)
{
    std::vector<uint8_t> rows;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            rows.insert(rows.end(), {uint8_t(Gradient(x, y, 0)), uint8_t(Gradient(x, y, 1)), uint8_t(Gradient(x, y, 2))});
        }
    }
    return rows;
}

// TIFF files of the layouts the whole-file check and the data bound read: strips coded
// with deflate, JPEG strips, and a BigTIFF.
void MakeTiffSeeds(const Corpus& corpus)
{
    TiffLayout deflate{9, 4};
    deflate.compression = 8;
    deflate.rowsPerStrip = 2;
    deflate.strips = {Deflated(RgbRows(9, 2)), Deflated(RgbRows(9, 2))};
    corpus.Add("deflate.tiff", TiffFile(deflate));
    TiffLayout big{9, 4};
    big.big = true;
    big.rowsPerStrip = 4;
    big.strips = {RgbRows(9, 4)};
    corpus.Add("big.tiff", TiffFile(big));
    JpegLayout strip(16, 8);
    strip.stored = JCS_RGB;
    TiffLayout jpeg{16, 8};
    jpeg.compression = 7;
    jpeg.strips = {JpegFile(strip, Gradient)};
    corpus.Add("jpeg.tiff", TiffFile(jpeg));
}

// HEIF files as phones write them and as the item checks see them: one coded picture,
// a grid with a crop, a short chain of grids, and a ten-bit grid mirrored and turned.
void MakeHeifSeeds(const Corpus& corpus)
{
    using namespace heiffiles;
    const CodedPicture red = Code(16, 16, 0xE02010), blue = Code(16, 16, 0x2040D0);
    const CodedPicture deep = Code(16, 16, 0x20C040, 10);
    corpus.Add("coded.heic", HeifFile({Coded(red, 16, 16)}, 1));
    Item grid = Grid(2, 2, 30, 20, {1, 2, 2, 1});
    grid.properties.push_back(Clap({24, 1, 18, 1, 1, 2, 0, 1}));
    corpus.Add("grid.heic", HeifFile({Coded(red, 16, 16), Coded(blue, 16, 16), grid}, 3));
    corpus.Add("chain.heic", HeifFile({Coded(red, 16, 16), Grid(1, 1, 16, 16, {1}), Grid(1, 1, 16, 16, {2})}, 3));
    Item turned = Grid(1, 2, 32, 16, {1, 1});
    turned.properties.push_back(Irot(1));
    turned.properties.push_back(Imir(1));
    corpus.Add("deep.heic", HeifFile({Coded(deep, 16, 16), turned}, 2));
}

void MakePictureSeeds(const Corpus& corpus)
{
    JpegLayout progressive(16, 8);
    progressive.progressive = true;
    PngLayout interlaced(9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8);
    interlaced.interlaced = true;
    PngLayout grey(7, 3, PNG_COLOR_TYPE_GRAY, 16);
    grey.transparent = {{0, 0, 0, 0, 0x8080}};
    PngLayout indexed(7, 3, PNG_COLOR_TYPE_PALETTE, 4);
    indexed.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}};
    indexed.paletteAlpha = {0, 128};
    corpus.Add("baseline.jpg", JpegFile(JpegLayout(16, 8), Gradient));
    corpus.Add("progressive.jpg", JpegFile(progressive, Gradient));
    corpus.Add("grey.jpg", JpegFile(JpegLayout(16, 8, JCS_GRAYSCALE), Gradient));
    corpus.Add("cmyk.jpg", JpegFile(JpegLayout(16, 8, JCS_CMYK), Gradient));
    corpus.Add("turned.jpg", picturefiles::WithExifOrientation(JpegFile(JpegLayout(16, 8), Gradient), 6));
    corpus.Add("rgb.png", PngFile(PngLayout(7, 3, PNG_COLOR_TYPE_RGB, 8), Gradient));
    corpus.Add("interlaced.png", PngFile(interlaced, Gradient));
    corpus.Add("grey16.png", PngFile(grey, [](int32_t x, int32_t, int) { return uint32_t(0x8080 + x); }));
    corpus.Add("indexed.png", PngFile(indexed, [](int32_t x, int32_t y, int) { return uint32_t(x + y) % 3; }));
    corpus.Add("picture.gif", GifFile(9, 4, {0, 0xFF0000, 0xFFFFFF}, [](int32_t x, int32_t y) { return uint8_t((x + y) % 3); }));
    corpus.Add("picture.tiff", QtFile(Picture(9, 4), "tiff"));
    corpus.Add("picture.webp", QtFile(Picture(9, 4), "webp"));
    corpus.Add("lossy.webp", QtFile(Picture(16, 8), "webp", 80));
    corpus.Add("canvas.webp", WithWebpCanvas(QtFile(Picture(16, 8), "webp", 80), 16, 8));
    const std::vector<uint8_t> text = {'T', 'i', 't', 'l', 'e', 0, 'x'};
    const std::vector<uint8_t> png = PngFile(PngLayout(7, 3, PNG_COLOR_TYPE_RGB, 8), Gradient);
    corpus.Add("text.png", WithPngChunk(png, "tEXt", uint32_t(text.size()), text));
    corpus.Add("palettes.png", WithPngChunk(png, "sPLT", 15, {'p', 0, 8, 1, 2, 3, 255, 0, 1, 4, 5, 6, 7, 0, 2}));
    corpus.Add("picture.tga", TgaFile(5, 3, true));
    MakeTiffSeeds(corpus);
    MakeHeifSeeds(corpus);
    for (const auto& [name, bytes] : BmpSeeds()) {
        corpus.Add(name, bytes);
    }
}

void MakeCursorSeeds(const Corpus& corpus)
{
    using namespace cursorfixtures;
    const QImage arrow = TrianglePicture(16);
    corpus.Add("32.cur", CursorFileBytes({{16, 3, 4, Dib32(arrow, true)}}));
    corpus.Add("24.cur", CursorFileBytes({{16, 0, 0, Dib24(arrow)}}));
    corpus.Add("4.cur", CursorFileBytes({{16, 1, 1, DibPalette(arrow, 4)}}));
    corpus.Add("png.cur", CursorFileBytes({{16, 2, 2, Png(arrow)}, {16, 0, 0, DibPalette(arrow, 1)}}));
}

// The EXIF blocks of JPEG files: the APP1 payload after its marker and length.
void MakeExifSeeds(const Corpus& corpus)
{
    const std::vector<uint8_t> jpeg = JpegFile(JpegLayout(8, 8), Gradient);
    for (const uint16_t orientation : {1, 6, 8}) {
        for (const bool bigEndian : {false, true}) {
            const std::vector<uint8_t> tagged = picturefiles::WithExifOrientation(jpeg, orientation, bigEndian);
            const size_t length = size_t(tagged[4]) << 8 | tagged[5];
            corpus.Add(std::to_string(orientation) + (bigEndian ? "MM" : "II"),
                       std::vector<uint8_t>(tagged.begin() + 6, tagged.begin() + 4 + long(length)));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        return 2;
    }
    const std::filesystem::path root = argv[1];
    MakePictureSeeds(Corpus(root, "fuzz_picture_decoder"));
    const Corpus bmp(root, "fuzz_skin_bmp");
    for (const auto& [name, bytes] : BmpSeeds()) {
        bmp.Add(name, bytes);
    }
    gfx::Bitmap skin(6, 3);
    skin.SetPixel(1, 1, 0x80FF2040);
    gfx::WriteBmpFile((root / "fuzz_skin_bmp" / "skin.bmp").string(), skin);
    MakeCursorSeeds(Corpus(root, "fuzz_cursor_file"));
    MakeExifSeeds(Corpus(root, "fuzz_exif"));
    return 0;
}
