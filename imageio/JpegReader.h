#pragma once

#include "gfx/Bitmap.h"
#include "imageio/OrientedCopy.h"
#include "imageio/PictureMetadata.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

// Decodes a JPEG file with libjpeg straight into our pixel layout (B, G, R, A bytes),
// in two steps so that the caller can check the size before any pixels are taken.
class JpegReader {
public:
    JpegReader();
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Reads the headers from the file, which stays the caller's. False when damaged.
    bool ReadHeader(std::FILE* file);
    int32_t Width() const;
    int32_t Height() const;
    // CMYK and YCCK files cannot be decoded into our layout directly.
    bool CanDecodeColours() const;
    // The EXIF block and colour profile; call before Decode, which lets libjpeg forget them.
    PictureMetadata Metadata() const;

    // Decodes the pixels into target, each strip of rows put in place by placement (made
    // for Width() x Height()). False when the data is damaged or ends early; the
    // target's contents are then undefined.
    bool Decode(gfx::Bitmap& target, const OrientedCopy& placement);

private:
    // The next count rows, one after the other from pixels. Called only from Decode,
    // whose error trap covers it.
    void ReadRowsInto(gfx::Argb* pixels, unsigned count);
    // The profile assembled from its markers, in memory the caller frees.
    bool ReadProfile(unsigned char** profile, unsigned* size) const;

    struct State;
    std::unique_ptr<State> state_;
};
