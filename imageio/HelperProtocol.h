#pragma once

#include <cstdint>

// How the program and its decoder helper talk. The helper is started with the picture
// file's bytes as a memory file on descriptor 0, its reply pipe on 1 and an empty memory
// file for the pixels on 3; its one argument is the memory budget in bytes. It writes
// records of fixed size to the pipe: the size once the header is read, then either the
// decoded picture (its pixels at the start of the pixel file, the EXIF block and the
// colour profile right after them) or a refusal, whose message follows its record.
namespace helperprotocol {

inline constexpr int FileDescriptor = 0;
inline constexpr int ReplyDescriptor = 1;
inline constexpr int PixelsDescriptor = 3;
// A refusal's message is never longer.
inline constexpr uint32_t MaxTextBytes = 4096;

struct Record {
    enum class Kind : uint32_t { SizeKnown = 1, Decoded = 2, Refused = 3 };

    Kind kind = Kind::SizeKnown;
    int32_t width = 0; // SizeKnown, Decoded
    int32_t height = 0;
    uint32_t problem = 0; // Refused: a DecodeProblem
    uint32_t textBytes = 0; // Refused: the message's length
    uint64_t exifBytes = 0; // Decoded
    uint64_t profileBytes = 0;
    uint64_t peakBytes = 0; // Decoded, Refused: the helper's resident memory at its peak
};

} // namespace helperprotocol
