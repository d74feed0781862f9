#include "imageio/MappedFile.h"

#include <QFile>

#include <fcntl.h>
#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::MappedFile(const QString& path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        error_ = errno;
        return;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        size_ = size_t(status.st_size);
        void* data = size_ == 0 ? nullptr : ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, descriptor, 0);
        open_ = data != MAP_FAILED;
        error_ = open_ ? 0 : errno;
        data_ = open_ ? static_cast<const uint8_t*>(data) : nullptr;
        size_ = open_ ? size_ : 0;
    }
    ::close(descriptor);
}

MappedFile::~MappedFile()
{
    if (data_) {
        ::munmap(const_cast<uint8_t*>(data_), size_);
    }
}
