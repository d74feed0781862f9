#pragma once

#include "gfx/Color.h"

#include <cstddef>

namespace gfx {

// Non-premultiplied source-over, with a = alpha / 255:
//   outA = srcA + dstA * (1 - srcA)
//   outC = (srcC * srcA + dstC * dstA * (1 - srcA)) / outA     (0 when outA is 0)
// Integer arithmetic rounds to nearest. An opaque source gives exactly the source and
// an alpha-0 source leaves the destination exactly as it was.
Argb BlendSourceOver(Argb dst, Argb src);

// Blends count source pixels over count destination pixels, left to right.
void BlendRowSourceOver(Argb* dst, const Argb* src, size_t count);

// Blends one colour over count destination pixels.
void FillRowSourceOver(Argb* dst, Argb colour, size_t count);

} // namespace gfx
