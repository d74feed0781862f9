#include "imageio/PictureSaver.h"

#include "imageio/ExifOrientation.h"
#include "imageio/JpegFileName.h"
#include "imageio/Messages.h"

SaveResult SavePictureAsJpeg(const gfx::Bitmap& picture, const std::filesystem::path& chosenPath,
                             const PictureMetadata& metadata,
                             std::span<const ImageEncoder> encoders)
{
    return SavePictureAsJpeg(BitmapRows(picture), chosenPath, metadata, encoders);
}

SaveResult SavePictureAsJpeg(const PictureRows& picture, const std::filesystem::path& chosenPath,
                             const PictureMetadata& metadata,
                             std::span<const ImageEncoder> encoders)
{
    const ImageEncoder* jpeg = FindJpegEncoder(encoders);
    if (!jpeg) {
        return SaveResult{false, chosenPath, messages::NoJpegEncoder};
    }
    const PictureMetadata written{ExifForRewrittenPicture(metadata.exif), metadata.iccProfile};
    return jpeg->write(picture, WithJpegExtension(chosenPath), written);
}
