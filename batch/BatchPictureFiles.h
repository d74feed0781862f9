#pragma once

#include "engine/Surface.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The batch command's one door to the picture files: reading a picture turned as it is
// shown, with what its JPEG should keep (EXIF, colour profile), and writing it as a
// JPEG the way the window saves. Texts are UTF-8.
class BatchPictureFiles {
public:
    struct Picture {
        std::shared_ptr<Surface> pixels; // empty when the file could not be read
        std::vector<uint8_t> exif;
        std::vector<uint8_t> iccProfile;
        std::string problem; // why there are no pixels
    };

    // sizeKnown is called with the picture's size before its pixels are taken, and may
    // wait (for memory other pictures still hold).
    static Picture Read(const std::filesystem::path& path, const std::function<void(int64_t width, int64_t height)>& sizeKnown);
    // Writes the picture; empty when written, otherwise why not.
    static std::string Write(const Picture& picture, const std::filesystem::path& path);
    // The memory this process may still take, in bytes.
    static uint64_t AvailableMemory();
};
