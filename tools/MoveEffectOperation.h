#pragma once

#include "engine/Patch.h"
#include "tools/EffectOperation.h"
#include "tools/StretchTarget.h"

#include <cstdint>
#include <memory>

class PictureLayer;
class SurfaceSnapshot;

// The stretch tool. The left press fixes the brush circle; every drag event then warps
// the picture as it was at the press toward the cursor, so the result depends only on
// where the cursor is, not on the path it took. The release ends the gesture, which is
// one undo step when one of its drag events changed the picture.
//
// Only the press-time pixels of the area the warp can change are kept; each drag event
// puts them back and warps the restored picture, which is the press-time picture.
class MoveEffectOperation : public EffectOperation {
public:
    MoveEffectOperation(Environment* environment, std::shared_ptr<StretchTarget> targetSetter,
                        std::shared_ptr<Effect> leftEffect, std::shared_ptr<Effect> rightEffect,
                        std::shared_ptr<OperationScope> size);

    void Deactivate() override;
    void DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env) override;
    void OnDrag(Environment* env) override;
    void OnButtonUp(Environment* env) override;
    void OnLeftDown(Environment* env) override;

    bool InGesture() const { return snapshot != nullptr; }
    const gfx::Rect& FixedCircle() const { return fixedCircle; }

private:
    void WarpToward(PictureLayer& picture, gfx::Point target);
    void FinishGesture(Environment* env);

    std::shared_ptr<StretchTarget> targetSetter;
    gfx::Rect fixedCircle;
    std::weak_ptr<PictureLayer> gesturePicture; // the picture pressed on
    // The press-time pixels of the area the warp may change, and where they lie.
    std::shared_ptr<Surface> snapshot;
    gfx::Point snapshotAt;
    std::shared_ptr<SurfaceSnapshot> undoSnapshot;
    // What the last drag step that warped composited, shown again when a later step
    // has nothing to warp (cursor outside the fixed square).
    Patch lastPatch;
    int32_t changed = 0; // set when a drag step of this gesture changed the picture
};
