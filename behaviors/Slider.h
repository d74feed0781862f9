#pragma once

#include "behaviors/Clickability.h"
#include "behaviors/DisableRuler.h"
#include "behaviors/GSimpleHolder.h"
#include "behaviors/HSlidability.h"
#include "behaviors/HSlideRuler.h"
#include "behaviors/HotRegion.h"
#include "behaviors/RulerHost.h"
#include "behaviors/StateHost.h"
#include "behaviors/StateTags.h"
#include "behaviors/TypeList.h"

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"

#include <memory>
#include <string>

namespace Qimro::Behaviors {

// The horizontal slider. Its payload is the knob image, which only the owner's drawing
// uses; its states carry no pictures and it has no drawer, so state changes only reach
// listeners (the owner hides a disabled slider through a Disabled listener).
class Slider
    : public HSlidability<Clickability<RulerHost<
          HSlideRuler<DisableRuler<Empty, Empty>, Empty>,
          StateHost<TypeList<Disabled, Down, HorizonalSlide>,
                    GSimpleHolder<std::shared_ptr<gfx::Bitmap>, HotRegion<gfx::Rect>>, std::string>>>> {};

} // namespace Qimro::Behaviors
