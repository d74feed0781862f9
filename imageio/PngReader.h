#pragma once

#include "gfx/Bitmap.h"
#include "imageio/PictureMetadata.h"

#include <cstdint>
#include <memory>
#include <span>

// Decodes a PNG file with libpng straight into our pixel layout, row by row in the
// calling thread: every bit depth and colour type, transparent colours (tRNS) compared
// at their full depth, 16-bit samples rounded to 8. In two steps, so that the caller can
// check the size before any pixels are taken. A file that ends before its end chunk is
// damaged.
class PngReader {
public:
    enum class Failure { None, Damaged, OutOfMemory };

    PngReader();
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Reads the chunks before the image data from the file's bytes, which must outlive
    // the reader. False when damaged.
    bool ReadHeader(std::span<const uint8_t> file);
    int32_t Width() const;
    int32_t Height() const;
    // The fewest bytes that can hold the picture the header claims: its raw rows at
    // zlib's largest compression ratio.
    uint64_t LeastCodedBytes() const;
    // The colour profile (iCCP), if any.
    PictureMetadata Metadata() const;

    // Writes every pixel of target (Width() x Height()). False when decoding stopped, for
    // the reason LastFailure() gives; the target's contents are then undefined.
    bool Decode(gfx::Bitmap& target);
    Failure LastFailure() const;

private:
    int ChooseTransforms();
    void ReadPasses(gfx::Bitmap& target, int passes);

    struct State;
    std::unique_ptr<State> state_;
};
