#pragma once

#include "gfx/Bitmap.h"

#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

// The formats without a reader of our own (GIF, TIFF and WebP), through Qt's image
// reader: only those whose files can be proved whole, and none that is no photo format
// (XBM, XPM, PBM and the like), since a cut-off file of those cannot be told apart.
class QtPictureReader {
public:
    // memoryLimit raises Qt's own allocation limit to what memory allows.
    QtPictureReader(const QString& path, uint64_t memoryLimit);

    bool CanRead() { return reader_.canRead(); }
    QByteArray Format() const { return reader_.format(); }
    // Qt's name of the format, upper case, for the message.
    QString FormatName() const { return QString::fromLatin1(reader_.format()).toUpper(); }
    bool IsOpenedFormat() const;
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
    QImageReader reader_;
};
