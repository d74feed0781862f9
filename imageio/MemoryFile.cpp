#include "imageio/MemoryFile.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

MemoryFile::Mapping::~Mapping()
{
    if (data_) {
        ::munmap(data_, bytes_);
    }
}

MemoryFile::Mapping& MemoryFile::Mapping::operator=(Mapping&& other) noexcept
{
    std::swap(data_, other.data_);
    std::swap(bytes_, other.bytes_);
    return *this;
}

void* MemoryFile::Mapping::Release() { return std::exchange(data_, nullptr); }

std::optional<MemoryFile> MemoryFile::Create(const char* name)
{
    const int descriptor = ::memfd_create(name, MFD_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    return MemoryFile(descriptor);
}

MemoryFile::~MemoryFile()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

MemoryFile& MemoryFile::operator=(MemoryFile&& other) noexcept
{
    std::swap(descriptor_, other.descriptor_);
    return *this;
}

bool MemoryFile::Resize(uint64_t bytes) const { return ::ftruncate(descriptor_, off_t(bytes)) == 0; }

std::optional<uint64_t> MemoryFile::Size() const
{
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) {
        return std::nullopt;
    }
    return uint64_t(status.st_size);
}

MemoryFile::Mapping MemoryFile::Map(uint64_t bytes, Access access, bool populate) const
{
    if (bytes == 0) {
        return {};
    }
    const int protection = access == Access::ReadWrite ? PROT_READ | PROT_WRITE : PROT_READ;
    void* data = ::mmap(nullptr, bytes, protection, MAP_SHARED | (populate ? MAP_POPULATE : 0), descriptor_, 0);
    return data == MAP_FAILED ? Mapping() : Mapping(data, bytes);
}
