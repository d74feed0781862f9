#pragma once

#include "gfx/Bitmap.h"
#include "imageio/PictureMetadata.h"

#include <cstdint>
#include <memory>
#include <span>

// Decodes the primary picture of a HEIF file (HEIC from phones) with libheif, turned and
// mirrored as the file's own transformations say, so its size is the upright one. In
// two steps, so that the caller can check the size before any pixels are taken. The EXIF
// block and the colour profile are carried as for JPEG. The file's item structure is
// checked before libheif reads it (see HeifItems): deep derivation chains and grids
// whose tiles leave part of the picture uncovered are refused.
class HeifReader {
public:
    enum class Failure { None, Damaged, TooDeep, OutOfMemory };

    HeifReader();
    ~HeifReader();
    HeifReader(const HeifReader&) = delete;
    HeifReader& operator=(const HeifReader&) = delete;

    // Whether the file starts as a HEIF file does: a file type box naming a HEIF brand.
    static bool IsHeif(std::span<const uint8_t> file);

    // Reads the file's boxes from its bytes, which must outlive the reader. A side longer
    // than maxSide is refused by libheif itself. False when damaged.
    bool ReadHeader(std::span<const uint8_t> file, int32_t maxSide);
    int32_t Width() const;
    int32_t Height() const;
    PictureMetadata Metadata() const;

    // Writes every pixel of target (Width() x Height()). False when decoding stopped, for
    // the reason LastFailure() gives; the target's contents are then undefined.
    bool Decode(gfx::Bitmap& target);
    Failure LastFailure() const { return failure_; }

private:
    bool DecodeTransformedHere(gfx::Bitmap& target);
    bool Fail(Failure failure);

    struct State;
    std::unique_ptr<State> state_;
    Failure failure_ = Failure::None;
};
