#pragma once

#include "gfx/Bitmap.h"

#include <QImage>

// Bridges between our bitmaps and Qt images. QImage::Format_ARGB32 keeps the same
// non-premultiplied 0xAARRGGBB words as gfx::Bitmap, so the pixels need no reordering.
namespace shell {

// A QImage that draws straight into the bitmap's pixels; valid while the bitmap lives
// and keeps its size.
QImage WrapBitmap(gfx::Bitmap& bitmap);
// The same, read-only: the image shares the bitmap's pixels and must not be painted on.
QImage WrapBitmapReadOnly(const gfx::Bitmap& bitmap);
// A deep copy as an ARGB32 image.
QImage ToQImage(const gfx::Bitmap& bitmap);
// A deep copy of any image as an owning bitmap; a null image gives an empty bitmap.
gfx::Bitmap ToBitmap(const QImage& image);

} // namespace shell
