#include "tools/CopyOperation.h"

#include "engine/BrushRect.h"
#include "engine/FalloffMask.h"
#include "engine/PictureLayer.h"
#include "tools/EffectOperation.h"

#include <algorithm>
#include <utility>

namespace {

// Weights above the middle (the inner half of the radius) all get the full stamp alpha;
// below it the alpha falls linearly, 128 giving exactly 40.
uint32_t StampAlphaFor(uint8_t weight)
{
    return weight <= 128 ? uint32_t(weight * 0.3125) : CopyOperation::StampAlpha;
}

} // namespace

CopyOperation::CopyOperation(Environment* environment, std::shared_ptr<OperationScope> size)
    : Operation(environment), size(std::move(size))
{
}

void CopyOperation::DrawOverlay(gfx::Graphics& graphics, const ViewTransform& view, Environment* env)
{
    EffectOperation::DrawBrushCircle(graphics, view, BrushRect(env, EffectOperation::RadiusOf(*size)));
}

void CopyOperation::OnWheelDown(Environment*) { size->StepDown(); }

void CopyOperation::OnWheelUp(Environment*) { size->StepUp(); }

void CopyOperation::OnLeftDown(Environment*) { mode = StampPending; }

void CopyOperation::OnRightDown(Environment*) { mode = PickPending; }

void CopyOperation::OnButtonUp(Environment* env)
{
    const int32_t action = mode;
    mode = Idle;
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (action == Idle || !picture) {
        return;
    }
    const gfx::Rect brush = BrushRect(env, EffectOperation::RadiusOf(*size));
    const Surface& working = picture->BeginEdit();
    if (action == StampPending) {
        Stamp(env, *picture, brush);
    } else {
        Pick(working, brush);
    }
    picture->Commit();
}

void CopyOperation::Pick(const Surface& working, const gfx::Rect& brush)
{
    const gfx::Rect area = brush.IsEmpty() ? gfx::Rect{} : brush.Intersected(working.Bounds());
    auto picked = CreateSurface(area.width, area.height);
    CopyRegion(working, area.x, area.y, *picked);
    const FalloffMask mask({0, 0, area.width, area.height});
    for (int32_t i = 0; i < picked->height; ++i) {
        uint32_t* row = picked->Row(i);
        const uint8_t* weights = mask.Row(i);
        for (int32_t j = 0; j < picked->width; ++j) {
            row[j] = (row[j] & 0x00FFFFFFu) | StampAlphaFor(weights[j]) << 24;
        }
    }
    patch = std::move(picked);
}

// The patch is drawn unscaled with its top-left at the brush square's; where the square
// is smaller than the patch (a smaller brush, or the picture's edge) only the patch's
// top-left part is drawn. A stamp that draws nothing makes no undo step.
void CopyOperation::Stamp(Environment* env, PictureLayer& picture, const gfx::Rect& brush)
{
    if (!patch) {
        return;
    }
    const int32_t width = std::min(brush.width, patch->width);
    const int32_t height = std::min(brush.height, patch->height);
    if (width <= 0 || height <= 0) {
        return;
    }
    std::shared_ptr<Surface> pixels = patch;
    if (width != patch->width || height != patch->height) {
        pixels = CreateSurface(width, height);
        CopyRegion(*patch, 0, 0, *pixels);
    }
    auto snapshot = picture.StartSnapshot();
    if (picture.CompositePatch({brush.x, brush.y, width, height, std::move(pixels)})) {
        env->PushHistory([this, env, snapshot] { ApplySurface(env, snapshot); });
    }
}
