#pragma once

#include "gfx/Bitmap.h"
#include "imageio/PictureMetadata.h"

#include <cstdint>
#include <optional>
#include <string>

// Why a file gave no picture. DecoderFailed: the decoder helper crashed, hung or could
// not be started.
enum class DecodeProblem { None, Unreadable, Empty, NotAPicture, Damaged, TooLarge, DecoderFailed };

// Either the decoded picture or why there is none, with the text to show the user.
struct DecodeResult {
    std::optional<gfx::Bitmap> bitmap; // never 0 x 0
    // To carry over into the saved JPEG.
    PictureMetadata metadata;
    DecodeProblem problem = DecodeProblem::None;
    std::string message; // UTF-8
    // The decoder helper's resident memory at its peak; 0 when decoded in this process.
    uint64_t helperPeakBytes = 0;

    bool Ok() const { return bitmap.has_value(); }
};

DecodeResult Decoded(gfx::Bitmap bitmap, PictureMetadata metadata);
// "Cannot open this picture: " and the reason.
DecodeResult DecodeFailure(DecodeProblem problem, std::string reason);
// The picture of this size is more than memory holds.
DecodeResult TooLargeFailure(int64_t width, int64_t height);
