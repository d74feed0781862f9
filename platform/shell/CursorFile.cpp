#include "shell/CursorFile.h"

#include <QFile>
#include <QPixmap>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace shell {

namespace {

constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;
constexpr uint16_t kCursorType = 2;
constexpr int kInfoHeaderSize = 40;
// Larger files are not cursors; the limit also keeps hostile sizes out of the arithmetic.
constexpr qsizetype kMaxFileSize = 4 * 1024 * 1024;

uint16_t ReadU16(const QByteArray& bytes, qsizetype at)
{
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

uint32_t ReadU32(const QByteArray& bytes, qsizetype at)
{
    return uint32_t(ReadU16(bytes, at)) | uint32_t(ReadU16(bytes, at + 2)) << 16;
}

struct Entry {
    int width = 0;
    int height = 0;
    QPoint hotspot;
    qsizetype offset = 0;
    qsizetype size = 0;
};

// The entry whose width is nearest the usual 32-pixel cursor; the first of equals.
std::optional<Entry> ChooseEntry(const QByteArray& bytes)
{
    if (bytes.size() < kDirectorySize || ReadU16(bytes, 0) != 0 || ReadU16(bytes, 2) != kCursorType) {
        return std::nullopt;
    }
    const int count = ReadU16(bytes, 4);
    if (count == 0 || bytes.size() < kDirectorySize + qsizetype(count) * kEntrySize) {
        return std::nullopt;
    }
    std::optional<Entry> best;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = kDirectorySize + qsizetype(i) * kEntrySize;
        Entry entry;
        // A stored size of 0 means 256 pixels.
        entry.width = uint8_t(bytes[at]) == 0 ? 256 : uint8_t(bytes[at]);
        entry.height = uint8_t(bytes[at + 1]) == 0 ? 256 : uint8_t(bytes[at + 1]);
        entry.hotspot = QPoint(ReadU16(bytes, at + 4), ReadU16(bytes, at + 6));
        entry.size = ReadU32(bytes, at + 8);
        entry.offset = ReadU32(bytes, at + 12);
        if (entry.size == 0 || entry.offset > bytes.size() || entry.size > bytes.size() - entry.offset) {
            continue;
        }
        if (!best || std::abs(entry.width - 32) < std::abs(best->width - 32)) {
            best = entry;
        }
    }
    return best;
}

bool IsPng(const QByteArray& data) { return data.startsWith("\x89PNG\r\n\x1a\n"); }

// Rows of a DIB are stored bottom-up and padded to whole 32-bit words.
qsizetype RowStride(int width, int bitsPerPixel) { return ((qsizetype(width) * bitsPerPixel + 31) / 32) * 4; }

struct DibLayout {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<QRgb> palette;
    const uchar* colour = nullptr;
    const uchar* mask = nullptr; // null when the entry has no AND mask
};

// Reads the header and palette and checks that the colour rows fit into the entry.
std::optional<DibLayout> ReadDibLayout(const QByteArray& data)
{
    if (data.size() < kInfoHeaderSize) {
        return std::nullopt;
    }
    const uint32_t headerSize = ReadU32(data, 0);
    DibLayout dib;
    dib.width = int32_t(ReadU32(data, 4));
    // The stored height counts the colour rows and the mask rows together.
    dib.height = int32_t(ReadU32(data, 8)) / 2;
    dib.bitsPerPixel = ReadU16(data, 14);
    const uint32_t compression = ReadU32(data, 16);
    const uint32_t coloursUsed = ReadU32(data, 32);
    const bool knownDepth = dib.bitsPerPixel == 1 || dib.bitsPerPixel == 4 || dib.bitsPerPixel == 8 ||
                            dib.bitsPerPixel == 24 || dib.bitsPerPixel == 32;
    if (headerSize < uint32_t(kInfoHeaderSize) || headerSize > uint32_t(data.size()) || compression != 0 ||
        !knownDepth || dib.width <= 0 || dib.width > 256 || dib.height <= 0 || dib.height > 256) {
        return std::nullopt;
    }
    qsizetype at = headerSize;
    if (dib.bitsPerPixel <= 8) {
        const uint32_t fullPalette = 1u << dib.bitsPerPixel;
        const uint32_t entries = coloursUsed == 0 || coloursUsed > fullPalette ? fullPalette : coloursUsed;
        if (data.size() < at + qsizetype(entries) * 4) {
            return std::nullopt;
        }
        dib.palette.resize(fullPalette, qRgb(0, 0, 0));
        for (uint32_t i = 0; i < entries; ++i, at += 4) {
            dib.palette[i] = qRgb(uint8_t(data[at + 2]), uint8_t(data[at + 1]), uint8_t(data[at]));
        }
    }
    const qsizetype colourBytes = RowStride(dib.width, dib.bitsPerPixel) * dib.height;
    const qsizetype maskBytes = RowStride(dib.width, 1) * dib.height;
    if (data.size() < at + colourBytes) {
        return std::nullopt;
    }
    dib.colour = reinterpret_cast<const uchar*>(data.constData()) + at;
    if (data.size() >= at + colourBytes + maskBytes) {
        dib.mask = dib.colour + colourBytes;
    }
    return dib;
}

QRgb ColourAt(const DibLayout& dib, const uchar* row, int x)
{
    switch (dib.bitsPerPixel) {
    case 1: return dib.palette[(row[x / 8] >> (7 - x % 8)) & 1];
    case 4: return dib.palette[(row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF];
    case 8: return dib.palette[row[x]];
    case 24: return qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    default: return qRgba(row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3]);
    }
}

bool HasAlphaChannel(const DibLayout& dib)
{
    if (dib.bitsPerPixel != 32) {
        return false;
    }
    const qsizetype bytes = RowStride(dib.width, 32) * dib.height;
    for (qsizetype i = 3; i < bytes; i += 4) {
        if (dib.colour[i] != 0) {
            return true;
        }
    }
    return false;
}

// Without an alpha channel the AND mask decides: a set bit leaves the screen as it is.
// Where the colour is not black as well, Windows would invert the screen; a cursor
// image cannot, so those pixels show opaque black, visible on any background.
QImage DecodeDib(const QByteArray& data)
{
    const std::optional<DibLayout> dib = ReadDibLayout(data);
    if (!dib) {
        return {};
    }
    const bool alphaChannel = HasAlphaChannel(*dib);
    const qsizetype colourStride = RowStride(dib->width, dib->bitsPerPixel);
    const qsizetype maskStride = RowStride(dib->width, 1);
    QImage image(dib->width, dib->height, QImage::Format_ARGB32);
    for (int y = 0; y < dib->height; ++y) {
        const int fileRow = dib->height - 1 - y;
        const uchar* colourRow = dib->colour + fileRow * colourStride;
        const uchar* maskRow = dib->mask != nullptr ? dib->mask + fileRow * maskStride : nullptr;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dib->width; ++x) {
            const QRgb colour = ColourAt(*dib, colourRow, x);
            if (alphaChannel) {
                target[x] = colour;
                continue;
            }
            const bool screenKept = maskRow != nullptr && (maskRow[x / 8] & (0x80 >> (x % 8))) != 0;
            if (!screenKept) {
                target[x] = qRgba(qRed(colour), qGreen(colour), qBlue(colour), 255);
            } else {
                target[x] = (colour & 0xFFFFFF) == 0 ? qRgba(0, 0, 0, 0) : qRgba(0, 0, 0, 255);
            }
        }
    }
    return image;
}

} // namespace

