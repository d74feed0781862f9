#pragma once

#include <cstdint>

namespace Qimro::Behaviors {

// The hit rectangle of a widget in the owner window's client pixels. The test is strict on
// all four sides: the border rows and columns are outside, so a region one pixel wide or
// high contains no point at all.
template <class Rect>
class HotRegion {
public:
    HotRegion() = default;
    explicit HotRegion(const Rect& region) : region_(region) {}

    const Rect& Region() const { return region_; }
    void SetRegion(const Rect& region) { region_ = region; }

    bool Contains(int32_t x, int32_t y) const
    {
        const int64_t left = region_.x, top = region_.y;
        return left < x && x < left + region_.width && top < y && y < top + region_.height;
    }

private:
    Rect region_{};
};

} // namespace Qimro::Behaviors
