#pragma once

#include "gfx/Bitmap.h"
#include "imageio/OrientedCopy.h"
#include "imageio/PictureMetadata.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Decodes a JPEG file with libjpeg straight into our pixel layout (B, G, R, A bytes),
// in two steps so that the caller can check the size before any pixels are taken.
// Warnings about corrupt or missing data count as damage: libjpeg would fill the gaps
// with grey.
class JpegReader {
public:
    enum class Failure { None, Damaged, TooManyScans, OutOfMemory };

    JpegReader();
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Reads the headers from the file's bytes, which must outlive the reader. libjpeg's
    // own buffers may take at most memoryLimit bytes. False when damaged.
    bool ReadHeader(std::span<const uint8_t> file, uint64_t memoryLimit);
    int32_t Width() const;
    int32_t Height() const;
    // Grey, YCbCr, RGB, CMYK and YCCK; false for colour spaces libjpeg cannot convert.
    bool CanDecodeColours() const;
    // The fewest bytes that can hold every coded block of the picture the header claims.
    uint64_t LeastCodedBytes() const;
    // The EXIF block and colour profile; call before Decode, which lets libjpeg forget them.
    PictureMetadata Metadata() const;

    // Decodes the pixels into target, each strip of rows put in place by placement (made
    // for Width() x Height()). False when decoding stopped, for the reason LastFailure()
    // gives; the target's contents are then undefined.
    bool Decode(gfx::Bitmap& target, const OrientedCopy& placement);
    Failure LastFailure() const;

private:
    // The next count rows, one after the other from pixels. Called only from Decode,
    // whose error trap covers it.
    void ReadRowsInto(gfx::Argb* pixels, unsigned count);
    // Every component of a progressive file must have had its first scan.
    bool EveryComponentCoded() const;
    // The profile assembled from its markers, in memory the caller frees.
    bool ReadProfile(unsigned char** profile, unsigned* size) const;

    struct State;
    std::unique_ptr<State> state_;
};
