#pragma once

#include "gfx/Bitmap.h"

#include <QImage>

// Moves pictures between Qt and our raster layer; both keep non-premultiplied 0xAARRGGBB
// words, so rows copy as they are.
class BitmapConversion {
public:
    static gfx::Bitmap ToBitmap(const QImage& image);
    static QImage ToImage(const gfx::Bitmap& bitmap);
};
