#pragma once

#include "behaviors/Clickability.h"
#include "behaviors/DisableRuler.h"
#include "behaviors/GSimpleHolder.h"
#include "behaviors/HotRegion.h"
#include "behaviors/ISelectable.h"
#include "behaviors/RulerHost.h"
#include "behaviors/SelectableRuler.h"
#include "behaviors/SkinImage.h"
#include "behaviors/SkinnedButton.h"
#include "behaviors/StateHost.h"
#include "behaviors/StateTags.h"
#include "behaviors/ToolEntry.h"
#include "behaviors/TypeList.h"

#include "gfx/Geometry.h"

namespace Qimro::Behaviors {

// One button of the tool palette. The owner makes the palette a radio group through
// ISelectable; a selected button takes no press, so clicking the current tool does nothing.
class ToolButton
    : public SkinnedButton<Clickability<RulerHost<
          DisableRuler<SelectableRuler<Empty, ISelectable>, Empty>,
          StateHost<TypeList<Selected, Disabled, Over, Down>, GSimpleHolder<ToolEntry, HotRegion<gfx::Rect>>,
                    SkinImage>>>> {};

} // namespace Qimro::Behaviors
