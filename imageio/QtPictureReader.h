#pragma once

#include "gfx/Bitmap.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The kinds without a reader of our own (GIF, TIFF and WebP), through Qt's image
// plugins, and the name Qt gives any other file it knows (XBM, XPM, PBM and the like),
// for the message that says we do not open it.
class QtPictureReader {
public:
    // Reads the file's bytes, which must outlive the reader, as the given kind ("TIFF"),
    // or as whatever Qt takes them for when kind is empty. memoryLimit raises Qt's own
    // allocation limit to what memory allows.
    QtPictureReader(std::span<const uint8_t> file, std::string_view kind, uint64_t memoryLimit);

    bool CanRead() { return reader_.canRead(); }
    // Qt's name of the format, upper case, for the message.
    std::string FormatName() const { return QString::fromLatin1(reader_.format()).toUpper().toStdString(); }
    QSize Size() const { return reader_.size(); }
    // Nothing when Qt's reader failed.
    std::optional<QImage> Read();

    // Whether memory can still hold a picture of this size at the deepest layout Qt's
    // readers use (8 bytes a pixel): when not, a failed read is more likely a shortage
    // than damage.
    static bool MemoryHolds(QSize size);

    // Our pixel layout, converted row by row in this thread: Qt's whole-picture
    // conversion hands large pictures to worker threads and waits forever when memory
    // is too short to start one. Throws std::bad_alloc when memory is short.
    static gfx::Bitmap ToBitmap(const QImage& image);

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QImageReader reader_;
};
