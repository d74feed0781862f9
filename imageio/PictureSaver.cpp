#include "imageio/PictureSaver.h"

#include "imageio/ExifOrientation.h"
#include "imageio/JpegFileName.h"
#include "imageio/Messages.h"

SaveResult SavePictureAsJpeg(const gfx::Bitmap& picture, const QString& chosenPath, std::span<const uint8_t> exif,
                             std::span<const ImageEncoder> encoders)
{
    const ImageEncoder* jpeg = FindJpegEncoder(encoders);
    if (!jpeg) {
        return SaveResult{false, chosenPath, QString::fromUtf8(messages::NoJpegEncoder)};
    }
    return jpeg->write(picture, WithJpegExtension(chosenPath), ExifForRewrittenPicture(exif));
}
