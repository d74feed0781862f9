#include "batch/BatchPictureFiles.h"

#include "imageio/MemoryBudget.h"
#include "imageio/Messages.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureSaver.h"

#include <string_view>
#include <utility>

BatchPictureFiles::Picture BatchPictureFiles::Read(const std::filesystem::path& path,
                                                   const std::function<void(int64_t, int64_t)>& sizeKnown)
{
    PictureDecoder decoder;
    decoder.OnSizeKnown([&sizeKnown](int32_t width, int32_t height) { sizeKnown(width, height); });
    DecodeResult decoded = decoder.Decode(path);
    Picture picture;
    if (!decoded.Ok()) {
        // "Cannot open this picture:" goes without saying in a line about a picture skipped.
        picture.problem = decoded.message;
        if (picture.problem.starts_with(messages::OpenFailed)) {
            picture.problem.erase(0, std::string_view(messages::OpenFailed).size());
        }
        return picture;
    }
    picture.pixels = MoveIntoSurface(std::move(*decoded.bitmap));
    picture.exif = std::move(decoded.metadata.exif);
    picture.iccProfile = std::move(decoded.metadata.iccProfile);
    return picture;
}

std::string BatchPictureFiles::Write(const Picture& picture, const std::filesystem::path& path)
{
    const PictureMetadata metadata{picture.exif, picture.iccProfile};
    const SaveResult result = SavePictureAsJpeg(WrapAsBitmap(std::as_const(*picture.pixels)), path, metadata);
    return result.saved ? std::string() : result.message;
}

uint64_t BatchPictureFiles::AvailableMemory() { return MemoryBudget::FromSystem().AvailableBytes(); }
