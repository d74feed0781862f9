#include "imageio/DecodeResult.h"

#include "imageio/Messages.h"

DecodeResult Decoded(gfx::Bitmap bitmap, PictureMetadata metadata)
{
    DecodeResult result;
    result.bitmap = std::move(bitmap);
    result.metadata = std::move(metadata);
    return result;
}

DecodeResult DecodeFailure(DecodeProblem problem, std::string reason)
{
    DecodeResult result;
    result.problem = problem;
    result.message = messages::OpenFailed + std::move(reason);
    return result;
}

DecodeResult TooLargeFailure(int64_t width, int64_t height)
{
    return DecodeFailure(DecodeProblem::TooLarge, messages::Filled(messages::PictureTooLarge,
                                                                   {std::to_string(width), std::to_string(height)}));
}
