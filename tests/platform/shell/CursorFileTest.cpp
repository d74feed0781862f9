#include "CursorFixtures.h"
#include "QtTestApp.h"

#include "files/AppFiles.h"
#include "shell/CursorFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace cursorfixtures;
using shell::CursorFile;

namespace {

struct HotspotCase {
    const char* name;
    std::vector<Entry> entries;
    QPoint hotspot;
    int size;
};

} // namespace

TEST(CursorFile, ReadsTheHotspotOfTheChosenEntry)
{
    TestApplication();
    const QImage triangle = TrianglePicture();
    const std::vector<HotspotCase> cases = {
        {"32-bit DIB with alpha", {{32, 5, 7, Dib32(triangle, true)}}, {5, 7}, 32},
        {"32-bit DIB with mask only", {{32, 0, 0, Dib32(triangle, false)}}, {0, 0}, 32},
        {"PNG entry", {{32, 16, 16, Png(triangle)}}, {16, 16}, 32},
        {"24-bit DIB", {{32, 3, 30, Dib24(triangle)}}, {3, 30}, 32},
        {"nearest 32 wins over an earlier 16",
         {{16, 1, 1, Dib32(TrianglePicture(16), true)}, {32, 10, 12, Dib32(triangle, true)}},
         {10, 12},
         32},
        {"hotspot beyond the picture is kept inside", {{32, 40, 50, Dib32(triangle, true)}}, {31, 31}, 32},
        {"48-pixel entry alone", {{48, 47, 2, Dib32(TrianglePicture(48), true)}}, {47, 2}, 48},
    };
    for (const HotspotCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CursorFile cursor = CursorFile::FromBytes(CursorFileBytes(c.entries));
        ASSERT_FALSE(cursor.IsEmpty());
        EXPECT_EQ(cursor.Hotspot(), c.hotspot);
        EXPECT_EQ(cursor.Image().size(), QSize(c.size, c.size));
    }
}

TEST(CursorFile, DecodesColourAndTransparency)
{
    TestApplication();
    const QImage triangle = TrianglePicture();
    const std::vector<std::pair<const char*, QByteArray>> encodings = {
        {"32-bit with alpha", Dib32(triangle, true)},
        {"32-bit with AND mask", Dib32(triangle, false)},
        {"24-bit with AND mask", Dib24(triangle)},
        {"8-bit palette", DibPalette(triangle, 8)},
        {"4-bit palette", DibPalette(triangle, 4)},
        {"1-bit palette", DibPalette(triangle, 1)},
    };
    for (const auto& [name, dib] : encodings) {
        SCOPED_TRACE(name);
        const CursorFile cursor = CursorFile::FromBytes(CursorFileBytes({{32, 0, 0, dib}}));
        ASSERT_FALSE(cursor.IsEmpty());
        // Every pixel: a flipped row order, a swapped nibble or a misread mask bit shows.
        int wrong = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb expected = triangle.pixel(x, y);
                const QRgb got = cursor.Image().pixel(x, y);
                const bool same = qAlpha(expected) == 0 ? qAlpha(got) == 0 : got == expected;
                if (!same && ++wrong <= 3) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(CursorFile, RejectsDamagedFiles)
{
    TestApplication();
    const QByteArray good = CursorFileBytes({{32, 3, 3, Dib32(TrianglePicture(), true)}});
    QByteArray offsetBeyondEnd = good;
    offsetBeyondEnd[6 + 12] = char(0xFF);
    offsetBeyondEnd[6 + 15] = char(0x7F);
    QByteArray sizeBeyondEnd = good;
    sizeBeyondEnd[6 + 11] = char(0x10);
    QByteArray zeroWidthDib = good;
    zeroWidthDib[22 + 4] = 0;
    QByteArray hugeDib = good;
    hugeDib[22 + 6] = char(0x10); // width 0x100020

    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"icon, not cursor", CursorFileBytes({{32, 3, 3, Dib32(TrianglePicture(), true)}}, 1)},
        {"no entries", CursorFileBytes({})},
        {"directory cut short", good.left(14)},
        {"colour rows cut short", CursorFileBytes({{32, 0, 0, Dib32(TrianglePicture(), true).left(1000)}})},
        {"entry offset beyond the file", offsetBeyondEnd},
        {"entry size beyond the file", sizeBeyondEnd},
        {"DIB of width 0", zeroWidthDib},
        {"DIB wider than any cursor", hugeDib},
        {"PNG signature with garbage", CursorFileBytes({{32, 0, 0, QByteArray("\x89PNG\r\n\x1a\nrubbish", 15)}})},
        {"text file", QByteArray("not a cursor at all")},
        {"PNG larger than any cursor", CursorFileBytes({{32, 0, 0, Png(TrianglePicture(300))}})},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const CursorFile cursor = CursorFile::FromBytes(bytes);
        EXPECT_TRUE(cursor.IsEmpty());
        EXPECT_FALSE(cursor.ToCursor().has_value());
    }
}

TEST(CursorFile, LoadsFromDiskIntoAQCursor)
{
    TestApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("line.cur");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(CursorFileBytes({{32, 6, 25, Dib32(TrianglePicture(), true)}}));
    file.close();

    const std::optional<QCursor> cursor = CursorFile::LoadCursor(path);
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(cursor->shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor->hotSpot(), QPoint(6, 25));
    EXPECT_EQ(cursor->pixmap().size(), QSize(32, 32));

    EXPECT_FALSE(CursorFile::LoadCursor(dir.filePath("missing.cur")).has_value());
    EXPECT_FALSE(CursorFile::LoadCursor(dir.path()).has_value());
}

TEST(CursorFile, ReadsEveryCursorOfTheSkin)
{
#ifndef MIRAVO_HAS_SKIN
    GTEST_SKIP() << "the skin is not part of this build";
#else
    TestApplication();
    for (const char* name : {"line", "stretch", "bc", "blur", "copy", "zoom", "move", "help", "hand"}) {
        SCOPED_TRACE(name);
        QFile file(QString::fromStdString(CursorFilePath(name).string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const CursorFile cursor = CursorFile::FromBytes(bytes);
        ASSERT_FALSE(cursor.IsEmpty());
        ASSERT_EQ(cursor.Image().size(), QSize(32, 32));
        // The hotspot as stored in the file's only directory entry.
        const QPoint stored(uint8_t(bytes[10]) | uint8_t(bytes[11]) << 8, uint8_t(bytes[12]) | uint8_t(bytes[13]) << 8);
        EXPECT_EQ(cursor.Hotspot(), stored);
        // Qt's own reader must see the same picture.
        const QImage reference = QImage::fromData(bytes, "CUR").convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(reference.size(), cursor.Image().size());
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(cursor.Image().pixel(x, y), reference.pixel(x, y)) << x << "," << y;
                opaque += qAlpha(cursor.Image().pixel(x, y)) == 255;
            }
        }
        EXPECT_GT(opaque, 20);
        EXPECT_LT(opaque, 32 * 32 - 20);
    }
#endif
}
