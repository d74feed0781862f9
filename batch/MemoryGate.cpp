#include "batch/MemoryGate.h"

void MemoryGate::Take(uint64_t bytes)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return taken_ == 0 || taken_ + bytes <= budget_; });
    taken_ += bytes;
}

void MemoryGate::Give(uint64_t bytes)
{
    {
        const std::lock_guard lock(mutex_);
        taken_ -= bytes;
    }
    changed_.notify_all();
}
