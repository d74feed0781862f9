#include "imageio/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

FileContents::FileContents(const std::filesystem::path& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        error_ = errno;
        return;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        error_ = errno != 0 ? errno : EINVAL;
        ::close(descriptor);
        return;
    }
    const size_t expected = size_t(status.st_size);
    try {
        data_ = gfx::PixelMemory::Allocate((expected + sizeof(gfx::Argb) - 1) / sizeof(gfx::Argb),
                                           gfx::PixelMemory::Contents::Undefined);
    } catch (const std::bad_alloc&) {
        error_ = ENOMEM;
        ::close(descriptor);
        return;
    }
    // Up to the size seen when opening: a file that shrinks meanwhile is read as far as
    // it goes, and is then simply cut off.
    auto* bytes = reinterpret_cast<uint8_t*>(data_.get());
    while (size_ < expected) {
        const ssize_t got = ::read(descriptor, bytes + size_, expected - size_);
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
    open_ = error_ == 0;
    ::close(descriptor);
}
