#include "tools/ClickEffectOperation.h"

#include "engine/BrushRect.h"
#include "engine/PictureLayer.h"

void ClickEffectOperation::OnDrag(Environment*) {}

void ClickEffectOperation::OnButtonUp(Environment* env)
{
    const gfx::Rect brush = BrushRect(env, Radius());
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (!picture) {
        return;
    }
    picture->BeginEdit();
    auto snapshot = picture->StartSnapshot();
    if (ApplyCurrentEffect(*picture, brush)) {
        env->PushHistory([this, env, snapshot] { ApplySurface(env, snapshot); });
    }
    picture->Commit();
}
