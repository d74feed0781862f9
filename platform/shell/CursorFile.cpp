#include "shell/CursorFile.h"

#include <QFile>
#include <QPixmap>

#include <cstdint>
#include <cstdlib>

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

// A 32-bit DIB: colour rows bottom-up as B, G, R, A, then a 1-bit AND mask whose rows
// are padded to 32 bits. Old cursors leave alpha at zero and rely on the mask alone.
QImage DecodeDib32(const QByteArray& data, int width, int height)
{
    const qsizetype colourBytes = qsizetype(width) * height * 4;
    const qsizetype maskStride = ((width + 31) / 32) * 4;
    const qsizetype maskBytes = maskStride * height;
    if (data.size() < kInfoHeaderSize + colourBytes) {
        return {};
    }
    const bool hasMask = data.size() >= kInfoHeaderSize + colourBytes + maskBytes;
    const uchar* colour = reinterpret_cast<const uchar*>(data.constData()) + kInfoHeaderSize;
    const uchar* mask = colour + colourBytes;

    bool anyAlpha = false;
    for (qsizetype i = 3; i < colourBytes; i += 4) {
        if (colour[i] != 0) {
            anyAlpha = true;
            break;
        }
    }
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const int fileRow = height - 1 - y;
        const uchar* source = colour + qsizetype(fileRow) * width * 4;
        const uchar* maskRow = mask + qsizetype(fileRow) * maskStride;
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uchar* p = source + x * 4;
            int alpha = p[3];
            if (!anyAlpha) {
                const bool transparent = hasMask && (maskRow[x / 8] & (0x80 >> (x % 8))) != 0;
                alpha = transparent ? 0 : 255;
            }
            target[x] = qRgba(p[2], p[1], p[0], alpha);
        }
    }
    return image;
}

QImage DecodeDib(const QByteArray& cursorFile, const Entry& entry)
{
    const QByteArray data = cursorFile.mid(entry.offset, entry.size);
    if (data.size() < kInfoHeaderSize || ReadU32(data, 0) < uint32_t(kInfoHeaderSize)) {
        return {};
    }
    const int32_t width = int32_t(ReadU32(data, 4));
    // The stored height counts the colour rows and the mask rows together.
    const int32_t height = int32_t(ReadU32(data, 8)) / 2;
    const uint16_t bitCount = ReadU16(data, 14);
    if (width <= 0 || width > 256 || height <= 0 || height > 256) {
        return {};
    }
    if (bitCount == 32 && ReadU32(data, 0) == uint32_t(kInfoHeaderSize)) {
        return DecodeDib32(data, width, height);
    }
    // Palette and 24-bit entries: Qt's reader handles them given the whole file.
    return QImage::fromData(cursorFile, "CUR").convertToFormat(QImage::Format_ARGB32);
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
                               : DecodeDib(bytes, *entry);
    if (image.isNull()) {
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
