// Any bytes as an EXIF block: the orientation is read and the block rewritten for saving.
#include "imageio/ExifOrientation.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> exif(data, size);
    const ExifOrientation orientation = ReadExifOrientation(exif);
    if (uint16_t(orientation) < 1 || uint16_t(orientation) > 8) {
        __builtin_trap();
    }
    const std::vector<uint8_t> rewritten = ExifForRewrittenPicture(exif);
    if (!rewritten.empty() && (rewritten.size() != size || ReadExifOrientation(rewritten) != ExifOrientation::Upright)) {
        __builtin_trap();
    }
    return 0;
}
