#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <vector>

// Writes Windows icon (.ico) and cursor (.cur) files: one 32-bit BGRA DIB per entry,
// followed by its one-bit AND mask, as the Windows loaders and Qt's reader expect.
class WindowsIconFile {
public:
    enum class Kind { Icon = 1, Cursor = 2 };

    struct Entry {
        QImage image;  // at most 256 x 256
        QPoint hotspot; // cursors only
    };

    static QByteArray Encode(Kind kind, const std::vector<Entry>& entries);
    static bool Write(const QString& path, Kind kind, const std::vector<Entry>& entries);
};