CursorFile CursorFile::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) {
        return {};
    }
    return FromBytes(file.readAll());
}

CursorFile CursorFile::FromBytes(const QByteArray& bytes)
{
    CursorFile cursor;
    if (bytes.size() > kMaxFileSize) {
        return cursor;
    }
    const std::optional<Entry> entry = ChooseEntry(bytes);
    if (!entry) {
        return cursor;
    }
    const QByteArray data = bytes.mid(entry->offset, entry->size);
    QImage image = IsPng(data) ? QImage::fromData(data, "PNG").convertToFormat(QImage::Format_ARGB32)
                               : DecodeDib(data);
    // Cursor entries are at most 256 pixels a side; a larger PNG is not a cursor.
    if (image.isNull() || image.width() > 256 || image.height() > 256) {
        return cursor;
    }
    cursor.image_ = std::move(image);
    cursor.hotspot_ = QPoint(std::min(entry->hotspot.x(), cursor.image_.width() - 1),
                             std::min(entry->hotspot.y(), cursor.image_.height() - 1));
    return cursor;
}

std::optional<QCursor> CursorFile::ToCursor() const
{
    if (IsEmpty()) {
        return std::nullopt;
    }
    return QCursor(QPixmap::fromImage(image_), hotspot_.x(), hotspot_.y());
}

std::optional<QCursor> CursorFile::LoadCursor(const QString& path) { return Load(path).ToCursor(); }

} // namespace shell
