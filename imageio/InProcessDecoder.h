#pragma once

#include "imageio/DecodeResult.h"
#include "imageio/MemoryBudget.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

class PluginReader;
struct PictureKind;

// Decodes a picture file's bytes in this process with the reader the table of picture
// kinds names for its first bytes: JPEG, PNG and BMP through readers of our own, HEIF
// through libheif, GIF, TIFF and WebP through the plugin reader when one is given. The
// decoder helper runs it on the files it is handed; the fuzz targets run it directly.
//
// Every pixel of a decoded picture comes from the file: a file that ends early, or whose
// data is too short for the picture its header claims, is damaged and refused before
// its pixels are taken; the size is checked against the memory budget first too.
class InProcessDecoder {
public:
    // Where the pixels of a picture of this size go, to be written in full: a bitmap of
    // that size, its pixels in memory of this process unless told otherwise.
    using PixelsFor = std::function<gfx::Bitmap(int32_t width, int32_t height)>;

    explicit InProcessDecoder(MemoryBudget budget, PluginReader* plugins = nullptr);

    DecodeResult Decode(std::span<const uint8_t> file) const;
    // Called with the picture's size once the header is read and the size accepted,
    // before the pixels are decoded.
    void OnSizeKnown(std::function<void(int32_t width, int32_t height)> sizeKnown)
    {
        sizeKnown_ = std::move(sizeKnown);
    }
    void PutPixels(PixelsFor pixelsFor) { pixelsFor_ = std::move(pixelsFor); }

private:
    struct Size {
        int64_t width = -1;
        int64_t height = -1;
    };

    DecodeResult DecodeKind(const PictureKind* kind, std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodeJpeg(std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodePng(std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodeBmp(std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult DecodeHeif(std::span<const uint8_t> file, Size& claimed) const;
    template <typename Reader>
    DecodeResult DecodeUpright(Reader& reader, uint64_t fileBytes, uint64_t leastBytes, Size& claimed) const;
    DecodeResult DecodeWithPlugin(const PictureKind& kind, std::span<const uint8_t> file, Size& claimed) const;
    DecodeResult NameUnopenedFormat(std::span<const uint8_t> file) const;
    // Why a picture of this size, in a file of fileBytes that needs at least leastBytes
    // for it, cannot be decoded; nothing when it can, after telling the size.
    std::optional<DecodeResult> Refusal(Size size, uint64_t fileBytes, uint64_t leastBytes) const;
    gfx::Bitmap PixelsOf(int32_t width, int32_t height) const;

    MemoryBudget budget_;
    PluginReader* plugins_;
    std::function<void(int32_t, int32_t)> sizeKnown_;
    PixelsFor pixelsFor_;
};
