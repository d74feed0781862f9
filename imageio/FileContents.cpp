#include "imageio/FileContents.h"

#include <unistd.h>

#include <cerrno>
#include <new>

FileContents::FileContents(int descriptor, uint64_t expectedBytes, Storage storage)
{
    if (!Allocate(expectedBytes, storage)) {
        error_ = ENOMEM;
        return;
    }
    while (size_ < expectedBytes) {
        const ssize_t got = ::read(descriptor, bytes_ + size_, size_t(expectedBytes - size_));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error_ = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        size_ += size_t(got);
    }
    // The helper takes the memory file's size for the file's.
    if (shared_ && size_ < expectedBytes && !shared_->Resize(size_)) {
        error_ = errno;
    }
    open_ = error_ == 0;
}

bool FileContents::Allocate(uint64_t bytes, Storage storage)
{
    if (bytes == 0) {
        return true;
    }
    if (storage == Storage::Shared) {
        shared_ = MemoryFile::Create("miravo-picture-file");
        if (shared_ && shared_->Resize(bytes)) {
            mapping_ = shared_->Map(bytes, MemoryFile::Access::ReadWrite);
        }
        bytes_ = static_cast<uint8_t*>(mapping_.Data());
        return bytes_ != nullptr;
    }
    try {
        private_ = gfx::PixelMemory::Allocate((bytes + sizeof(gfx::Argb) - 1) / sizeof(gfx::Argb),
                                              gfx::PixelMemory::Contents::Undefined);
    } catch (const std::bad_alloc&) {
        return false;
    }
    bytes_ = reinterpret_cast<uint8_t*>(private_.get());
    return true;
}
