#pragma once

#include "gfx/Bitmap.h"
#include "imageio/ImageEncoders.h"
#include "imageio/SaveResult.h"

#include <cstdint>
#include <span>

// The save flow after the user has chosen a file name: find the JPEG encoder, apply the
// ".jpg" name rule and write. The result's message is what to show the user: the
// confirmation only when the file was really written, otherwise why not.
// exif is the opened picture's EXIF block (may be empty); it is written with its
// orientation set upright, since the pixels are saved as shown.
SaveResult SavePictureAsJpeg(const gfx::Bitmap& picture, const QString& chosenPath,
                             std::span<const uint8_t> exif = {},
                             std::span<const ImageEncoder> encoders = InstalledEncoders());
