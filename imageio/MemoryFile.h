#pragma once

#include <cstdint>
#include <optional>

// An anonymous file in memory (a memfd) that the program and its decoder helper both
// map: a picture file's bytes on their way to the helper, its pixels on their way back.
class MemoryFile {
public:
    // A shared mapping of a memory file's first bytes, unmapped when it ends.
    class Mapping {
    public:
        Mapping() = default;
        Mapping(void* data, uint64_t bytes) : data_(data), bytes_(bytes) {}
        ~Mapping();
        Mapping(Mapping&& other) noexcept : data_(other.data_), bytes_(other.bytes_) { other.data_ = nullptr; }
        Mapping& operator=(Mapping&& other) noexcept;
        Mapping(const Mapping&) = delete;
        Mapping& operator=(const Mapping&) = delete;

        void* Data() const { return data_; }
        uint64_t Bytes() const { return bytes_; }
        // Hands the mapping to the caller, who unmaps it.
        void* Release();

    private:
        void* data_ = nullptr;
        uint64_t bytes_ = 0;
    };

    enum class Access { ReadOnly, ReadWrite };

    // A new empty file; nothing when the system refuses one.
    static std::optional<MemoryFile> Create(const char* name);
    // Takes over an open descriptor of a memory file (one the helper inherited).
    explicit MemoryFile(int descriptor) : descriptor_(descriptor) {}
    ~MemoryFile();
    MemoryFile(MemoryFile&& other) noexcept : descriptor_(other.descriptor_) { other.descriptor_ = -1; }
    MemoryFile& operator=(MemoryFile&& other) noexcept;
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int Descriptor() const { return descriptor_; }
    bool Resize(uint64_t bytes) const;
    std::optional<uint64_t> Size() const;
    // Maps the first bytes; an empty mapping when that fails. With populate every page
    // is taken at once, quicker than one fault per page when all will be written.
    Mapping Map(uint64_t bytes, Access access, bool populate = false) const;

private:
    int descriptor_ = -1;
};
