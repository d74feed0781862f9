#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"

namespace gfx {

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

} // namespace gfx
