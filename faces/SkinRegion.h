#pragma once

#include "faces/Face.h"
#include "gfx/Geometry.h"

#include <vector>

// A closed outline of points; the last point joins the first.
using Polygon = std::vector<gfx::PointF>;

// Where a face's skin lies, from its landmarks, in picture coordinates: the outline of
// the jaw closed over the forehead, less the eyes, the brows and the mouth, each
// widened a little so their edges (lashes, the brows' fine hairs, the lips' line) stay
// out. Every length follows the face's width, so the region fits faces of any size and
// turned a little either way.
class SkinRegion {
public:
    explicit SkinRegion(const Face& face);

    const Polygon& Outline() const { return outline_; }
    // The cheeks and the nose between the eyes and the mouth: bare skin on almost every
    // face (no hair, no glasses' rims, seldom a beard), where its colour is measured.
    const Polygon& Cheeks() const { return cheeks_; }
    const std::vector<Polygon>& Holes() const { return holes_; }
    // The distance between the two ends of the jaw line, at least 1.
    float FaceWidth() const { return faceWidth_; }
    // How far the soft edge reaches inwards from the outline and outwards from a hole.
    float Feather() const { return FaceWidth() * kFeatherShare; }
    // The smallest rectangle of whole pixels holding the outline.
    gfx::Rect Bounds() const;
    // The unit vector from the chin towards the forehead.
    gfx::PointF Up() const { return up_; }

    static constexpr float kFeatherShare = 0.03f;
    // How high the outline rises over the brows, as a share of the distance from the
    // brows to the tip of the nose (about a third of the forehead on most faces).
    static constexpr float kForeheadShare = 0.8f;

private:
    Polygon outline_;
    Polygon cheeks_;
    std::vector<Polygon> holes_;
    float faceWidth_ = 1.0f;
    gfx::PointF up_{0.0f, -1.0f};
};

// The polygon with every point moved away from the polygon's centre by margin, and
// then scaled about the centre by stretch.
Polygon Widened(const Polygon& polygon, float margin, float stretch = 1.0f);
// The band of the given half-thickness round an open line of points, its ends lengthened
// by the same amount.
Polygon Band(const std::vector<gfx::PointF>& line, float halfThickness);
