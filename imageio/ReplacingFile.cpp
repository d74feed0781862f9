#include "imageio/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

ReplacingFile::ReplacingFile(std::string targetPath) : target_(std::move(targetPath)) {}

ReplacingFile::~ReplacingFile()
{
    if (stream_) {
        std::fclose(stream_);
    }
    if (!committed_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

bool ReplacingFile::Fail()
{
    if (error_ == 0) {
        error_ = errno != 0 ? errno : EIO;
    }
    return false;
}

void ReplacingFile::ResolveSymbolicLink()
{
    // Saving over a link replaces the file it points to, not the link.
    struct stat status {};
    if (::lstat(target_.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (char* resolved = ::realpath(target_.c_str(), nullptr)) {
            target_ = resolved;
            std::free(resolved);
        }
    }
}

bool ReplacingFile::Open()
{
    ResolveSymbolicLink();
    struct stat status {};
    if (::stat(target_.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            errno = EISDIR;
            return Fail();
        }
        // The rename would replace a file the user made read-only; respect that instead.
        if (::access(target_.c_str(), W_OK) != 0) {
            return Fail();
        }
    } else if (errno == ENAMETOOLONG) {
        return Fail(); // found now rather than by the rename after writing
    }
    // A name of its own length: one made from the target's would be too long whenever
    // the target's name is near the file system's limit.
    const size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    temporary_ = folder + ".miravo-save-XXXXXX";
    const int descriptor = ::mkstemp(temporary_.data());
    if (descriptor < 0) {
        temporary_.clear();
        return Fail();
    }
    stream_ = ::fdopen(descriptor, "wb");
    if (!stream_) {
        ::close(descriptor);
        return Fail();
    }
    return true;
}

unsigned ReplacingFile::PermissionsForTarget() const
{
    struct stat status {};
    if (::stat(target_.c_str(), &status) == 0) {
        return status.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool ReplacingFile::Commit()
{
    if (!stream_) {
        return Fail();
    }
    std::FILE* stream = std::exchange(stream_, nullptr);
    if (::fchmod(::fileno(stream), PermissionsForTarget()) != 0) {
        // Some file systems (FAT on a memory stick) keep no permissions; the save goes on.
    }
    const bool written = std::fflush(stream) == 0 && !std::ferror(stream) && ::fsync(::fileno(stream)) == 0;
    if (!written) {
        Fail();
        std::fclose(stream);
        return false;
    }
    if (std::fclose(stream) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return Fail();
    }
    committed_ = true;
    return true;
}
