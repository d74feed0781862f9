#pragma once

#include "engine/Operation.h"
#include "engine/OperationScope.h"
#include "engine/Surface.h"

#include <cstdint>
#include <memory>

// The skin clone tool: a right click picks the round patch of skin under the brush, a
// left click stamps it softly at the cursor. Both act at the release. The patch is
// at most 40 of 255 opaque, so repeated stamps at one place blend toward the skin.
class CopyOperation : public Operation {
public:
    enum Mode : int32_t { Idle = 0, StampPending = 1, PickPending = 2 };
    static constexpr uint32_t StampAlpha = 40;

    CopyOperation(Environment* environment, std::shared_ptr<OperationScope> size);

    void DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env) override;
    void OnButtonUp(Environment* env) override;
    void OnWheelDown(Environment* env) override;
    void OnWheelUp(Environment* env) override;
    void OnLeftDown(Environment* env) override;
    void OnRightDown(Environment* env) override;

    // The picked patch with its alpha prepared; empty before the first pick.
    const std::shared_ptr<Surface>& PickedPatch() const { return patch; }
    const std::shared_ptr<OperationScope>& Size() const { return size; }

private:
    void Pick(const Surface& working, const gfx::Rect& brush);
    void Stamp(Environment* env, PictureLayer& picture, const gfx::Rect& brush);

    int32_t mode = Idle;
    std::shared_ptr<Surface> patch;
    std::shared_ptr<OperationScope> size;
};
