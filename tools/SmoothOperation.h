#pragma once

#include "faces/Face.h"
#include "tools/BaselineEffect.h"
#include "tools/ClickMoveEffectOperation.h"
#include "tools/SkinSmoothEffect.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The skin smoothing brush ("磨皮", the tool smooth), with the red brush circle of the
// other brushes: the left button smooths the skin under the brush (SkinSmoothEffect),
// the right button brings back the picture as it was opened, both fading out towards
// the brush's rim and dabbing at every drag event; each gesture is one undo step.
//
// Its sliders: the upper one the strength (StrengthScope, shared with the autoSmooth
// command), the lower one the brush radius (SizeScope).
class SmoothOperation : public ClickMoveEffectOperation {
public:
    static constexpr uint32_t kDragInterval = 1;

    // The faces of the current picture as far as they are known; called at each press,
    // so it must not wait for a search (none is fine: the brush then goes by colour).
    using FaceSource = std::function<std::vector<Face>()>;

    // 0 to 100, starting at 50.
    static std::shared_ptr<OperationScope> StrengthScope();
    // A radius of 10 to 150 picture pixels, starting at 80.
    static std::shared_ptr<OperationScope> SizeScope();

    SmoothOperation(Environment* environment, std::shared_ptr<OperationScope> strength,
                    std::shared_ptr<OperationScope> size, FaceSource faces);

    void OnLeftDown(Environment* env) override;
    void OnRightDown(Environment* env) override;

private:
    SmoothOperation(Environment* environment, std::shared_ptr<SkinSmoothEffect> skin,
                    std::shared_ptr<BaselineEffect> baseline, std::shared_ptr<OperationScope> size, FaceSource faces);

    std::shared_ptr<SkinSmoothEffect> skin_;
    std::shared_ptr<BaselineEffect> baseline_;
    FaceSource faces_;
};
