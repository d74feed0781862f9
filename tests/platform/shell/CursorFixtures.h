#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

// Hand-made .cur files for the cursor tests.
namespace cursorfixtures {

inline void PutU16(QByteArray& bytes, uint16_t v)
{
    bytes.append(char(v & 0xFF));
    bytes.append(char(v >> 8));
}

inline void PutU32(QByteArray& bytes, uint32_t v)
{
    PutU16(bytes, uint16_t(v & 0xFFFF));
    PutU16(bytes, uint16_t(v >> 16));
}

struct Entry {
    int size = 32;
    int hotX = 0;
    int hotY = 0;
    QByteArray data;
};

// ICONDIR (type 2) followed by its entries and their data.
inline QByteArray CursorFileBytes(const std::vector<Entry>& entries, uint16_t type = 2)
{
    QByteArray bytes;
    PutU16(bytes, 0);
    PutU16(bytes, type);
    PutU16(bytes, uint16_t(entries.size()));
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        bytes.append(char(e.size == 256 ? 0 : e.size));
        bytes.append(char(e.size == 256 ? 0 : e.size));
        bytes.append(char(0));
        bytes.append(char(0));
        PutU16(bytes, uint16_t(e.hotX));
        PutU16(bytes, uint16_t(e.hotY));
        PutU32(bytes, uint32_t(e.data.size()));
        PutU32(bytes, offset);
        offset += uint32_t(e.data.size());
    }
    for (const Entry& e : entries) {
        bytes.append(e.data);
    }
    return bytes;
}

enum class DibAlpha { Stored, Zero };

// A 24- or 32-bit DIB of the image (bottom-up) followed by its AND mask, which marks the
// transparent pixels. 24-bit rows need no padding only when the width is a multiple of 4.
inline QByteArray DibTrueColour(const QImage& image, int bits, DibAlpha alpha)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width(), h = argb.height();
    QByteArray bytes;
    PutU32(bytes, 40);
    PutU32(bytes, uint32_t(w));
    PutU32(bytes, uint32_t(h * 2));
    PutU16(bytes, 1);
    PutU16(bytes, uint16_t(bits));
    for (int i = 0; i < 6; ++i) {
        PutU32(bytes, 0);
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = argb.pixel(x, y);
            bytes.append(char(qBlue(p)));
            bytes.append(char(qGreen(p)));
            bytes.append(char(qRed(p)));
            if (bits == 32) {
                bytes.append(char(alpha == DibAlpha::Stored ? qAlpha(p) : 0));
            }
        }
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(argb.pixel(x, y)) == 0) {
                row[x / 8] = char(uint8_t(row[x / 8]) | (0x80 >> (x % 8)));
            }
        }
        bytes.append(row);
    }
    return bytes;
}

// withAlpha false writes alpha 0 everywhere, as old cursors do, and lets the mask carry
// the transparency.
inline QByteArray Dib32(const QImage& image, bool withAlpha)
{
    return DibTrueColour(image, 32, withAlpha ? DibAlpha::Stored : DibAlpha::Zero);
}

// No alpha: the AND mask alone makes pixels transparent.
inline QByteArray Dib24(const QImage& image) { return DibTrueColour(image, 24, DibAlpha::Zero); }

// A palette DIB of 1, 4 or 8 bits per pixel with two colours: index 1 for every opaque
// pixel (its colour taken from the image's first opaque pixel), index 0 black for the
// transparent ones, which the AND mask marks.
inline QByteArray DibPalette(const QImage& image, int bits)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width(), h = argb.height();
    QRgb ink = qRgb(0, 0, 0);
    for (int i = 0; i < w * h; ++i) {
        if (qAlpha(argb.pixel(i % w, i / w)) != 0) {
            ink = argb.pixel(i % w, i / w);
            break;
        }
    }
    QByteArray bytes;
    PutU32(bytes, 40);
    PutU32(bytes, uint32_t(w));
    PutU32(bytes, uint32_t(h * 2));
    PutU16(bytes, 1);
    PutU16(bytes, uint16_t(bits));
    PutU32(bytes, 0);
    PutU32(bytes, 0);
    PutU32(bytes, 0);
    PutU32(bytes, 0);
    PutU32(bytes, 2); // colours used
    PutU32(bytes, 0);
    PutU32(bytes, 0);                                                      // index 0: black
    PutU32(bytes, uint32_t(qBlue(ink) | qGreen(ink) << 8 | qRed(ink) << 16)); // index 1
    const int stride = ((w * bits + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(argb.pixel(x, y)) != 0) {
                const int bit = x * bits;
                row[bit / 8] = char(uint8_t(row[bit / 8]) | (1 << (8 - bits - bit % 8)));
            }
        }
        bytes.append(row);
    }
    const QByteArray withMask = Dib32(image, false);
    return bytes + withMask.right(((w + 31) / 32) * 4 * h);
}

inline QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A 32 x 32 arrow-like picture: opaque red in the upper-left triangle, transparent elsewhere.
inline QImage TrianglePicture(int size = 32)
{
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.setPixel(x, y, x + y < size ? qRgba(200, 10, 10, 255) : qRgba(0, 0, 0, 0));
        }
    }
    return image;
}

} // namespace cursorfixtures
