#pragma once

#include "imageio/DecodeResult.h"
#include "imageio/MemoryBudget.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

// Opens a picture file as a 32-bit ARGB bitmap, turned upright as the file says. The
// table of picture kinds names the reader for what the file's first bytes say. JPEG, PNG
// and BMP, whose readers are our own and fuzzed, decode in this process; every other
// file (HEIC through libheif, GIF, TIFF and WebP through Qt's plugins, and any file of no
// kind we open) in the decoder helper, a process of its own, whose crash or hang becomes
// a "cannot open" message. Either way every pixel comes from the file: a file that ends
// early, or is too short for the picture it claims, is refused before its pixels are
// allocated, and the size is checked against free memory first.
class PictureDecoder {
public:
    explicit PictureDecoder(MemoryBudget budget = MemoryBudget::FromSystem());

    DecodeResult Decode(const std::filesystem::path& path) const;

    // Called with the picture's size once the file's header is read and the size
    // accepted, before its pixels are decoded.
    void OnSizeKnown(std::function<void(int32_t width, int32_t height)> sizeKnown)
    {
        sizeKnown_ = std::move(sizeKnown);
    }
    // Called every few hundredths of a second while the helper decodes.
    void OnWaiting(std::function<void()> waiting) { waiting_ = std::move(waiting); }
    void SetHelperTimeLimit(std::chrono::milliseconds limit) { helperTimeLimit_ = limit; }

private:
    MemoryBudget budget_;
    std::function<void(int32_t, int32_t)> sizeKnown_;
    std::function<void()> waiting_;
    std::chrono::milliseconds helperTimeLimit_;
};
