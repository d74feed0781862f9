#include "shell/BitmapImage.h"

#include <cstring>

namespace shell {

QImage WrapBitmap(gfx::Bitmap& bitmap)
{
    if (bitmap.IsEmpty()) {
        return {};
    }
    return QImage(reinterpret_cast<uchar*>(bitmap.Pixels()), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                  QImage::Format_ARGB32);
}

QImage WrapBitmapReadOnly(const gfx::Bitmap& bitmap)
{
    if (bitmap.IsEmpty()) {
        return {};
    }
    // The const uchar* constructor makes Qt copy the data before any write.
    return QImage(reinterpret_cast<const uchar*>(bitmap.Pixels()), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                  QImage::Format_ARGB32);
}

QImage ToQImage(const gfx::Bitmap& bitmap) { return WrapBitmapReadOnly(bitmap).copy(); }

gfx::Bitmap ToBitmap(const QImage& image)
{
    if (image.isNull()) {
        return {};
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    gfx::Bitmap bitmap(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        std::memcpy(bitmap.Scanline(y), argb.constScanLine(y), size_t(bitmap.Stride()));
    }
    return bitmap;
}

} // namespace shell
