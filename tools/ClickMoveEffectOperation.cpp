#include "tools/ClickMoveEffectOperation.h"

#include "engine/BrushRect.h"
#include "engine/PictureLayer.h"

#include <algorithm>

ClickMoveEffectOperation::ClickMoveEffectOperation(Environment* environment, uint32_t interval,
                                                   std::shared_ptr<Effect> leftEffect,
                                                   std::shared_ptr<Effect> rightEffect,
                                                   std::shared_ptr<OperationScope> size)
    : EffectOperation(environment, std::move(leftEffect), std::move(rightEffect), std::move(size)),
      interval(std::max(interval, 1u))
{
}

void ClickMoveEffectOperation::OnDrag(Environment* env)
{
    if (moveCounter % interval == 0) {
        ApplyOnce(env);
    }
    moveCounter = moveCounter + 1 > LastMoveCount ? 0 : moveCounter + 1;
}

void ClickMoveEffectOperation::OnButtonUp(Environment* env)
{
    ApplyOnce(env);
    RecordPendingStep(env);
}

// A gesture whose release never reached the tool (the button went up outside the
// canvas) changed the picture all the same; it keeps its undo step.
void ClickMoveEffectOperation::OnLeftDown(Environment* env)
{
    RecordPendingStep(env);
    EffectOperation::OnLeftDown(env);
}

void ClickMoveEffectOperation::OnRightDown(Environment* env)
{
    RecordPendingStep(env);
    EffectOperation::OnRightDown(env);
}

void ClickMoveEffectOperation::RecordPendingStep(Environment* env)
{
    // A step for a picture that has since been replaced would restore its pixels into
    // the new one; it is dropped with the old history.
    if (pendingStep && env->CurrentPicture() == pendingPicture.lock()) {
        env->PushHistory(std::move(pendingStep));
    }
    pendingStep = nullptr;
    pendingPicture.reset();
}

// Until a dab of the gesture changes something, each dab starts a new snapshot; after
// that the gesture's snapshot goes on recording, since the pending step holds it.
void ClickMoveEffectOperation::ApplyOnce(Environment* env)
{
    const gfx::Rect brush = BrushRect(env, Radius());
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (!picture) {
        return;
    }
    if (pendingStep && picture != pendingPicture.lock()) {
        RecordPendingStep(env);
    }
    picture->BeginEdit();
    std::shared_ptr<SurfaceSnapshot> snapshot;
    if (!pendingStep) {
        snapshot = picture->StartSnapshot();
    }
    if (ApplyCurrentEffect(*picture, brush) && snapshot) {
        pendingStep = [this, env, snapshot] { ApplySurface(env, snapshot); };
        pendingPicture = picture;
    }
    picture->Commit();
}
