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

int32_t EffectOperation::Radius() const { return RadiusOf(*size); }

void EffectOperation::DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env)
{
    DrawBrushCircle(graphics, view, BrushRect(env, Radius()));
}

void EffectOperation::OnWheelDown(Environment*) { size->StepDown(); }

void EffectOperation::OnWheelUp(Environment*) { size->StepUp(); }

void EffectOperation::OnLeftDown(Environment*) { currentEffect = leftEffect; }

void EffectOperation::OnRightDown(Environment*) { currentEffect = rightEffect; }

bool EffectOperation::ApplyCurrentEffect(PictureLayer& picture, const gfx::Rect& brush)
{
    return picture.CompositePatch(currentEffect->Apply(picture.Working(), brush));
}
