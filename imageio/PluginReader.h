#pragma once

#include "gfx/Bitmap.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The reader of the kinds the table hands to Qt's image plugins (GIF, TIFF, WebP). It
// lives with the decoder helper, the only program that loads those plugins; imageio
// sees it through this interface.
class PluginReader {
public:
    enum class Outcome { Read, Damaged, OutOfMemory };

    virtual ~PluginReader() = default;

    // Opens the file's bytes, which outlive the reading, as the kind ("TIFF"); Qt's own
    // allocations may take up to memoryLimit. False when no plugin reads them so.
    virtual bool Open(std::span<const uint8_t> file, std::string_view kind, uint64_t memoryLimit) = 0;
    // Decodes the picture into the reader's own image.
    virtual Outcome Read() = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // The picture's colour profile (ICC); empty when it has none.
    virtual std::vector<uint8_t> Profile() const = 0;
    // Writes the picture in our pixel layout into target, Width() x Height(). Throws
    // std::bad_alloc when memory is short.
    virtual void CopyInto(gfx::Bitmap& target) const = 0;

    // Qt's name of the format of a file of no kind we open ("XBM"), when a plugin reads
    // the file as that format; empty otherwise.
    virtual std::string FormatName(std::span<const uint8_t> file) = 0;
};
