#pragma once

#include "gfx/Bitmap.h"

#include <optional>
#include <string>

namespace gfx {

// Reads an uncompressed Windows bitmap file (1, 4, 8, 24 or 32 bits per pixel, bottom-up
// or top-down, plain or with channel masks). Anything else, a truncated file or an
// implausible size gives nothing.
std::optional<Bitmap> ReadBmpFile(const std::string& path);

// Writes a 32-bit top-down bitmap file with an alpha mask; false when the file cannot be written.
bool WriteBmpFile(const std::string& path, const Bitmap& bitmap);

} // namespace gfx
