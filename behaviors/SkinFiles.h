#pragma once

#include "behaviors/StateTags.h"

#include "gfx/Bitmap.h"

#include <memory>
#include <string>
#include <type_traits>

namespace Qimro::Behaviors {

// Which skin file holds the on image of a state: <name>_1.bmp hover, _2.bmp pressed (and
// selected), _3.bmp disabled. States without a file keep empty images.
template <class Tag>
constexpr const char* SkinSuffix()
{
    if constexpr (std::is_same_v<Tag, Over>) {
        return "_1.bmp";
    } else if constexpr (std::is_same_v<Tag, Down> || std::is_same_v<Tag, Selected>) {
        return "_2.bmp";
    } else if constexpr (std::is_same_v<Tag, Disabled>) {
        return "_3.bmp";
    } else {
        return nullptr;
    }
}

// A state image from the data folder. A missing or unreadable file gives an empty bitmap
// rather than nothing: drawing it paints nothing, so the screen keeps its look for that
// state, whereas no image at all means "show the background". At scale 2 the image is the
// one drawn at twice the size (LoadAppImage).
std::shared_ptr<gfx::Bitmap> LoadSkinImage(const std::string& fileName, int scale = 1);

} // namespace Qimro::Behaviors
