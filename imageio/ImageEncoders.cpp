#include "imageio/ImageEncoders.h"

#include "imageio/JpegWriter.h"

#include <algorithm>
#include <array>

namespace {

SaveResult WriteJpeg(const PictureRows& picture, const std::filesystem::path& path, const PictureMetadata& metadata)
{
    return JpegWriter().Write(picture, path, metadata);
}

constexpr std::array Encoders{
    ImageEncoder{"image/jpeg", "JPEG, quality 92, 4:4:4", WriteJpeg},
};

} // namespace

std::span<const ImageEncoder> InstalledEncoders()
{
    return Encoders;
}

const ImageEncoder* FindEncoder(std::span<const ImageEncoder> encoders, std::string_view mimeType)
{
    const auto found = std::find_if(encoders.begin(), encoders.end(),
                                    [mimeType](const ImageEncoder& encoder) { return encoder.mimeType == mimeType; });
    return found == encoders.end() ? nullptr : &*found;
}

const ImageEncoder* FindJpegEncoder(std::span<const ImageEncoder> encoders)
{
    return FindEncoder(encoders, "image/jpeg");
}
