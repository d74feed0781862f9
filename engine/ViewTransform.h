#pragma once

#include "gfx/Geometry.h"

#include <cmath>

// Maps picture coordinates to the pixels of whatever an overlay is drawn on:
// target = picture * zoom + offset. The identity draws in picture coordinates.
struct ViewTransform {
    float zoom = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    gfx::Point ToTarget(gfx::Point p) const
    {
        return {int32_t(std::floor(p.x * zoom + offsetX)), int32_t(std::floor(p.y * zoom + offsetY))};
    }
    // The target rectangle covering the picture rectangle's edges.
    gfx::Rect ToTarget(const gfx::Rect& r) const
    {
        const gfx::Point a = ToTarget(gfx::Point{r.x, r.y});
        const gfx::Point b = ToTarget(gfx::Point{r.Right(), r.Bottom()});
        return {a.x, a.y, b.x - a.x, b.y - a.y};
    }
};
