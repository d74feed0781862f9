#pragma once

#include <QString>

#include <cstdint>
#include <span>

// A file's bytes mapped read-only into memory, so that every reader sees the whole file
// and its true size without a copy.
class MappedFile {
public:
    explicit MappedFile(const QString& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the file could not be opened or mapped; an empty file maps to no bytes.
    bool IsOpen() const { return open_; }
    // The errno value of the failure.
    int Error() const { return error_; }
    std::span<const uint8_t> Bytes() const { return {data_, size_}; }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool open_ = false;
    int error_ = 0;
};
