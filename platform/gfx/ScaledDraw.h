#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"

namespace gfx {

// The part of a source that a scaled drawing reads, in source pixels. It may start and
// end between pixels, and the source's content may end inside its last pixel: a halved
// copy of a picture of odd width covers only the left half of its last column.
struct SourceArea {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double extentWidth = 0; // where the source's content ends
    double extentHeight = 0;
};

// Draws sourceRect of source scaled into destination on target, limited to clip.
// Each axis is filtered on its own: enlarging by a whole factor repeats each source
// pixel, other enlarging interpolates linearly between the two nearest source pixels,
// shrinking averages every source pixel the destination pixel covers, weighted by how
// much of it is covered. Colours are averaged weighted by
// alpha, so transparent pixels do not darken their neighbours. A destination pixel
// whose centre maps outside the source bitmap is left alone. Each destination pixel
// depends only on its own position, so drawing an area in pieces gives the same
// result as drawing it at once.
void DrawScaled(Bitmap& target, const Rect& clip, CompositingMode mode, const Bitmap& source,
                const Rect& destination, const Rect& sourceRect);
// The same from an area that need not fall on pixel edges; destination pixels whose
// centre maps past the source's extent are left alone.
void DrawScaled(Bitmap& target, const Rect& clip, CompositingMode mode, const Bitmap& source,
                const Rect& destination, const SourceArea& area);

} // namespace gfx
