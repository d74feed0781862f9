#pragma once

#include "behaviors/Clickability.h"
#include "behaviors/HotRegion.h"
#include "behaviors/SkinImage.h"
#include "behaviors/SkinnedButton.h"
#include "behaviors/StateHost.h"
#include "behaviors/StateTags.h"
#include "behaviors/TypeList.h"

#include "gfx/Geometry.h"

namespace Qimro::Behaviors {

// A button that is always enabled: hover and pressed looks, a click.
class PlainButton
    : public SkinnedButton<Clickability<StateHost<TypeList<Over, Down>, HotRegion<gfx::Rect>, SkinImage>>> {};

} // namespace Qimro::Behaviors
