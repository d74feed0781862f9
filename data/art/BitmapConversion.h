#pragma once

#include "gfx/Bitmap.h"

#include <QImage>

// Moves pictures between Qt and our raster layer; both keep non-premultiplied 0xAARRGGBB
// words, so rows copy as they are.
class BitmapConversion {
public:
    static gfx::Bitmap ToBitmap(const QImage& image);
    static QImage ToImage(const gfx::Bitmap& bitmap);
    // A blank image to paint on in window pixels, holding scale pixels per window pixel
    // each way, so that what is painted comes out drawn at that resolution.
    static QImage PaintingImage(QSize size, int scale);
};
