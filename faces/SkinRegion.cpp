#include "faces/SkinRegion.h"

#include <algorithm>
#include <cmath>

namespace {

using gfx::PointF;

PointF Plus(PointF a, PointF b) { return {a.x + b.x, a.y + b.y}; }
PointF Minus(PointF a, PointF b) { return {a.x - b.x, a.y - b.y}; }
PointF Times(PointF a, float k) { return {a.x * k, a.y * k}; }
float Length(PointF a) { return std::hypot(a.x, a.y); }
PointF Unit(PointF a, PointF fallback)
{
    const float length = Length(a);
    return length > 1e-6f ? Times(a, 1.0f / length) : fallback;
}

std::vector<PointF> Points(const Face& face, LandmarkRange range)
{
    return {face.points.begin() + range.first, face.points.begin() + range.end};
}

PointF Centre(const std::vector<PointF>& points)
{
    PointF sum;
    for (const PointF& p : points) {
        sum = Plus(sum, p);
    }
    return points.empty() ? sum : Times(sum, 1.0f / float(points.size()));
}

} // namespace

Polygon Widened(const Polygon& polygon, float margin, float stretch)
{
    const PointF centre = Centre(polygon);
    Polygon widened;
    for (const PointF& p : polygon) {
        const PointF away = Minus(p, centre);
        const PointF moved = Plus(away, Times(Unit(away, {0, 0}), margin));
        widened.push_back(Plus(centre, Times(moved, stretch)));
    }
    return widened;
}

Polygon Band(const std::vector<PointF>& line, float halfThickness)
{
    if (line.size() < 2) {
        return {};
    }
    std::vector<PointF> extended = line;
    extended.front() = Plus(line.front(), Times(Unit(Minus(line[0], line[1]), {0, 0}), halfThickness));
    extended.back() = Plus(line.back(), Times(Unit(Minus(line.back(), line[line.size() - 2]), {0, 0}), halfThickness));
    Polygon upper, lower;
    for (size_t i = 0; i < extended.size(); ++i) {
        const PointF along = Minus(extended[std::min(i + 1, extended.size() - 1)], extended[i > 0 ? i - 1 : 0]);
        const PointF normal = Unit({along.y, -along.x}, {0, -1});
        upper.push_back(Plus(extended[i], Times(normal, halfThickness)));
        lower.push_back(Minus(extended[i], Times(normal, halfThickness)));
    }
    Polygon band = upper;
    band.insert(band.end(), lower.rbegin(), lower.rend());
    return band;
}

SkinRegion::SkinRegion(const Face& face)
{
    using namespace landmarks;
    const std::vector<PointF> jaw = Points(face, kJaw);
    faceWidth_ = std::max(1.0f, Length(Minus(jaw.back(), jaw.front())));

    // Up is square to the line through the eyes, pointing away from the chin.
    const PointF rightEye = Centre(Points(face, kRightEye));
    const PointF leftEye = Centre(Points(face, kLeftEye));
    const PointF across = Unit(Minus(leftEye, rightEye), {1, 0});
    up_ = {across.y, -across.x};
    const PointF chin = face.points[8];
    const PointF eyes = Times(Plus(rightEye, leftEye), 0.5f);
    if ((eyes.x - chin.x) * up_.x + (eyes.y - chin.y) * up_.y < 0) {
        up_ = Times(up_, -1.0f);
    }

    std::vector<PointF> brows = Points(face, kRightBrow);
    const std::vector<PointF> leftBrow = Points(face, kLeftBrow);
    brows.insert(brows.end(), leftBrow.begin(), leftBrow.end());
    const PointF browCentre = Centre(brows);
    const PointF noseTip = face.points[30];
    const float forehead = kForeheadShare * std::abs((browCentre.x - noseTip.x) * up_.x + (browCentre.y - noseTip.y) * up_.y);

    // The jaw from ear to ear, then back over the brows lifted by the forehead's height,
    // most in the middle, so the top is round like a forehead.
    outline_ = jaw;
    for (size_t i = brows.size(); i-- > 0;) {
        const float t = (float(i) / float(brows.size() - 1)) * 2.0f - 1.0f; // -1 .. 1 across
        const float lift = forehead * std::sqrt(1.0f - 0.6f * t * t);
        outline_.push_back(Plus(brows[i], Times(up_, lift)));
    }

    // Down the right cheek below the eye, along the mouth's top, and up the left cheek.
    for (int32_t i : {1, 2, 3, 48, 50, 52, 54, 13, 14, 15, 46, 28, 41}) {
        cheeks_.push_back(face.points[size_t(i)]);
    }

    const float eyeMargin = 0.04f * faceWidth_;
    holes_.push_back(Widened(Points(face, kRightEye), eyeMargin));
    holes_.push_back(Widened(Points(face, kLeftEye), eyeMargin));
    holes_.push_back(Band(Points(face, kRightBrow), 0.025f * faceWidth_));
    holes_.push_back(Band(Points(face, kLeftBrow), 0.025f * faceWidth_));
    holes_.push_back(Widened(Points(face, kOuterLips), 0.04f * faceWidth_));
    // The nostrils and the wings of the nose: their shadows give the nose its shape.
    std::vector<PointF> noseWings = {face.points[31], face.points[32], face.points[33], face.points[34], face.points[35]};
    holes_.push_back(Band(noseWings, 0.04f * faceWidth_));
}

gfx::Rect SkinRegion::Bounds() const
{
    float left = outline_.front().x, right = left, top = outline_.front().y, bottom = top;
    for (const PointF& p : outline_) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const auto x = int32_t(std::floor(left)), y = int32_t(std::floor(top));
    return {x, y, int32_t(std::ceil(right)) - x + 1, int32_t(std::ceil(bottom)) - y + 1};
}
