#pragma once

#include "gfx/Bitmap.h"

#include <memory>

namespace Qimro::Behaviors {

// The image type of every button state: null means "show the skin background there".
using SkinImage = std::shared_ptr<gfx::Bitmap>;

} // namespace Qimro::Behaviors
