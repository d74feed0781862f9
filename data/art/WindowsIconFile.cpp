#include "art/WindowsIconFile.h"

#include <QFile>

namespace {

void Put16(QByteArray& out, uint32_t v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask (set bits are transparent).
// The header's height counts both the colour rows and the mask rows.
QByteArray EncodeDib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = (w + 31) / 32 * 4;
    QByteArray out;
    Put32(out, 40);
    Put32(out, uint32_t(w));
    Put32(out, uint32_t(h * 2));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, uint32_t(w * h * 4 + maskStride * h));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            Put32(out, row[x]); // 0xAARRGGBB stored little-endian is B, G, R, A
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0) {
                mask[x / 8] = char(uchar(mask[x / 8]) | (0x80 >> (x % 8)));
            }
        }
        out.append(mask);
    }
    return out;
}

} // namespace

QByteArray WindowsIconFile::Encode(Kind kind, const std::vector<Entry>& entries)
{
    QByteArray out;
    Put16(out, 0);
    Put16(out, uint32_t(kind));
    Put16(out, uint32_t(entries.size()));
    std::vector<QByteArray> images;
    for (const Entry& entry : entries) {
        images.push_back(EncodeDib(entry.image));
    }
    uint32_t offset = 6 + 16 * uint32_t(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const QImage& image = entries[i].image;
        out.append(char(image.width() >= 256 ? 0 : image.width()));
        out.append(char(image.height() >= 256 ? 0 : image.height()));
        out.append(char(0)); // no palette
        out.append(char(0));
        // A cursor keeps its hotspot where an icon keeps its planes and bit count.
        Put16(out, kind == Kind::Cursor ? uint32_t(entries[i].hotspot.x()) : 1);
        Put16(out, kind == Kind::Cursor ? uint32_t(entries[i].hotspot.y()) : 32);
        Put32(out, uint32_t(images[i].size()));
        Put32(out, offset);
        offset += uint32_t(images[i].size());
    }
    for (const QByteArray& image : images) {
        out.append(image);
    }
    return out;
}

bool WindowsIconFile::Write(const QString& path, Kind kind, const std::vector<Entry>& entries)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray bytes = Encode(kind, entries);
    return file.write(bytes) == bytes.size();
}
