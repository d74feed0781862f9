#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// What a file of a kind read through Qt's plugins (GIF, TIFF, WebP) announces in its own
// structure, read before the plugin decodes anything: whether the file holds all of it
// (Qt's readers show what they got from a cut-off file: GIF's blocks up to the trailer,
// TIFF's strips and tiles, WebP's chunks inside the RIFF container), the size it claims,
// and the most pixels its coded data can expand to, so that a small file claiming a huge
// picture is refused before memory is taken for it, as the PNG reader does with zlib's
// largest ratio.
class WholeFileCheck {
public:
    struct Claim {
        uint64_t width = 0;
        uint64_t height = 0;
        uint64_t mostPixels = 0; // what the coded data can expand to at most
    };

    // By the names of the picture kinds: "GIF", "TIFF", "WebP". Nothing for a file that
    // is not whole, or of another kind.
    static std::optional<Claim> Check(std::string_view kind, std::span<const uint8_t> file);

private:
    static std::optional<Claim> CheckGif(std::span<const uint8_t> file);
    static std::optional<Claim> CheckTiff(std::span<const uint8_t> file);
    static std::optional<Claim> CheckWebp(std::span<const uint8_t> file);
};
