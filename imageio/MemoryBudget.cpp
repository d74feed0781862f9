#include "imageio/MemoryBudget.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

namespace {

std::optional<uint64_t> MemAvailableFromProc()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t kilobytes = 0;
    std::string unit;
    while (meminfo >> key >> kilobytes >> unit) {
        if (key == "MemAvailable:") {
            return kilobytes * 1024;
        }
    }
    return std::nullopt;
}

std::optional<uint64_t> ReadNumber(const char* path)
{
    std::ifstream file(path);
    uint64_t value = 0;
    if (file >> value) {
        return value;
    }
    return std::nullopt; // missing, or "max"
}

std::optional<uint64_t> ControlGroupHeadroom()
{
    const auto limit = ReadNumber("/sys/fs/cgroup/memory.max");
    const auto used = ReadNumber("/sys/fs/cgroup/memory.current");
    if (!limit || !used) {
        return std::nullopt;
    }
    return *limit > *used ? *limit - *used : 0;
}

uint64_t FreePagesBytes()
{
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
}

} // namespace

MemoryBudget MemoryBudget::FromSystem()
{
    uint64_t available = MemAvailableFromProc().value_or(FreePagesBytes());
    if (const auto headroom = ControlGroupHeadroom()) {
        available = std::min(available, *headroom);
    }
    return MemoryBudget(available);
}

bool MemoryBudget::CanHold(int64_t width, int64_t height) const
{
    // A row is width * 4 bytes in a 32-bit stride.
    constexpr int64_t MaxSide = std::numeric_limits<int32_t>::max() / 4;
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) {
        return false;
    }
    const uint64_t pictureBytes = uint64_t(width) * uint64_t(height) * 4;
    return pictureBytes <= availableBytes_ / CopiesToEdit;
}
