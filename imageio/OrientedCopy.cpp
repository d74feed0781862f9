#include "imageio/OrientedCopy.h"

#include <algorithm>

OrientedCopy::OrientedCopy(ExifOrientation orientation, int32_t storedWidth, int32_t storedHeight)
    : storedWidth_(storedWidth), turned_(orientation >= ExifOrientation::Transposed)
{
    const int64_t w = storedWidth;
    const int64_t h = storedHeight;
    targetWidth_ = turned_ ? storedHeight : storedWidth;
    targetHeight_ = turned_ ? storedWidth : storedHeight;
    stepY_ = w;
    switch (orientation) {
    case ExifOrientation::Upright: origin_ = 0, stepX_ = 1, stepY_ = w; break;
    case ExifOrientation::MirroredHorizontally: origin_ = w - 1, stepX_ = -1, stepY_ = w; break;
    case ExifOrientation::UpsideDown: origin_ = w * h - 1, stepX_ = -1, stepY_ = -w; break;
    case ExifOrientation::MirroredVertically: origin_ = (h - 1) * w, stepX_ = 1, stepY_ = -w; break;
    case ExifOrientation::Transposed: origin_ = 0, stepX_ = h, stepY_ = 1; break;
    case ExifOrientation::TurnedLeft: origin_ = h - 1, stepX_ = h, stepY_ = -1; break;
    case ExifOrientation::Transversed: origin_ = w * h - 1, stepX_ = -h, stepY_ = -1; break;
    case ExifOrientation::TurnedRight: origin_ = (w - 1) * h, stepX_ = -h, stepY_ = 1; break;
    }
}

void OrientedCopy::CopyRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Bitmap& target) const
{
    if (turned_) {
        CopyAcrossTargetRows(rows, first, count, target.Pixels());
    } else {
        CopyAlongTargetRows(rows, first, count, target.Pixels());
    }
}

// A stored row lands on one target row, forwards or backwards.
void OrientedCopy::CopyAlongTargetRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Argb* target) const
{
    for (int32_t i = 0; i < count; ++i) {
        const gfx::Argb* row = rows + int64_t(i) * storedWidth_;
        gfx::Argb* start = target + origin_ + int64_t(first + i) * stepY_;
        if (stepX_ == 1) {
            std::copy(row, row + storedWidth_, start);
        } else {
            std::reverse_copy(row, row + storedWidth_, start - (storedWidth_ - 1));
        }
    }
}

// A stored row lands on one target column. The copy goes in square blocks, so that
// the few dozen target rows written at a time stay in cache and in the TLB.
void OrientedCopy::CopyAcrossTargetRows(const gfx::Argb* rows, int32_t first, int32_t count, gfx::Argb* target) const
{
    constexpr int32_t Block = 64;
    for (int32_t bandStart = 0; bandStart < count; bandStart += Block) {
        const int32_t bandEnd = std::min(bandStart + Block, count);
        for (int32_t blockStart = 0; blockStart < storedWidth_; blockStart += Block) {
            const int32_t blockEnd = std::min(blockStart + Block, storedWidth_);
            for (int32_t x = blockStart; x < blockEnd; ++x) {
                int64_t at = origin_ + int64_t(x) * stepX_ + int64_t(first + bandStart) * stepY_;
                for (int32_t i = bandStart; i < bandEnd; ++i, at += stepY_) {
                    target[at] = rows[int64_t(i) * storedWidth_ + x];
                }
            }
        }
    }
}

gfx::Bitmap ApplyOrientation(const gfx::Bitmap& stored, ExifOrientation orientation)
{
    if (orientation == ExifOrientation::Upright) {
        return stored.Clone();
    }
    const OrientedCopy placement(orientation, stored.Width(), stored.Height());
    gfx::Bitmap shown(placement.TargetWidth(), placement.TargetHeight());
    placement.CopyRows(stored.Pixels(), 0, stored.Height(), shown);
    return shown;
}
