#pragma once

#include "gfx/Bitmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace gfx {

// Reads a bitmap file as BmpReader does. A variant it does not know, a truncated file or
// an implausible size gives nothing.
std::optional<Bitmap> ReadBmpFile(const std::string& path);
std::optional<Bitmap> ReadBmp(std::span<const uint8_t> file);

// Writes a 32-bit top-down bitmap file with an alpha mask; false when the file cannot be written.
bool WriteBmpFile(const std::string& path, const Bitmap& bitmap);

} // namespace gfx
