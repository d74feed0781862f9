#pragma once

#include "gfx/Bitmap.h"
#include "imageio/PictureMetadata.h"
#include "imageio/PictureRows.h"
#include "imageio/SaveResult.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

// Writes a bitmap as a baseline JPEG with libjpeg: full-resolution colour (4:4:4, no
// chroma subsampling, which would blur skin tones and thin dark lines), optimised
// Huffman tables, and quality 92 unless told otherwise.
//
// JPEG has no transparency: transparent and half-transparent pixels are blended onto
// white, the way the picture looks on a page or a light viewer background, rather than
// showing whatever colour a fully transparent pixel happens to carry (often black).
class JpegWriter {
public:
    static constexpr int DefaultQuality = 92;
    static constexpr int32_t MaxSide = 65500; // the format's limit

    explicit JpegWriter(int quality = DefaultQuality);

    // Replaces the file at path only when the whole picture was written. The metadata
    // is written as it is given.
    SaveResult Write(const PictureRows& picture, const std::filesystem::path& path,
                     const PictureMetadata& metadata = {}) const;
    SaveResult Write(const gfx::Bitmap& picture, const std::filesystem::path& path,
                     const PictureMetadata& metadata = {}) const;

    // Encodes into an open stream; false when libjpeg or the stream failed.
    bool Encode(std::FILE* stream, const PictureRows& picture, const PictureMetadata& metadata) const;
    bool Encode(std::FILE* stream, const gfx::Bitmap& picture, const PictureMetadata& metadata) const;

private:
    int quality_;
};
