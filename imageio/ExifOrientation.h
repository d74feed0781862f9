#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The EXIF orientation tag: how the stored pixels must be turned or mirrored to show
// the picture upright. The values are the tag's own (1 = upright ... 8).
enum class ExifOrientation : uint16_t {
    Upright = 1,
    MirroredHorizontally = 2,
    UpsideDown = 3,
    MirroredVertically = 4,
    Transposed = 5,
    TurnedLeft = 6,  // shown after a quarter turn clockwise
    Transversed = 7,
    TurnedRight = 8, // shown after a quarter turn counter-clockwise
};

// Reads the orientation from an EXIF block (the APP1 payload, starting with "Exif\0\0").
// Upright when the block is absent, malformed or holds no valid orientation.
ExifOrientation ReadExifOrientation(std::span<const uint8_t> exif);

// A copy of the EXIF block fit for a newly written picture: orientation upright (the
// pixels are written already turned) and the embedded thumbnail unlinked, since it
// shows the picture as it was before editing. Empty when the block is malformed.
std::vector<uint8_t> ExifForRewrittenPicture(std::span<const uint8_t> exif);
