#include "art/SkinLayout.h"
#include "art/WindowsIconFile.h"
#include "files/AppFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cstdint>

namespace {

uint32_t Read16(const QByteArray& d, int at) { return uint8_t(d[at]) | uint32_t(uint8_t(d[at + 1])) << 8; }
uint32_t Read32(const QByteArray& d, int at) { return Read16(d, at) | Read16(d, at + 2) << 16; }

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct CursorLayout {
    uint32_t type, count, width, height, hotspotX, hotspotY, dibOffset, dibWidth, dibHeight, bitCount;
};

CursorLayout Parse(const QByteArray& d)
{
    CursorLayout c{};
    c.type = Read16(d, 2);
    c.count = Read16(d, 4);
    c.width = uint8_t(d[6]);
    c.height = uint8_t(d[7]);
    c.hotspotX = Read16(d, 10);
    c.hotspotY = Read16(d, 12);
    c.dibOffset = Read32(d, 18);
    c.dibWidth = Read32(d, int(c.dibOffset) + 4);
    c.dibHeight = Read32(d, int(c.dibOffset) + 8);
    c.bitCount = Read16(d, int(c.dibOffset) + 14);
    return c;
}

// The AND mask bit of pixel (x, y) in a bottom-up 32 x 32 entry.
bool MaskBit(const QByteArray& d, const CursorLayout& c, int x, int y)
{
    const int maskStart = int(c.dibOffset) + 40 + 32 * 32 * 4;
    const int row = 31 - y;
    return (uint8_t(d[maskStart + row * 4 + x / 8]) >> (7 - x % 8)) & 1;
}

bool OpaqueNear(const QImage& image, QPoint at, int reach)
{
    for (int y = at.y() - reach; y <= at.y() + reach; ++y) {
        for (int x = at.x() - reach; x <= at.x() + reach; ++x) {
            if (image.rect().contains(x, y) && qAlpha(image.pixel(x, y)) > 128) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(CursorFiles, EveryCursorIsA32BitWindowsCursorAimingAtItsPicture)
{
    for (const std::string& name : SkinLayout::CursorNames()) {
        SCOPED_TRACE(name);
        const QString path = QString::fromStdString(CursorFilePath(name).string());
        const QByteArray bytes = ReadAll(path);
        ASSERT_GE(bytes.size(), 22 + 40 + 32 * 32 * 4 + 32 * 4);
        const CursorLayout c = Parse(bytes);
        EXPECT_EQ(Read16(bytes, 0), 0u);
        EXPECT_EQ(c.type, 2u) << "an icon, not a cursor";
        EXPECT_EQ(c.count, 1u);
        EXPECT_EQ(c.width, 32u);
        EXPECT_EQ(c.height, 32u);
        EXPECT_EQ(c.dibWidth, 32u);
        EXPECT_EQ(c.dibHeight, 64u) << "colour rows and mask rows";
        EXPECT_EQ(c.bitCount, 32u);
        ASSERT_LT(c.hotspotX, 32u);
        ASSERT_LT(c.hotspotY, 32u);

        const QImage image = QImage::fromData(bytes, "CUR").convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_TRUE(OpaqueNear(image, QPoint(int(c.hotspotX), int(c.hotspotY)), 2))
            << "the hotspot lies away from the drawing";
        int drawn = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const bool transparent = qAlpha(image.pixel(x, y)) == 0;
                drawn += !transparent;
                ASSERT_EQ(MaskBit(bytes, c, x, y), transparent) << "mask at " << x << "," << y;
            }
        }
        EXPECT_GT(drawn, 60);
        EXPECT_LT(drawn, 32 * 32 - 100) << "a cursor should not cover its whole box";
    }
}

TEST(CursorFiles, EncodedEntryKeepsPixelsHotspotAndSizes)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(10, 20, 30, 255));
    image.setPixel(2, 1, qRgba(200, 100, 50, 128));
    const QByteArray bytes = WindowsIconFile::Encode(WindowsIconFile::Kind::Cursor, {{image, QPoint(2, 1)}});
    const CursorLayout c = Parse(bytes);
    EXPECT_EQ(c.type, 2u);
    EXPECT_EQ(c.width, 3u);
    EXPECT_EQ(c.height, 2u);
    EXPECT_EQ(c.hotspotX, 2u);
    EXPECT_EQ(c.hotspotY, 1u);
    EXPECT_EQ(Read32(bytes, 14), uint32_t(bytes.size()) - c.dibOffset) << "entry byte count";
    // Rows are bottom-up BGRA: the first stored row is the picture's last one.
    const int pixels = int(c.dibOffset) + 40;
    EXPECT_EQ(Read32(bytes, pixels + 2 * 4), qRgba(200, 100, 50, 128));
    EXPECT_EQ(Read32(bytes, pixels + 3 * 4), qRgba(10, 20, 30, 255));
    // Mask rows are padded to four bytes; set bits mark the transparent pixels.
    const int mask = pixels + 3 * 2 * 4;
    EXPECT_EQ(uint8_t(bytes[mask]), 0b11000000);     // bottom row: x = 0, 1 transparent
    EXPECT_EQ(uint8_t(bytes[mask + 4]), 0b01100000); // top row: x = 1, 2 transparent
    EXPECT_EQ(bytes.size(), mask + 8);
}

TEST(CursorFiles, ProgramIconHasSeveralSizesAndALargePicture)
{
    const QString dir = QString::fromStdString(AppDataDir().string());
    QImageReader reader(dir + "/miravo.ico");
    EXPECT_GE(reader.imageCount(), 3);
    const QImage icon = reader.read();
    EXPECT_FALSE(icon.isNull()) << reader.errorString().toStdString();
    const QImage large(dir + "/miravo.png");
    EXPECT_EQ(large.size(), QSize(256, 256));
    EXPECT_EQ(qAlpha(large.pixel(0, 0)), 0) << "rounded corners are transparent";
    EXPECT_EQ(qAlpha(large.pixel(128, 128)), 255);
}
