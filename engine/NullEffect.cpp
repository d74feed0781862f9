#include "engine/NullEffect.h"

const std::shared_ptr<NullEffect>& NullEffect::Shared()
{
    static const std::shared_ptr<NullEffect> instance = std::make_shared<NullEffect>();
    return instance;
}

Patch NullEffect::Apply(const Surface&, const gfx::Rect&) { return {}; }
