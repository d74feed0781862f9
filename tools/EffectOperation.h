#pragma once

#include "engine/Effect.h"
#include "engine/Operation.h"
#include "engine/OperationScope.h"

#include <memory>

class PictureLayer;

// The base of the brush tools: an effect for each mouse button, the one chosen by the
// press in progress, the brush radius (shared with the tool's slider and with other
// tools), the red brush circle round the cursor and the wheel sizing. Subclasses say
// what dragging and releasing do.
class EffectOperation : public Operation {
public:
    EffectOperation(Environment* environment, std::shared_ptr<Effect> leftEffect,
                    std::shared_ptr<Effect> rightEffect, std::shared_ptr<OperationScope> size);

    void DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env) override;
    void OnDrag(Environment* env) override = 0;
    void OnButtonUp(Environment* env) override = 0;
    void OnWheelDown(Environment* env) override;
    void OnWheelUp(Environment* env) override;
    void OnLeftDown(Environment* env) override;
    void OnRightDown(Environment* env) override;

    // Runs the current effect on the picture's working pixels inside the brush square
    // and composites its patch; false when the effect had nothing to change.
    bool ApplyCurrentEffect(PictureLayer& picture, const gfx::Rect& brush);

    // The brush radius in picture pixels (the low byte of the size value).
    int32_t Radius() const;
    const std::shared_ptr<Effect>& CurrentEffect() const { return currentEffect; }
    const std::shared_ptr<OperationScope>& Size() const { return size; }

    // Shared with the skin clone tool, which has a brush but no effects.
    static void DrawBrushCircle(gfx::Graphics& graphics, const ViewTransform& view, const gfx::Rect& brush);
    static int32_t RadiusOf(const OperationScope& scope);

protected:
    std::shared_ptr<Effect> leftEffect;
    std::shared_ptr<Effect> rightEffect;
    std::shared_ptr<Effect> currentEffect;
    std::shared_ptr<OperationScope> size;
};
