#pragma once

#include "engine/Environment.h"
#include "gfx/Geometry.h"

// The square brush area of radius r round the cursor, in picture coordinates: at most
// 2r wide, centred on the cursor and lying inside the picture; empty when the cursor
// is on or outside the picture's border.
gfx::Rect BrushRect(Environment* environment, int32_t r);
