#pragma once

#include "tools/Plane.h"

#include <cstdint>

// Filters of one float plane. Near the edges a window holds only the values inside the
// plane, and its mean is theirs: nothing outside is assumed.

// The mean of the (2r + 1) x (2r + 1) window round each value; the cost does not grow
// with r (running sums).
Plane BoxMean(const Plane& in, int32_t radius);
// A Gaussian blur of the given sigma, from a kernel three sigmas wide.
Plane GaussianBlur(const Plane& in, float sigma);
// Three box means in a row: close to a Gaussian of sigma sqrt(r (r + 1)), at a cost
// that does not grow with r.
Plane TripleBoxMean(const Plane& in, int32_t radius);
