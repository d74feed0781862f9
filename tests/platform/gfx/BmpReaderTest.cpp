#include "gfx/BmpReader.h"

#include "support/BmpFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace gfx;
using namespace bmpfiles;

namespace {

const std::vector<uint32_t> Palette16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080, 0x102030, 0xF0E0D0,
                                         0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x999999};

uint32_t IndexAt(int32_t x, int32_t y) { return uint32_t(x + 2 * y) % 2; }
uint32_t Index4At(int32_t x, int32_t y) { return uint32_t(x * 3 + y) % 16; }

Argb Opaque(uint32_t rgb) { return 0xFF000000 | rgb; }

// The 5 x 3 picture a row states, read top row first, left to right.
using Expected = std::function<Argb(int32_t x, int32_t y)>;

struct Case {
    std::string name;
    std::vector<uint8_t> file;
    BmpReader::Status status;
    Expected pixel; // only for Ok
};

std::vector<Case> Cases()
{
    const auto rgb24 = [](int32_t x, int32_t y) { return uint32_t(x * 40) << 16 | uint32_t(y * 90) << 8 | 7; };
    const auto rgb24Pixel = [&](int32_t x, int32_t y) { return Opaque(rgb24(x, y)); };
    const auto white555 = [](int32_t x, int32_t) { return x % 2 == 0 ? 0x7FFFu : 0x4210u; };
    const auto rle8 = std::vector<uint8_t>{
        3, 1, 0, 0,             // bottom row: three of colour 1, then the row ends
        0, 2, 1, 0,             // middle row: a jump one to the right,
        0, 3, 2, 3, 4, 0, 0, 0, // three stored indices (padded), the row ends
        5, 2, 0, 1,             // top row: five of colour 2, the picture ends
    };
    const auto rle8Pixel = [](int32_t x, int32_t y) -> Argb {
        if (y == 2) {
            return x < 3 ? Opaque(0xFF0000) : colors::Transparent; // row ended early
        }
        if (y == 1) {
            return x >= 1 && x <= 3 ? Opaque(std::vector<uint32_t>{0x00FF00, 0x0000FF, 0xFFFFFF}[size_t(x - 1)])
                                    : colors::Transparent; // skipped by the jump, or after the row ended
        }
        return Opaque(0x00FF00);
    };
    const auto rle4 = std::vector<uint8_t>{
        5, 0x12, 0, 0,     // bottom row: 1 2 1 2 1
        0, 3, 0x34, 0x50,  // middle row: 3 4 5, then the picture ends
        0, 1,
    };
    const auto rle4Pixel = [](int32_t x, int32_t y) -> Argb {
        if (y == 2) {
            return Opaque(Palette16[x % 2 == 0 ? 1 : 2]);
        }
        return y == 1 && x < 3 ? Opaque(Palette16[size_t(3 + x)]) : colors::Transparent;
    };
    std::vector<uint8_t> cutRows = BmpFile(Bits(24), PackedRows(5, 3, 24, false, rgb24));
    cutRows.resize(cutRows.size() - 20);
    std::vector<uint8_t> cutRuns = BmpFile(Bits(8).Compression(1).Palette(Palette16), rle8);
    cutRuns.resize(cutRuns.size() - 8);

    return {
        {"1 bit", BmpFile(Bits(1).Palette({0x102030, 0xFFFFFF}), PackedRows(5, 3, 1, false, IndexAt)),
         BmpReader::Status::Ok, [](int32_t x, int32_t y) { return Opaque(IndexAt(x, y) ? 0xFFFFFF : 0x102030); }},
        {"4 bit", BmpFile(Bits(4).Palette(Palette16), PackedRows(5, 3, 4, false, Index4At)),
         BmpReader::Status::Ok, [](int32_t x, int32_t y) { return Opaque(Palette16[Index4At(x, y)]); }},
        {"8 bit, short palette: other indices black",
         BmpFile(Bits(8).Palette({0xFF0000, 0x00FF00}), PackedRows(5, 3, 8, false, Index4At)),
         BmpReader::Status::Ok,
         [](int32_t x, int32_t y) { return Index4At(x, y) < 2 ? Opaque(Index4At(x, y) ? 0x00FF00 : 0xFF0000) : colors::Black; }},
        {"16 bit 5-5-5: white is 255", BmpFile(Bits(16), PackedRows(5, 3, 16, false, white555)),
         BmpReader::Status::Ok, [](int32_t x, int32_t) { return Opaque(x % 2 == 0 ? 0xFFFFFF : 0x848484); }},
        {"16 bit 5-6-5 masks",
         BmpFile(Bits(16).Compression(3).Masks({0xF800, 0x07E0, 0x001F}),
                 PackedRows(5, 3, 16, false, [](int32_t x, int32_t) { return x == 0 ? 0xFFFFu : 0x0820u; })),
         BmpReader::Status::Ok, [](int32_t x, int32_t) { return Opaque(x == 0 ? 0xFFFFFF : 0x080400); }},
        {"24 bit bottom-up", BmpFile(Bits(24), PackedRows(5, 3, 24, false, rgb24)), BmpReader::Status::Ok, rgb24Pixel},
        {"24 bit top-down", BmpFile(Bits(24).Size(5, -3), PackedRows(5, 3, 24, true, rgb24)), BmpReader::Status::Ok,
         rgb24Pixel},
        {"32 bit plain: the fourth byte is no alpha",
         BmpFile(Bits(32), PackedRows(5, 3, 32, false, [&](int32_t x, int32_t y) { return rgb24(x, y) | 0x12000000; })),
         BmpReader::Status::Ok, rgb24Pixel},
        {"32 bit with an alpha mask",
         BmpFile(Bits(32).Info(108).Compression(3).Masks({0xFF, 0xFF00, 0xFF0000, 0xFF000000}),
                 PackedRows(5, 3, 32, false, [](int32_t x, int32_t) { return 0x40302010u * uint32_t(x + 1); })),
         BmpReader::Status::Ok,
         [](int32_t x, int32_t) {
             const uint32_t v = 0x40302010u * uint32_t(x + 1);
             return MakeArgb(v >> 24, v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
         }},
        {"8 bit runs with a jump and early ends", BmpFile(Bits(8).Compression(1).Palette(Palette16), rle8),
         BmpReader::Status::Ok, rle8Pixel},
        {"4 bit runs ending the picture early", BmpFile(Bits(4).Compression(2).Palette(Palette16), rle4),
         BmpReader::Status::Ok, rle4Pixel},
        {"OS/2 1.x, 3-byte palette", BmpFile(Bits(4).Info(12).Palette(Palette16), PackedRows(5, 3, 4, false, Index4At)),
         BmpReader::Status::Ok, [](int32_t x, int32_t y) { return Opaque(Palette16[Index4At(x, y)]); }},
        {"OS/2 2.x short header", BmpFile(Bits(24).Info(16), PackedRows(5, 3, 24, false, rgb24)),
         BmpReader::Status::Ok, rgb24Pixel},
        {"cut-off rows", cutRows, BmpReader::Status::Damaged, nullptr},
        {"cut-off runs", cutRuns, BmpReader::Status::Damaged, nullptr},
        {"claims 20000 x 20000", BmpFile(Bits(24).Size(20000, 20000), PackedRows(5, 3, 24, false, rgb24)),
         BmpReader::Status::Damaged, nullptr},
        {"runs stored top-down", BmpFile(Bits(8).Size(5, -3).Compression(1).Palette(Palette16), rle8),
         BmpReader::Status::Damaged, nullptr},
        {"2 bit", BmpFile(Bits(2).Palette({0, 1, 2, 3}), PackedRows(5, 3, 2, false, IndexAt)),
         BmpReader::Status::Unsupported, nullptr},
        {"embedded JPEG", BmpFile(Bits(0).Compression(4), {0xFF, 0xD8, 0xFF}), BmpReader::Status::Unsupported, nullptr},
        {"OS/2 Huffman", BmpFile(Bits(1).Info(64).Compression(3).Palette({0, 0xFFFFFF}), {0, 0, 0, 0}),
         BmpReader::Status::Unsupported, nullptr},
        {"mask with a gap", BmpFile(Bits(16).Compression(3).Masks({0xF00F, 0x0F00, 0x00F0}), PackedRows(5, 3, 16, false, IndexAt)),
         BmpReader::Status::Unsupported, nullptr},
        {"not a bitmap", {'B', 'A', 0, 0}, BmpReader::Status::NotBmp, nullptr},
    };
}

} // namespace

TEST(BmpReader, ReadsEachVariantExactlyOrSaysWhyNot)
{
    for (const Case& c : Cases()) {
        const BmpReader reader(c.file);
        Bitmap target;
        BmpReader::Status status = reader.HeaderStatus();
        if (status == BmpReader::Status::Ok) {
            target = Bitmap::ForOverwrite(reader.Width(), reader.Height());
            status = reader.Decode(target);
        }
        ASSERT_EQ(status, c.status) << c.name;
        if (status != BmpReader::Status::Ok) {
            continue;
        }
        ASSERT_EQ(target.Width(), 5) << c.name;
        ASSERT_EQ(target.Height(), 3) << c.name;
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 5; ++x) {
                EXPECT_EQ(target.GetPixel(x, y), c.pixel(x, y)) << c.name << " at " << x << ", " << y;
            }
        }
    }
}
