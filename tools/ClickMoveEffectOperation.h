#pragma once

#include "tools/EffectOperation.h"

#include <cstdint>
#include <functional>
#include <memory>

class PictureLayer;

// The brush that repeats while dragging: a dab at every interval-th drag event and one
// at the release, all of one gesture making a single undo step. The drag-event count
// runs on across gestures, so the first drag event of a gesture may or may not dab.
class ClickMoveEffectOperation : public EffectOperation {
public:
    static constexpr uint32_t FirstMoveCount = 0x0FFFFFFE;
    static constexpr uint32_t LastMoveCount = 0x0FFFFFFF;

    // An interval of 0 counts as 1.
    ClickMoveEffectOperation(Environment* environment, uint32_t interval, std::shared_ptr<Effect> leftEffect,
                             std::shared_ptr<Effect> rightEffect, std::shared_ptr<OperationScope> size);

    void OnDrag(Environment* env) override;
    void OnButtonUp(Environment* env) override;
    void OnLeftDown(Environment* env) override;
    void OnRightDown(Environment* env) override;

    uint32_t MoveCounter() const { return moveCounter; }

private:
    void ApplyOnce(Environment* env);
    void RecordPendingStep(Environment* env);

    uint32_t moveCounter = FirstMoveCount;
    std::function<void()> pendingStep;
    std::weak_ptr<PictureLayer> pendingPicture; // the picture pendingStep restores
    uint32_t interval;
};
