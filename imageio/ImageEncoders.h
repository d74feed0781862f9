#pragma once

#include "gfx/Bitmap.h"
#include "imageio/PictureMetadata.h"
#include "imageio/PictureRows.h"
#include "imageio/SaveResult.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

using WritePicture = SaveResult (*)(const PictureRows& picture, const std::filesystem::path& path,
                                   const PictureMetadata& metadata);

// A picture format the program can write, known by its MIME type.
struct ImageEncoder {
    std::string_view mimeType;
    std::string_view description;
    WritePicture write;
};

// The encoders built into the program.
std::span<const ImageEncoder> InstalledEncoders();

// The first encoder whose MIME type equals mimeType exactly (case matters); null when none does.
const ImageEncoder* FindEncoder(std::span<const ImageEncoder> encoders, std::string_view mimeType);

// The JPEG writer ("image/jpeg"), or null when the program has none.
const ImageEncoder* FindJpegEncoder(std::span<const ImageEncoder> encoders = InstalledEncoders());
