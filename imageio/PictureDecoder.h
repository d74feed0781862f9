#pragma once

#include "gfx/Bitmap.h"
#include "imageio/MemoryBudget.h"
#include "imageio/PictureMetadata.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

enum class DecodeProblem { None, Unreadable, Empty, NotAPicture, Damaged, TooLarge };

// Either the decoded picture or why there is none, with the text to show the user.
struct DecodeResult {
    std::optional<gfx::Bitmap> bitmap; // never 0 x 0
    // To carry over into the saved JPEG.
    PictureMetadata metadata;
    DecodeProblem problem = DecodeProblem::None;
    QString message;

    bool Ok() const { return bitmap.has_value(); }
};

// Opens a picture file (JPEG, PNG, BMP and whatever else Qt's image reader knows) as a
// 32-bit ARGB bitmap, turned upright by its EXIF orientation. JPEG goes straight
// through libjpeg for speed; the size is checked against free memory before decoding.
class PictureDecoder {
public:
    explicit PictureDecoder(MemoryBudget budget = MemoryBudget::FromSystem());

    DecodeResult Decode(const QString& path) const;

private:
    enum class JpegRoute { Decoded, UseQt };

    JpegRoute DecodeJpeg(std::FILE* file, DecodeResult& result) const;
    DecodeResult DecodeWithQt(const QString& path) const;
    DecodeResult TooLarge(int64_t width, int64_t height) const;

    MemoryBudget budget_;
};
