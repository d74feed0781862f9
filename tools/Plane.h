#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One channel of a picture as floats, for filters that work out values between the
// 8-bit levels: skin smoothing keeps its sums and differences unrounded until the end.
class Plane {
public:
    Plane() = default;
    Plane(int32_t width, int32_t height, float value = 0.0f);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    float* Row(int32_t y) { return values_.data() + size_t(y) * size_t(width_); }
    const float* Row(int32_t y) const { return values_.data() + size_t(y) * size_t(width_); }
    float At(int32_t x, int32_t y) const { return Row(y)[x]; }
    std::vector<float>& Values() { return values_; }
    const std::vector<float>& Values() const { return values_; }

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<float> values_;
};
