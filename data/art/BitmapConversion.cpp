#include "art/BitmapConversion.h"

#include <cstring>

gfx::Bitmap BitmapConversion::ToBitmap(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    gfx::Bitmap bitmap(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        std::memcpy(bitmap.Scanline(y), argb.constScanLine(y), size_t(bitmap.Stride()));
    }
    return bitmap;
}

QImage BitmapConversion::PaintingImage(QSize size, int scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage BitmapConversion::ToImage(const gfx::Bitmap& bitmap)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::memcpy(image.scanLine(y), bitmap.Scanline(y), size_t(bitmap.Stride()));
    }
    return image;
}
