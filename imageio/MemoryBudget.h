#pragma once

#include <cstdint>

// Decides, from a picture's header alone, whether the program can hold the picture
// before any pixel memory is taken for it.
class MemoryBudget {
public:
    // Editing keeps several full copies of the picture alive at once: the opened image,
    // the picture being edited and the view's picture-sized back buffer.
    static constexpr uint64_t CopiesToEdit = 3;

    explicit MemoryBudget(uint64_t availableBytes) : availableBytes_(availableBytes) {}
    // What this process may still take: the system's available memory, lowered to
    // the control group's limit when the program runs inside a container.
    static MemoryBudget FromSystem();

    uint64_t AvailableBytes() const { return availableBytes_; }
    // False for sizes whose rows or pixel count do not fit our 32-bit geometry.
    bool CanHold(int64_t width, int64_t height) const;

private:
    uint64_t availableBytes_;
};
