#pragma once

#include "gfx/PixelMemory.h"

#include <cstdint>
#include <filesystem>
#include <span>

// A file's bytes, read into memory of our own. A mapping of the file would save the copy,
// but a file cut short while it is decoded (rewritten by a sync client, say) would then
// end the program with SIGBUS; a file changed after reading changes nothing here.
class FileContents {
public:
    explicit FileContents(const std::filesystem::path& path);

    // False when the file could not be opened or read; an empty file has no bytes.
    bool IsOpen() const { return open_; }
    // The errno value of the failure (ENOMEM when memory cannot hold the file).
    int Error() const { return error_; }
    std::span<const uint8_t> Bytes() const { return {reinterpret_cast<const uint8_t*>(data_.get()), size_}; }

private:
    gfx::PixelBlock data_; // huge pages for a photo-sized file: quicker to fill
    size_t size_ = 0;
    bool open_ = false;
    int error_ = 0;
};
