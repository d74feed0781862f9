#include "imageio/ExifOrientation.h"

#include "imageio/OrientedCopy.h"
#include "imageio/PictureFiles.h"

#include <gtest/gtest.h>

using namespace picturefiles;

namespace {

// The APP1 payload ("Exif\0\0" and the TIFF structure) of a block with one orientation tag.
std::vector<uint8_t> ExifBlock(uint16_t orientation, bool bigEndian = false)
{
    const auto jpeg = WithExifOrientation({0xFF, 0xD8}, orientation, bigEndian);
    return {jpeg.begin() + 6, jpeg.end()}; // after SOI, the APP1 marker and its length
}

gfx::Bitmap FromRows(int32_t width, int32_t height, std::initializer_list<gfx::Argb> pixels)
{
    gfx::Bitmap b(width, height);
    std::copy(pixels.begin(), pixels.end(), b.Pixels());
    return b;
}

std::vector<gfx::Argb> PixelsOf(const gfx::Bitmap& b)
{
    return {b.Pixels(), b.Pixels() + size_t(b.Width()) * size_t(b.Height())};
}

} // namespace

TEST(ExifOrientation, ReadsTheTagInBothByteOrders)
{
    for (bool bigEndian : {false, true}) {
        for (uint16_t value = 1; value <= 8; ++value) {
            EXPECT_EQ(ReadExifOrientation(ExifBlock(value, bigEndian)), ExifOrientation(value))
                << "value " << value << (bigEndian ? " MM" : " II");
        }
    }
}

TEST(ExifOrientation, MalformedBlocksReadAsUpright)
{
    auto badSignature = ExifBlock(6);
    badSignature[0] = 'X';
    auto badByteOrder = ExifBlock(6);
    badByteOrder[6] = 'X';
    auto outOfRange = ExifBlock(9);
    auto directoryOutside = ExifBlock(6);
    directoryOutside[10] = 0xF0; // first directory offset far beyond the block
    auto cutShort = ExifBlock(6);
    cutShort.resize(cutShort.size() - 12); // the entry is incomplete
    const std::vector<uint8_t> cases[] = {{}, badSignature, badByteOrder, outOfRange, directoryOutside, cutShort};
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ReadExifOrientation(cases[i]), ExifOrientation::Upright) << "case " << i;
    }
}

TEST(ExifOrientation, RewrittenBlockIsUprightAndDropsTheThumbnailLink)
{
    for (bool bigEndian : {false, true}) {
        auto block = ExifBlock(6, bigEndian);
        block[block.size() - 1] = 0x40; // a link to a thumbnail directory
        const auto rewritten = ExifForRewrittenPicture(block);
        ASSERT_EQ(rewritten.size(), block.size());
        EXPECT_EQ(ReadExifOrientation(rewritten), ExifOrientation::Upright);
        EXPECT_EQ(std::vector<uint8_t>(rewritten.end() - 4, rewritten.end()), std::vector<uint8_t>(4, 0));
        EXPECT_TRUE(std::equal(block.begin(), block.end() - 16, rewritten.begin())) << "only the tag value and link change";
    }
    EXPECT_TRUE(ExifForRewrittenPicture(std::vector<uint8_t>{'E', 'x', 'i', 'f', 0, 0}).empty());
}

TEST(ExifOrientation, TurnsAndMirrorsThePixels)
{
    // Stored:  a b c
    //          d e f
    enum : gfx::Argb { a = 1, b, c, d, e, f };
    const gfx::Bitmap stored = FromRows(3, 2, {a, b, c, d, e, f});
    const struct {
        ExifOrientation orientation;
        int32_t width;
        std::vector<gfx::Argb> shown;
    } cases[] = {
        {ExifOrientation::Upright, 3, {a, b, c, d, e, f}},
        {ExifOrientation::MirroredHorizontally, 3, {c, b, a, f, e, d}},
        {ExifOrientation::UpsideDown, 3, {f, e, d, c, b, a}},
        {ExifOrientation::MirroredVertically, 3, {d, e, f, a, b, c}},
        {ExifOrientation::Transposed, 2, {a, d, b, e, c, f}},
        {ExifOrientation::TurnedLeft, 2, {d, a, e, b, f, c}},
        {ExifOrientation::Transversed, 2, {f, c, e, b, d, a}},
        {ExifOrientation::TurnedRight, 2, {c, f, b, e, a, d}},
    };
    for (const auto& c : cases) {
        const gfx::Bitmap shown = ApplyOrientation(stored, c.orientation);
        EXPECT_EQ(shown.Width(), c.width) << int(c.orientation);
        EXPECT_EQ(shown.Height(), 6 / c.width) << int(c.orientation);
        EXPECT_EQ(PixelsOf(shown), c.shown) << int(c.orientation);
    }
}

TEST(ExifOrientation, QuarterTurnsOfLargePicturesMatchPlainRotation)
{
    // Larger than the copy blocks and not a multiple of them.
    const gfx::Bitmap stored = PhotoLike(150, 70, 3);
    const gfx::Bitmap once = stored.RotatedClockwise();
    const gfx::Bitmap twice = once.RotatedClockwise();
    const gfx::Bitmap thrice = twice.RotatedClockwise();
    EXPECT_EQ(PixelsOf(ApplyOrientation(stored, ExifOrientation::TurnedLeft)), PixelsOf(once));
    EXPECT_EQ(PixelsOf(ApplyOrientation(stored, ExifOrientation::UpsideDown)), PixelsOf(twice));
    EXPECT_EQ(PixelsOf(ApplyOrientation(stored, ExifOrientation::TurnedRight)), PixelsOf(thrice));
}

TEST(ExifOrientation, TurningStripByStripEqualsTurningAtOnce)
{
    const gfx::Bitmap stored = PhotoLike(150, 70, 4);
    for (uint16_t value = 1; value <= 8; ++value) {
        const OrientedCopy placement(ExifOrientation(value), stored.Width(), stored.Height());
        gfx::Bitmap inStrips(placement.TargetWidth(), placement.TargetHeight());
        for (int32_t first = 0; first < stored.Height(); first += 16) {
            placement.CopyRows(stored.Scanline(first), first, std::min(16, stored.Height() - first), inStrips);
        }
        EXPECT_EQ(PixelsOf(inStrips), PixelsOf(ApplyOrientation(stored, ExifOrientation(value)))) << value;
    }
}
