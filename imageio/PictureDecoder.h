#pragma once

#include "gfx/Bitmap.h"
#include "imageio/MemoryBudget.h"
#include "imageio/PictureMetadata.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct PictureKind;

enum class DecodeProblem { None, Unreadable, Empty, NotAPicture, Damaged, TooLarge };

// Either the decoded picture or why there is none, with the text to show the user.
struct DecodeResult {
    std::optional<gfx::Bitmap> bitmap; // never 0 x 0
    // To carry over into the saved JPEG.
    PictureMetadata metadata;
    DecodeProblem problem = DecodeProblem::None;
    std::string message; // UTF-8

    bool Ok() const { return bitmap.has_value(); }
};

// Opens a picture file as a 32-bit ARGB bitmap, turned upright by its EXIF orientation,
// with the reader the table of picture kinds names for what the file's first bytes say:
// JPEG, PNG and BMP through readers of our own, HEIF through libheif (turned as the file
// says), GIF, TIFF and WebP through Qt's. Every pixel of a decoded picture comes from
// the file: a file that ends early, or is too short to hold the picture its header
// claims, is damaged and refused before its pixels are allocated; the size is checked
// against free memory before decoding too.
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

private:
    struct Size {
        int32_t width = -1;
        int32_t height = -1;
    };

    DecodeResult DecodeJpeg(std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodePng(std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodeBmp(std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodeHeif(std::span<const uint8_t> file, Size& claimed) const;
    template <typename Reader>
    DecodeResult DecodeUpright(Reader& reader, uint64_t fileBytes, uint64_t leastBytes, Size& claimed) const;
    DecodeResult DecodeWithQt(const PictureKind& kind, std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult NameUnopenedFormat(std::span<const uint8_t> file) const;
    // Why a picture of this size, in a file of fileBytes that needs at least
    // leastBytes for it, cannot be decoded; nothing when it can, after telling the size.
    std::optional<DecodeResult> Refusal(Size size, uint64_t fileBytes, uint64_t leastBytes) const;
    DecodeResult TooLarge(Size size) const;

    MemoryBudget budget_;
    std::function<void(int32_t, int32_t)> sizeKnown_;
};
