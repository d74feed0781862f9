#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

// Lets pictures be worked on at once only while the memory they take together stays
// within a budget. One picture alone always passes, however large: whether it fits at
// all is the decoder's to say.
class MemoryGate {
public:
    explicit MemoryGate(uint64_t budgetBytes) : budget_(budgetBytes) {}

    // Waits until the bytes fit beside those already taken, then takes them.
    void Take(uint64_t bytes);
    void Give(uint64_t bytes);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t budget_;
    uint64_t taken_ = 0;
};
