#pragma once

#include <cstdint>
#include <functional>
#include <span>

// The decoder helper's work, as helperprotocol describes it: decodes the file it is
// handed with every reader, into the pixel memory file, and tells the program how it
// went. beforeDecoding sees the file's bytes first (a test build fails on purpose there).
// Ends the process.
[[noreturn]] void RunDecoderHelper(int argc, char** argv,
                                   const std::function<void(std::span<const uint8_t> file)>& beforeDecoding = {});
