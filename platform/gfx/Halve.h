#pragma once

#include "gfx/Color.h"

#include <cstddef>
#include <cstdint>

namespace gfx {

// Averages for halved copies of a picture. Colours weigh by alpha as in the scaled
// drawing, so transparent pixels do not darken their neighbours, and each result is
// rounded half up:
//   alpha = sum(w * a) / sum(w)      colour = sum(w * a * c) / sum(w * a)
// A result whose alpha rounds to 0 is transparent black.

// One pixel of an average and how many picture pixels it stands for.
struct WeightedPixel {
    Argb pixel = 0;
    uint32_t weight = 0;
};

Argb AverageWeighted(const WeightedPixel* pixels, size_t count);

// out[i] = the average of top[2i], top[2i + 1], bottom[2i] and bottom[2i + 1], all
// weighing the same, for i in [0, count). Passing the top row as the bottom one too
// averages a single row.
void HalveRow(const Argb* top, const Argb* bottom, Argb* out, size_t count);

} // namespace gfx
