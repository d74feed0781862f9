#include "tools/Plane.h"

#include <algorithm>

Plane::Plane(int32_t width, int32_t height, float value)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), values_(size_t(width_) * size_t(height_), value)
{
}
