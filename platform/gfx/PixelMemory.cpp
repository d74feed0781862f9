#include "gfx/PixelMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace gfx {

namespace {

constexpr size_t HugePage = size_t(2) << 20;
// Below this a picture is no picture but a patch or a skin image: heap blocks are faster.
constexpr size_t MappedFrom = 4 * HugePage;

size_t RoundUp(size_t bytes, size_t unit) { return (bytes + unit - 1) / unit * unit; }

// Maps one huge page more than needed and gives back the unaligned head and tail.
Argb* MapAligned(size_t bytes)
{
    const size_t mapped = bytes + HugePage;
    void* block = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<uintptr_t>(block);
    const uintptr_t aligned = RoundUp(start, HugePage);
    if (aligned > start) {
        ::munmap(block, aligned - start);
    }
    const uintptr_t end = aligned + bytes;
    if (start + mapped > end) {
        ::munmap(reinterpret_cast<void*>(end), start + mapped - end);
    }
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE); // only advice: ignored where unsupported
    return reinterpret_cast<Argb*>(aligned);
}

} // namespace

PixelBlock PixelMemory::Allocate(size_t count, Contents contents)
{
    if (count > SIZE_MAX / sizeof(Argb) - HugePage) {
        throw std::bad_alloc();
    }
    const size_t bytes = RoundUp(count * sizeof(Argb), HugePage);
    if (bytes >= MappedFrom) {
        return PixelBlock(MapAligned(bytes), PixelMemory(bytes));
    }
    if (contents == Contents::TransparentBlack) {
        return PixelBlock(new Argb[count](), PixelMemory());
    }
    return PixelBlock(new Argb[count], PixelMemory());
}

PixelBlock PixelMemory::AdoptMapping(Argb* pixels, size_t mappedBytes)
{
    return PixelBlock(pixels, PixelMemory(mappedBytes));
}

void PixelMemory::operator()(Argb* pixels) const
{
    if (mappedBytes_ != 0) {
        ::munmap(pixels, mappedBytes_);
    } else {
        delete[] pixels;
    }
}

} // namespace gfx
