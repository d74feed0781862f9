#include "tools/SkinSmoothEffect.h"

#include "engine/PixelHelpers.h"
#include "tools/SkinMask.h"
#include "tools/SkinSmoothing.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {

double DistanceToCentre(const gfx::Rect& r, gfx::Point p)
{
    return std::hypot(r.x + r.width * 0.5 - p.x, r.y + r.height * 0.5 - p.y);
}

} // namespace

SkinSmoothEffect::SkinSmoothEffect(std::shared_ptr<OperationScope> strength) : strength_(std::move(strength)) {}

void SkinSmoothEffect::BeginGesture(const std::vector<Face>& faces, int32_t brushRadius)
{
    faces_.clear();
    regions_.clear();
    for (const Face& face : faces) {
        const SkinRegion region(face);
        const auto reach = int32_t(std::ceil(kFaceZoneShare * region.FaceWidth()));
        faces_.push_back({region, region.Bounds().Inflated(reach), std::nullopt, std::nullopt});
        regions_.push_back(region);
    }
    brushRadius_ = brushRadius;
    lastChanged_ = {};
}

SkinSmoothEffect::FaceScale& SkinSmoothEffect::Prepared(FaceScale& face, const Surface& source)
{
    if (!face.copy) {
        const float width = face.region.FaceWidth();
        // Room for a brush anywhere in the zone, with its smoothing's context.
        const gfx::Rect area = face.zone.Inflated(brushRadius_ + SkinSmoothing::MarginFor(width));
        face.copy.emplace(source, area, SkinSmoothing::FactorFor(width));
        face.colour = skinmask::FaceColour(face.region, *face.copy);
    }
    return face;
}

SkinSmoothEffect::FaceScale* SkinSmoothEffect::ZoneHolding(gfx::Point centre)
{
    FaceScale* holding = nullptr;
    for (FaceScale& face : faces_) {
        if (face.zone.Contains(centre.x, centre.y) &&
            (!holding || DistanceToCentre(face.zone, centre) < DistanceToCentre(holding->zone, centre))) {
            holding = &face;
        }
    }
    return holding;
}

SkinSmoothEffect::FaceScale* SkinSmoothEffect::Nearest(gfx::Point centre)
{
    FaceScale* nearest = nullptr;
    for (FaceScale& face : faces_) {
        if (!nearest || DistanceToCentre(face.zone, centre) < DistanceToCentre(nearest->zone, centre)) {
            nearest = &face;
        }
    }
    return nearest;
}

Patch SkinSmoothEffect::Apply(const Surface& source, const gfx::Rect& requested)
{
    gfx::Rect r = requested;
    const auto strength = int32_t(strength_->Value());
    if (!ClipToSurface(r, source) || strength == 0) {
        return {r.x, r.y, r.width, r.height, nullptr};
    }
    for (FaceScale& face : faces_) {
        if (face.copy && !lastChanged_.IsEmpty()) {
            face.copy->Refresh(source, lastChanged_);
        }
    }
    lastChanged_ = {};

    const gfx::Point centre{requested.x + requested.width / 2, requested.y + requested.height / 2};
    std::optional<WorkCopy> local;
    const WorkCopy* copy = nullptr;
    float faceWidth = 0;
    SkinColour colour = SkinColour::Generic();
    if (FaceScale* face = ZoneHolding(centre)) {
        Prepared(*face, source);
        copy = &*face->copy;
        faceWidth = face->region.FaceWidth();
        colour = *face->colour;
    } else {
        faceWidth = float(kNominalFaceBrushes * std::max(requested.width, 1));
        local.emplace(source, r.Inflated(SkinSmoothing::MarginFor(faceWidth)), SkinSmoothing::FactorFor(faceWidth));
        copy = &*local;
        if (FaceScale* nearest = Nearest(centre)) {
            colour = *Prepared(*nearest, source).colour;
        }
    }
    SkinSmoothing smoothing(*copy, r, faceWidth, strength);
    Plane mask = skinmask::OutsideHoles(regions_, smoothing.Base());
    const Plane skin = skinmask::ColourWeights(colour, smoothing.Base());
    for (size_t i = 0; i < mask.Values().size(); ++i) {
        mask.Values()[i] *= skin.Values()[i];
    }
    smoothing.SetMask(mask);

    const gfx::Rect area = smoothing.Area();
    auto pixels = CreateSurface(area.width, area.height);
    bool changed = false;
    for (int32_t y = 0; y < area.height; ++y) {
        uint32_t* out = pixels->Row(y);
        smoothing.SmoothRow(source, area.y + y, out);
        const uint32_t* in = source.Row(area.y + y) + area.x;
        for (int32_t x = 0; x < area.width; ++x) {
            if (out[x] == in[x]) {
                out[x] = 0; // transparent: nothing to change here
            } else {
                changed = true;
            }
        }
    }
    if (!changed) {
        return {area.x, area.y, area.width, area.height, nullptr};
    }
    lastChanged_ = area;
    return {area.x, area.y, area.width, area.height, std::move(pixels)};
}
