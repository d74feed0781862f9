#pragma once

#include "faces/SkinRegion.h"
#include "tools/Plane.h"

#include <cstdint>

// How much of each pixel of a width x height grid a polygon covers, 0 to 1 (even-odd
// rule), from four sub-rows per pixel row, each covered exactly along its length. The
// polygon is in grid coordinates where pixel (x, y) spans [x, x + 1) x [y, y + 1).
Plane PolygonCoverage(const Polygon& polygon, int32_t width, int32_t height);
