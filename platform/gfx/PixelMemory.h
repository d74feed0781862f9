#pragma once

#include "gfx/Color.h"

#include <cstddef>
#include <memory>

namespace gfx {

// Owned pixel storage. Picture-sized blocks come straight from the kernel, aligned to
// and advised for transparent huge pages: they are zero already, and their first touch
// costs one fault per 2 MB instead of one per 4 KB page, which dominated opening a
// large photo. Small blocks come from the heap.
class PixelMemory {
public:
    enum class Contents { TransparentBlack, Undefined };

    // count pixels; throws std::bad_alloc when memory is short.
    static std::unique_ptr<Argb[], PixelMemory> Allocate(size_t count, Contents contents);
    // Takes over pixels mapped elsewhere (another process's pixels in shared memory):
    // the block unmaps the mapping's bytes when it ends.
    static std::unique_ptr<Argb[], PixelMemory> AdoptMapping(Argb* pixels, size_t mappedBytes);

    PixelMemory() = default;
    // The deleter: returns the block to where it came from.
    void operator()(Argb* pixels) const;

private:
    explicit PixelMemory(size_t mappedBytes) : mappedBytes_(mappedBytes) {}

    size_t mappedBytes_ = 0; // 0 for a heap block
};

using PixelBlock = std::unique_ptr<Argb[], PixelMemory>;

} // namespace gfx
