#include "engine/Operation.h"

#include "engine/PictureLayer.h"

void Operation::ApplySurface(Environment* env, const std::shared_ptr<SurfaceSnapshot>& snapshot)
{
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (!picture || !snapshot) {
        return;
    }
    picture->BeginEdit();
    const std::shared_ptr<SurfaceSnapshot> replaced = picture->Restore(*snapshot);
    env->PushHistory([this, env, replaced] { ApplySurface(env, replaced); });
}
