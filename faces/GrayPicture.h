#pragma once

#include "engine/Surface.h"

#include <cstdint>
#include <stop_token>
#include <vector>

// An 8-bit grey copy of a picture for the face detector, usually smaller than the
// picture: pixel (x, y) of the copy stands for the picture's square of side Scale()
// whose top-left corner is (x * Scale(), y * Scale()).
class GrayPicture {
public:
    GrayPicture() = default;
    GrayPicture(int32_t width, int32_t height, double scale);

    // The picture reduced so that its longer side is at most longSide pixels, each grey
    // pixel the luma of the area average of the pixels it covers; a picture that fits
    // is copied as it is (scale 1). Halves the picture first while it is more than
    // twice too large, a few rows at a time, so no large buffer is needed. Returns an
    // empty copy when stop is requested.
    static GrayPicture Reduced(const Surface& picture, int32_t longSide, std::stop_token stop = {});

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
    double Scale() const { return scale_; }
    uint8_t* Row(int32_t y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const uint8_t* Row(int32_t y) const { return pixels_.data() + size_t(y) * size_t(width_); }

    // A point of the copy, in pixel indexes (x, y is the centre of pixel x, y), as the
    // same kind of point in the picture.
    gfx::PointF ToPicture(gfx::PointF p) const;

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    double scale_ = 1.0;
    std::vector<uint8_t> pixels_;
};
