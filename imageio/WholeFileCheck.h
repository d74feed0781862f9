#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Whether a file of a format that goes through Qt's reader holds everything its own
// structure announces. Qt's readers show what they got from a cut-off file; these checks
// refuse it first: GIF's blocks up to the trailer, TIFF's strips and tiles inside the
// file, WebP's chunks inside the RIFF container and the container inside the file.
class WholeFileCheck {
public:
    // By the names of the picture kinds: "GIF", "TIFF", "WebP"; false for any other.
    static bool IsWhole(std::string_view kind, std::span<const uint8_t> file);

private:
    static bool IsWholeGif(std::span<const uint8_t> file);
    static bool IsWholeTiff(std::span<const uint8_t> file);
    static bool IsWholeWebp(std::span<const uint8_t> file);
};
