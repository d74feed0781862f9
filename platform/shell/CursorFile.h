#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

#include <optional>

namespace shell {

// A mouse cursor read from a Windows .cur file: its picture and its hotspot.
// Qt's icon reader decodes the picture but drops the hotspot, so the directory and its
// entry are read here. An entry holds either a PNG stream or a DIB: 32-bit colour with
// alpha, or 1, 4, 8, 24 or 32-bit colour whose AND mask marks the transparent pixels.
class CursorFile {
public:
    // Empty when the file is missing, is not a cursor file or is damaged.
    static CursorFile Load(const QString& path);
    static CursorFile FromBytes(const QByteArray& bytes);

    bool IsEmpty() const { return image_.isNull(); }
    const QImage& Image() const { return image_; }
    QPoint Hotspot() const { return hotspot_; }

    // The cursor to set on a widget; nothing when the file gave no picture.
    std::optional<QCursor> ToCursor() const;
    // Load(path).ToCursor() in one call.
    static std::optional<QCursor> LoadCursor(const QString& path);

private:
    QImage image_;
    QPoint hotspot_;
};

} // namespace shell
