#pragma once

#include <cstdint>
#include <vector>

// What an opened picture carries besides its pixels that a saved JPEG should keep: the
// camera's EXIF data and the colour profile that says what the pixel values mean
// (without it a photo in a wide-gamut space would look dull once saved).
struct PictureMetadata {
    std::vector<uint8_t> exif;       // the APP1 payload, starting with "Exif\0\0"
    std::vector<uint8_t> iccProfile; // a whole ICC profile

    bool IsEmpty() const { return exif.empty() && iccProfile.empty(); }
};
