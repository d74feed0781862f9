#pragma once

#include "gfx/Bitmap.h"
#include "imageio/ImageEncoders.h"
#include "imageio/SaveResult.h"

#include <cstdint>
#include <filesystem>
#include <span>

// The save flow after the user has chosen a file name: find the JPEG encoder, apply the
// ".jpg" name rule and write. The result's message is what to show the user: the
// confirmation only when the file was really written, otherwise why not.
// metadata comes from the opened picture; its EXIF block is written with the
// orientation set upright, since the pixels are saved as shown.
SaveResult SavePictureAsJpeg(const PictureRows& picture, const std::filesystem::path& chosenPath,
                             const PictureMetadata& metadata = {},
                             std::span<const ImageEncoder> encoders = InstalledEncoders());
SaveResult SavePictureAsJpeg(const gfx::Bitmap& picture, const std::filesystem::path& chosenPath,
                             const PictureMetadata& metadata = {},
                             std::span<const ImageEncoder> encoders = InstalledEncoders());
