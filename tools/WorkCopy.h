#pragma once

#include "engine/Surface.h"
#include "gfx/AreaSpans.h"
#include "gfx/Geometry.h"
#include "tools/Plane.h"

#include <array>
#include <cstdint>
#include <vector>

// A part of a picture as three float planes (red, green, blue) at a reduced resolution,
// each work pixel the area average of the factor x factor picture pixels it covers. Skin
// is smoothed at a resolution that follows the face's size, so that a face of 3,000
// pixels costs about what one of 300 does.
class WorkCopy {
public:
    // factor: picture pixels per work pixel, at least 1. Alpha is not looked at.
    WorkCopy(const Surface& picture, const gfx::Rect& area, double factor);

    // The picture pixels covered; the last work row and column may cover fewer than
    // the others.
    const gfx::Rect& Area() const { return area_; }
    double Factor() const { return factor_; }
    int32_t Width() const { return channels_[0].Width(); }
    int32_t Height() const { return channels_[0].Height(); }
    // 0 red, 1 green, 2 blue.
    Plane& Channel(int32_t c) { return channels_[size_t(c)]; }
    const Plane& Channel(int32_t c) const { return channels_[size_t(c)]; }

    // Where a picture position (the centre of pixel x is x) lies in work pixel indexes.
    double ColumnOf(double x) const { return (x + 0.5 - originX_) / factor_ - 0.5; }
    double RowOf(double y) const { return (y + 0.5 - originY_) / factor_ - 0.5; }
    // The work pixels that cover any of the picture rectangle.
    gfx::Rect PixelsCovering(const gfx::Rect& pictureArea) const;

    // The work pixels of the rectangle (work pixel indexes, clipped to the copy) as a
    // copy of their own, which cannot be refreshed.
    WorkCopy Window(const gfx::Rect& pixels) const;
    // Reads the work pixels covering the picture rectangle again, after it changed.
    void Refresh(const Surface& picture, const gfx::Rect& changed);

private:
    WorkCopy() = default;
    void Read(const Surface& picture, const gfx::Rect& pixels);

    gfx::Rect area_;
    double originX_ = 0; // the picture position of the work grid's left and top edges
    double originY_ = 0;
    double factor_ = 1;
    std::array<Plane, 3> channels_;
    std::vector<gfx::AreaSpan> columns_; // picture columns of each work column, from area_.x
    std::vector<gfx::AreaSpan> rows_;
};
