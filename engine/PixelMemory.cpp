#include "engine/PixelMemory.h"

#include <cstdint>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr size_t HugePage = size_t(2) << 20;
constexpr size_t SmallBlock = size_t(256) << 10; // stays on the heap: a 2 MiB page would hold mostly nothing

} // namespace

PixelMemory::PixelMemory(size_t pixelCount)
{
    const size_t bytes = pixelCount * sizeof(gfx::Argb);
    if (bytes <= SmallBlock) {
        small_ = std::make_unique<gfx::Argb[]>(pixelCount); // value-initialised: transparent
        pixels_ = small_.get();
        return;
    }
    // One spare huge page, so that the pixels can start on a 2 MiB boundary.
    const size_t length = (bytes + HugePage - 1) / HugePage * HugePage;
    mappingSize_ = length + HugePage;
    mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) {
        mapping_ = nullptr;
        throw std::bad_alloc();
    }
    const uintptr_t start = (reinterpret_cast<uintptr_t>(mapping_) + HugePage - 1) / HugePage * HugePage;
    pixels_ = reinterpret_cast<gfx::Argb*>(start); // fresh anonymous memory reads as zero
#ifdef MADV_HUGEPAGE
    madvise(pixels_, length, MADV_HUGEPAGE); // only advice: where refused, the pages stay small
#endif
}

PixelMemory::~PixelMemory()
{
    if (mapping_) {
        munmap(mapping_, mappingSize_);
    }
}

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : small_(std::move(other.small_)),
      mapping_(std::exchange(other.mapping_, nullptr)),
      mappingSize_(std::exchange(other.mappingSize_, 0)),
      pixels_(std::exchange(other.pixels_, nullptr))
{
}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept
{
    // The other side frees what this one held.
    std::swap(small_, other.small_);
    std::swap(mapping_, other.mapping_);
    std::swap(mappingSize_, other.mappingSize_);
    std::swap(pixels_, other.pixels_);
    return *this;
}
