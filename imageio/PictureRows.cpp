#include "imageio/PictureRows.h"

#include <algorithm>

const gfx::Argb* SideBySideRows::Row(int32_t y, gfx::Argb* scratch) const
{
    const gfx::Argb* left = left_.Scanline(y);
    std::copy(left, left + left_.Width(), scratch);
    gfx::Argb* right = scratch + left_.Width();
    if (y < right_.Height()) {
        std::copy(right_.Scanline(y), right_.Scanline(y) + right_.Width(), right);
    } else {
        std::fill(right, right + right_.Width(), gfx::Argb{0});
    }
    return scratch;
}
