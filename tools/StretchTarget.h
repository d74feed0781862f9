#pragma once

#include <cstdint>

// Where a warp pulls the picture to; the stretch tool sets it before every warp.
class StretchTarget {
public:
    virtual ~StretchTarget() = default;
    virtual void SetTarget(int32_t x, int32_t y) = 0;
};
