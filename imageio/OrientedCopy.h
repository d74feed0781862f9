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
    bool KeepsRows() const { return !turned_ && origin_ == 0 && stepX_ == 1 && stepY_ == storedWidth_; }

    // rows holds stored rows first .. first + count - 1, each storedWidth pixels, one
    // after the other; target is TargetWidth() x TargetHeight().
    void CopyRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Bitmap& target) const;

private:
    void CopyAlongTargetRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Argb* target) const;
    void CopyAcrossTargetRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Argb* target) const;

    int32_t storedWidth_;
    bool turned_; // stored rows become target columns
    int32_t targetWidth_ = 0;
    int32_t targetHeight_ = 0;
    // The target index of stored pixel (x, y) is origin_ + x * stepX_ + y * stepY_.
    int64_t origin_ = 0;
    int64_t stepX_ = 1;
    int64_t stepY_ = 0;
};

// The picture as it is meant to be seen, as a new bitmap.
gfx::Bitmap ApplyOrientation(const gfx::Bitmap& stored, ExifOrientation orientation);
