#pragma once

#include "gfx/Geometry.h"

#include <cstdint>

class OperationScope;

namespace Qimro::Behaviors {

// The mapping between a slider's values and its track: the model's range spans the track's
// width, the minimum at X and the maximum at X + Width.

// X + (value - min) * Width / (max - min) in double precision, rounded half up; X without a
// model.
int32_t KnobCentreX(const gfx::Rect& track, const OperationScope* model);

// The value under a pointer x, before the model clamps it: min + (x - X) / scale, where the
// scale Width / (max - min) is first rounded to single precision and the quotient is
// computed in single precision and rounded half up. Never below 0, so a point far left of
// the track asks for the minimum rather than wrapping round to a huge value.
uint32_t ValueAtX(const gfx::Rect& track, const OperationScope& model, int32_t x);

} // namespace Qimro::Behaviors
