#pragma once

#include "gfx/Geometry.h"

#include <array>
#include <cstdint>

// A face found in a picture: the detector's box and the 68 landmark points, both in
// the picture's pixels. The points follow the usual 68-point layout, with "right" and
// "left" as the person sees them (the person's right eye is on the picture's left).
struct Face {
    static constexpr int32_t kPointCount = 68;

    gfx::Rect box;
    std::array<gfx::PointF, kPointCount> points;
};

// The landmark points of one feature: indexes [first, end).
struct LandmarkRange {
    int32_t first;
    int32_t end;

    int32_t Count() const { return end - first; }
};

namespace landmarks {
inline constexpr LandmarkRange kJaw{0, 17};       // from the right ear round the chin to the left ear
inline constexpr LandmarkRange kRightBrow{17, 22};
inline constexpr LandmarkRange kLeftBrow{22, 27};
inline constexpr LandmarkRange kNoseBridge{27, 31};
inline constexpr LandmarkRange kNostrils{31, 36};
inline constexpr LandmarkRange kRightEye{36, 42}; // a closed outline
inline constexpr LandmarkRange kLeftEye{42, 48};
inline constexpr LandmarkRange kOuterLips{48, 60}; // a closed outline
inline constexpr LandmarkRange kInnerLips{60, 68};
} // namespace landmarks
