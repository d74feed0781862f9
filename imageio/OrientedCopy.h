#pragma once

#include "gfx/Bitmap.h"
#include "imageio/ExifOrientation.h"

#include <cstdint>

// Puts rows of a stored picture straight into their places in the upright picture, so
// a decoder can turn the picture strip by strip instead of keeping a second full copy.
class OrientedCopy {
public:
    OrientedCopy(ExifOrientation orientation, int32_t storedWidth, int32_t storedHeight);

    int32_t TargetWidth() const { return targetWidth_; }
    int32_t TargetHeight() const { return targetHeight_; }
    // True when stored rows are already the upright picture's rows.
    bool KeepsRows() const { return origin_ == 0 && stepX_ == 1; }

    // rows holds stored rows first .. first + count - 1, each storedWidth pixels, one
    // after the other; target is TargetWidth() x TargetHeight().
    void CopyRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Bitmap& target) const;

private:
    void CopyAlongTargetRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Argb* target) const;
    void CopyAcrossTargetRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Argb* target) const;

    int32_t storedWidth_;
    int32_t targetWidth_;
    int32_t targetHeight_;
    // The target index of stored pixel (x, y) is origin_ + x * stepX_ + y * stepY_.
    int64_t origin_;
    int64_t stepX_;
    int64_t stepY_;
};
