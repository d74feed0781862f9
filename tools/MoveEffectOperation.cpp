#include "tools/MoveEffectOperation.h"

#include "engine/BrushRect.h"
#include "engine/PictureLayer.h"
#include "engine/PixelHelpers.h"
#include "tools/StretchWarpEffect.h"

#include <algorithm>
#include <utility>

MoveEffectOperation::MoveEffectOperation(Environment* environment, std::shared_ptr<StretchTarget> targetSetter,
                                         std::shared_ptr<Effect> leftEffect, std::shared_ptr<Effect> rightEffect,
                                         std::shared_ptr<OperationScope> size)
    : EffectOperation(environment, std::move(leftEffect), std::move(rightEffect), std::move(size)),
      targetSetter(std::move(targetSetter))
{
}

void MoveEffectOperation::Deactivate() { FinishGesture(environment); }

void MoveEffectOperation::DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env)
{
    if (InGesture()) {
        DrawBrushCircle(graphics, view, fixedCircle);
    } else {
        EffectOperation::DrawOverlay(graphics, view, env);
    }
}

void MoveEffectOperation::OnLeftDown(Environment* env)
{
    FinishGesture(env); // one whose release never reached the tool
    fixedCircle = BrushRect(env, Radius());
    EffectOperation::OnLeftDown(env);
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (!picture) {
        return;
    }
    const Surface& working = picture->BeginEdit();
    gesturePicture = picture;
    undoSnapshot = picture->StartSnapshot();
    gfx::Rect area = fixedCircle.IsEmpty() ? gfx::Rect{} : StretchWarpEffect::AffectedArea(fixedCircle);
    if (!ClipToSurface(area, working)) {
        area = {};
    }
    snapshot = CreateSurface(area.width, area.height);
    CopyRegion(working, area.x, area.y, *snapshot);
    snapshotAt = {area.x, area.y};
    lastPatch = {};
    changed = 0;
}

void MoveEffectOperation::OnDrag(Environment* env)
{
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (!InGesture() || !picture || picture != gesturePicture.lock()) {
        return;
    }
    const gfx::Rect bounds = env->PictureBounds();
    const gfx::Point cursor = env->CursorInPicture();
    const gfx::Point target{std::clamp(cursor.x, 0, std::max(bounds.width, 0)),
                            std::clamp(cursor.y, 0, std::max(bounds.height, 0))};
    if (!picture->IsEditing()) {
        picture->BeginEdit();
    }
    WarpToward(*picture, target);
}

void MoveEffectOperation::WarpToward(PictureLayer& picture, gfx::Point target)
{
    if (targetSetter) {
        targetSetter->SetTarget(target.x, target.y);
    }
    if (snapshot->width > 0 && snapshot->height > 0) {
        picture.CopyPixels(*snapshot, snapshotAt);
    }
    Patch patch = currentEffect->Apply(picture.Working(), fixedCircle);
    if (patch.HasSurface()) {
        lastPatch = std::move(patch);
        changed = 1;
    }
    picture.CompositePatch(lastPatch);
}

void MoveEffectOperation::OnButtonUp(Environment* env) { FinishGesture(env); }

void MoveEffectOperation::FinishGesture(Environment* env)
{
    if (!InGesture() || !env) {
        return;
    }
    // A picture opened since the press has a new history, which must not get a step
    // that restores pixels of the old one.
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    const bool samePicture = picture && picture == gesturePicture.lock();
    if (samePicture) {
        picture->Commit();
    }
    if (changed && samePicture) {
        env->PushHistory([this, env, step = undoSnapshot] { ApplySurface(env, step); });
    }
    snapshot = nullptr;
    gesturePicture.reset();
    undoSnapshot = nullptr;
    lastPatch = {};
    changed = 0;
}
