#pragma once

#include <cstdio>
#include <string>

// Writes a file under a temporary name in the target's folder and renames it over the
// target only once everything has reached the disk, so a failed or interrupted save
// never destroys a file that was there before.
class ReplacingFile {
public:
    // targetPath is in the file system's encoding.
    explicit ReplacingFile(std::string targetPath);
    // Removes the temporary file unless Commit succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file; false with Error() set when the target is a folder or
    // a read-only file, or the folder cannot be written.
    bool Open();
    std::FILE* Stream() const { return stream_; }
    // Flushes and syncs the data, gives the file the target's permissions and renames
    // it over the target.
    bool Commit();
    // The errno value of the first failure.
    int Error() const { return error_; }

private:
    bool Fail();
    void ResolveSymbolicLink();
    unsigned PermissionsForTarget() const;

    std::string target_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    int error_ = 0;
    bool committed_ = false;
};
