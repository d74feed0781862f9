#pragma once

#include "gfx/PixelMemory.h"
#include "imageio/MemoryFile.h"

#include <cstdint>
#include <optional>
#include <span>

// A file's bytes, read into memory of our own: of this process alone, or a memory file
// that the decoder helper maps too. A mapping of the file itself would save the copy,
// but a file cut short while it is decoded (rewritten by a sync client, say) would then
// end the program with SIGBUS; a file changed after reading changes nothing here.
class FileContents {
public:
    enum class Storage { Private, Shared };

    // Reads the open file from where it stands (its start), up to the size seen when it
    // was opened: a file that shrinks meanwhile is read as far as it goes, and is then
    // simply cut off.
    FileContents(int descriptor, uint64_t expectedBytes, Storage storage);

    // False when the file could not be read; an empty file has no bytes.
    bool IsOpen() const { return open_; }
    // The errno value of the failure (ENOMEM when memory cannot hold the file).
    int Error() const { return error_; }
    std::span<const uint8_t> Bytes() const { return {bytes_, size_}; }
    // The memory file that holds the bytes, for Shared storage.
    const MemoryFile* Shared() const { return shared_ ? &*shared_ : nullptr; }

private:
    bool Allocate(uint64_t bytes, Storage storage);

    gfx::PixelBlock private_; // huge pages for a photo-sized file: quicker to fill
    std::optional<MemoryFile> shared_;
    MemoryFile::Mapping mapping_;
    uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
    bool open_ = false;
    int error_ = 0;
};
