#pragma once

#include "behaviors/SkinFiles.h"
#include "behaviors/TypeList.h"

#include "gfx/Geometry.h"

#include <string>
#include <utility>

namespace Qimro::Behaviors {

// What the three button kinds share: placing a button and loading its state images, whose
// files are named after the button.
template <class Base>
class SkinnedButton : public Base {
public:
    // Draws nothing; the owner sets initial states afterwards. The images are those drawn
    // for a window of `scale` device pixels per window pixel.
    void Setup(const gfx::Rect& region, typename Base::Drawer drawer, const std::string& name, int scale = 1)
    {
        this->SetRegion(region);
        this->AddDrawer(std::move(drawer));
        LoadSkin(name, scale);
    }

    // Loads the file of each state this kind has; other files with the name are not read.
    void LoadSkin(const std::string& name, int scale = 1) { LoadSkinOf(typename Base::StateList{}, name, scale); }

private:
    template <class... Tags>
    void LoadSkinOf(TypeList<Tags...>, const std::string& name, int scale)
    {
        (LoadStateImage<Tags>(name, scale), ...);
    }

    template <class Tag>
    void LoadStateImage(const std::string& name, int scale)
    {
        if constexpr (SkinSuffix<Tag>() != nullptr) {
            this->EntryOf(Tag{}).onImage = LoadSkinImage(name + SkinSuffix<Tag>(), scale);
        }
    }
};

} // namespace Qimro::Behaviors
