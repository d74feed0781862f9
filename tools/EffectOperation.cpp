#include "tools/EffectOperation.h"

#include "engine/BrushRect.h"
#include "engine/NullEffect.h"
#include "engine/PictureLayer.h"

#include <utility>

namespace {

constexpr gfx::Argb BrushCircleColour = 0xFFFF0000;

std::shared_ptr<Effect> OrNullEffect(std::shared_ptr<Effect> effect)
{
    return effect ? std::move(effect) : NullEffect::Shared();
}

} // namespace

EffectOperation::EffectOperation(Environment* environment, std::shared_ptr<Effect> leftEffect,
                                 std::shared_ptr<Effect> rightEffect, std::shared_ptr<OperationScope> size)
    : Operation(environment), leftEffect(OrNullEffect(std::move(leftEffect))),
      rightEffect(OrNullEffect(std::move(rightEffect))),
      currentEffect(NullEffect::Shared()), size(std::move(size))
{
}

void EffectOperation::DrawBrushCircle(gfx::Graphics& graphics, const ViewTransform& view, const gfx::Rect& brush)
{
    if (brush.IsEmpty()) {
        return;
    }
    graphics.DrawEllipse(BrushCircleColour, view.ToTarget(brush));
}

int32_t EffectOperation::RadiusOf(const OperationScope& scope) { return int32_t(scope.Value() & 0xFF); }

void EffectOperation::ShrinkBrush(OperationScope& scope)
{
    // Unsigned: a step larger than the value would wrap round to the largest size.
    const uint32_t value = scope.Value();
    scope.SetValue(value > scope.Step() ? value - scope.Step() : 0);
}

void EffectOperation::GrowBrush(OperationScope& scope) { scope.SetValue(scope.Value() + scope.Step()); }

int32_t EffectOperation::Radius() const { return RadiusOf(*size); }

void EffectOperation::DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env)
{
    DrawBrushCircle(graphics, view, BrushRect(env, Radius()));
}

void EffectOperation::OnWheelDown(Environment*) { ShrinkBrush(*size); }

void EffectOperation::OnWheelUp(Environment*) { GrowBrush(*size); }

void EffectOperation::OnLeftDown(Environment*) { currentEffect = leftEffect; }

void EffectOperation::OnRightDown(Environment*) { currentEffect = rightEffect; }

bool EffectOperation::ApplyCurrentEffect(PictureLayer& picture, const gfx::Rect& brush)
{
    return picture.CompositePatch(currentEffect->Apply(picture.Working(), brush));
}
