#include "behaviors/SkinFiles.h"

#include "files/AppFiles.h"

namespace Qimro::Behaviors {

std::shared_ptr<gfx::Bitmap> LoadSkinImage(const std::string& fileName, int scale)
{
    std::shared_ptr<gfx::Bitmap> image = LoadAppImage(fileName, scale);
    return image ? image : std::make_shared<gfx::Bitmap>();
}

} // namespace Qimro::Behaviors
