#pragma once

#include "engine/Effect.h"
#include "engine/OperationScope.h"
#include "faces/Face.h"
#include "faces/SkinRegion.h"
#include "tools/SkinColour.h"
#include "tools/WorkCopy.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The smooth tool's left button: the skin under the brush smoothed as the one-click
// command smooths it, at the strength of the shared scope. Only skin changes: colours
// near the skin colour of the nearest face (or, without faces, near skin in general),
// eyes, brows and mouths left out. The returned pixels are transparent where nothing
// changes.
//
// On a face the smoothing works at that face's scale, from a reduced copy of the picture
// round the face that is made at the gesture's first dab there and then kept up to date
// dab by dab, so a dab costs what the brush covers, not what the face does. Away from
// faces it works at the scale of a face kNominalFaceBrushes brush widths wide.
class SkinSmoothEffect : public Effect {
public:
    static constexpr int32_t kNominalFaceBrushes = 3;
    // A brush centred this far (a share of the face's width) round a face's region
    // smooths at that face's scale.
    static constexpr float kFaceZoneShare = 0.25f;

    explicit SkinSmoothEffect(std::shared_ptr<OperationScope> strength);

    // Starts a gesture on the current picture, whose faces (perhaps none) are given, with
    // a brush of this radius; forgets what the gesture before worked out, since the
    // picture may have changed since.
    void BeginGesture(const std::vector<Face>& faces, int32_t brushRadius);

    Patch Apply(const Surface& source, const gfx::Rect& requested) override;

private:
    struct FaceScale {
        SkinRegion region;
        gfx::Rect zone;
        std::optional<WorkCopy> copy; // made at the first dab that needs it
        std::optional<SkinColour> colour;
    };

    FaceScale& Prepared(FaceScale& face, const Surface& source);
    FaceScale* ZoneHolding(gfx::Point centre);
    FaceScale* Nearest(gfx::Point centre);

    std::shared_ptr<OperationScope> strength_;
    std::vector<FaceScale> faces_;
    std::vector<SkinRegion> regions_;
    int32_t brushRadius_ = 0;
    gfx::Rect lastChanged_; // what the previous dab of the gesture changed
};
