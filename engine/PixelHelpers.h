#pragma once

#include "engine/Surface.h"

// out = the common part of a and b, written even when empty (then with zero or
// negative sizes); true when both sizes are positive.
bool IntersectRects(const gfx::Rect& a, const gfx::Rect& b, gfx::Rect& out);

// Intersects rect in place with the surface's bounds; true when something is left.
bool ClipToSurface(gfx::Rect& rect, const Surface& surface);

// Bilinear sample at (x, y) with 8-bit fractional weights. Coordinates wrap around
// the surface's edges; colours are weighted by alpha, and a sample whose weighted
// alpha rounds to 0 is transparent black.
uint32_t SampleBilinearWrapped(const Surface& s, float x, float y);
