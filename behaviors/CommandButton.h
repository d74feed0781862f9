#pragma once

#include "behaviors/Clickability.h"
#include "behaviors/DisableRuler.h"
#include "behaviors/HotRegion.h"
#include "behaviors/RulerHost.h"
#include "behaviors/SkinImage.h"
#include "behaviors/SkinnedButton.h"
#include "behaviors/StateHost.h"
#include "behaviors/StateTags.h"
#include "behaviors/TypeList.h"

#include "gfx/Geometry.h"

namespace Qimro::Behaviors {

// A button the owner can disable: no press and no hover while Disabled is on.
class CommandButton
    : public SkinnedButton<Clickability<RulerHost<
          DisableRuler<Empty, Empty>,
          StateHost<TypeList<Disabled, Over, Down>, HotRegion<gfx::Rect>, SkinImage>>>> {};

} // namespace Qimro::Behaviors
