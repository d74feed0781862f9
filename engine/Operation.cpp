#include "engine/Operation.h"

#include "engine/PictureLayer.h"

void Operation::ApplySurface(Environment* env, const std::shared_ptr<SurfaceSnapshot>& snapshot)
{
    const std::shared_ptr<PictureLayer> picture = env->CurrentPicture();
    if (!picture || !snapshot) {
        return;
    }
    picture->BeginEdit();
    snapshot->RestoreInto(*picture);
}
