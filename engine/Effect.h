#pragma once

#include "engine/Patch.h"
#include "engine/Surface.h"
#include "gfx/Geometry.h"

// A pure pixel function: given the picture and a rectangle, it returns new pixels for
// (at most) that rectangle and never changes the picture. The tool decides where and
// when the patch is composited, so one effect object can serve several tools.
//
// Every concrete effect clips the rectangle to the picture first and returns a patch
// without a surface when nothing is left.
class Effect {
public:
    virtual ~Effect() = default;
    virtual Patch Apply(const Surface& source, const gfx::Rect& requested) = 0;
};
