#pragma once

#include "imageio/DecodeResult.h"
#include "imageio/MemoryBudget.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>

class MemoryFile;

// Decodes a picture file in a short-lived helper process of ours (miravo-decoder), so
// that a decoder that crashes, aborts or hangs on a file ends the helper, not the
// program: the user is told the picture cannot be opened, and nothing else changes. The
// file's bytes go to the helper in a memory file, and the pixels come back in another
// that both processes map, so they are never copied through a pipe. The helper applies
// the same memory budget and the same refusals as a decoder in this process.
class DecoderHelper {
public:
    // No photo takes this long to decode; a file that does is refused.
    static constexpr std::chrono::milliseconds DefaultTimeLimit{30'000};
    // How often the waiting callback runs while the helper works.
    static constexpr std::chrono::milliseconds WaitingInterval{20};

    DecoderHelper(MemoryBudget budget, std::filesystem::path program);

    DecodeResult Decode(const MemoryFile& file) const;

    // Called with the picture's size once the helper has read the header and accepted it.
    void OnSizeKnown(std::function<void(int32_t width, int32_t height)> sizeKnown)
    {
        sizeKnown_ = std::move(sizeKnown);
    }
    // Called every WaitingInterval or so while the helper works (the windows repaint).
    void OnWaiting(std::function<void()> waiting) { waiting_ = std::move(waiting); }
    void SetTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }

private:
    struct Reply;

    DecodeResult Collect(int pid, int replies, const MemoryFile& pixels) const;
    static void Reap(int pid, std::chrono::steady_clock::time_point deadline, Reply& reply);
    DecodeResult Result(const Reply& reply, const MemoryFile& pixels) const;

    MemoryBudget budget_;
    std::filesystem::path program_;
    std::function<void(int32_t, int32_t)> sizeKnown_;
    std::function<void()> waiting_;
    std::chrono::milliseconds timeLimit_ = DefaultTimeLimit;
};
