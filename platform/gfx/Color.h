#pragma once

#include <cstdint>

namespace gfx {

// A pixel as a little-endian 32-bit word 0xAARRGGBB: in memory the bytes are B, G, R, A.
// Colours are never premultiplied.
using Argb = uint32_t;

constexpr Argb MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr uint32_t AlphaOf(Argb c) { return c >> 24; }
constexpr uint32_t RedOf(Argb c) { return (c >> 16) & 0xFF; }
constexpr uint32_t GreenOf(Argb c) { return (c >> 8) & 0xFF; }
constexpr uint32_t BlueOf(Argb c) { return c & 0xFF; }

namespace colors {
constexpr Argb Black = 0xFF000000;
constexpr Argb White = 0xFFFFFFFF;
constexpr Argb Red = 0xFFFF0000;
constexpr Argb Transparent = 0x00000000;
} // namespace colors

} // namespace gfx
