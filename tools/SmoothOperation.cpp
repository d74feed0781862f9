#include "tools/SmoothOperation.h"

#include "engine/MaskedEffect.h"
#include "engine/PictureLayer.h"

#include <utility>

std::shared_ptr<OperationScope> SmoothOperation::StrengthScope() { return std::make_shared<OperationScope>(0, 100); }

std::shared_ptr<OperationScope> SmoothOperation::SizeScope() { return std::make_shared<OperationScope>(10, 150); }

SmoothOperation::SmoothOperation(Environment* environment, std::shared_ptr<OperationScope> strength,
                                 std::shared_ptr<OperationScope> size, FaceSource faces)
    : SmoothOperation(environment, std::make_shared<SkinSmoothEffect>(std::move(strength)),
                      std::make_shared<BaselineEffect>(), std::move(size), std::move(faces))
{
}

SmoothOperation::SmoothOperation(Environment* environment, std::shared_ptr<SkinSmoothEffect> skin,
                                 std::shared_ptr<BaselineEffect> baseline, std::shared_ptr<OperationScope> size,
                                 FaceSource faces)
    : ClickMoveEffectOperation(environment, kDragInterval, std::make_shared<MaskedEffect>(skin),
                               std::make_shared<MaskedEffect>(baseline), std::move(size)),
      skin_(std::move(skin)), baseline_(std::move(baseline)), faces_(std::move(faces))
{
}

void SmoothOperation::OnLeftDown(Environment* env)
{
    ClickMoveEffectOperation::OnLeftDown(env);
    skin_->BeginGesture(faces_ ? faces_() : std::vector<Face>{}, Radius());
}

void SmoothOperation::OnRightDown(Environment* env)
{
    ClickMoveEffectOperation::OnRightDown(env);
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    baseline_->SetBaseline(picture ? picture->Baseline() : nullptr);
}
