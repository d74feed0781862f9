#pragma once

#include "faces/SkinRegion.h"
#include "tools/Plane.h"
#include "tools/SkinColour.h"
#include "tools/WorkCopy.h"

#include <vector>

// How much of the skin smoothing each work pixel of a copy takes, 0 to 1. Edges are
// feathered inwards: a pixel on or outside an outline, or on or inside a hole, gets 0.
namespace skinmask {

// The face's skin region alone: 1 inside the outline and outside the holes, falling to
// 0 over the region's feather width at their edges.
Plane Shape(const SkinRegion& region, const WorkCopy& copy);
// 1 everywhere but in the holes of the regions (eyes, brows, mouths), with the same
// feathered edges; without regions 1 everywhere.
Plane OutsideHoles(const std::vector<SkinRegion>& regions, const WorkCopy& copy);
// Each pixel's colour's nearness to the skin colour, the least of its neighbourhood's.
Plane ColourWeights(const SkinColour& colour, const WorkCopy& copy);

// The face's own skin colour, measured over its cheeks less the holes.
SkinColour FaceColour(const SkinRegion& region, const WorkCopy& copy);
// The one-click smoothing's mask: the shape, only where the colour is near the face's
// own skin colour.
Plane ForFace(const SkinRegion& region, const WorkCopy& copy);

} // namespace skinmask
