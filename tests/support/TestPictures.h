#pragma once

#include "engine/Surface.h"

#include <cstdint>
#include <memory>
#include <random>

// Pictures for tests: plain fills, random noise and comparisons.
namespace testpictures {

inline std::shared_ptr<Surface> Filled(int32_t width, int32_t height, uint32_t colour)
{
    auto s = CreateSurface(width, height);
    std::fill(s->pixels.get(), s->pixels.get() + size_t(width) * size_t(height), colour);
    return s;
}

// Random pixels; opaque unless withAlpha.
inline std::shared_ptr<Surface> Noise(int32_t width, int32_t height, uint32_t seed, bool withAlpha = false)
{
    auto s = CreateSurface(width, height);
    std::mt19937 rng(seed);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        const uint32_t v = rng();
        s->pixels[i] = withAlpha ? v : (v | 0xFF000000u);
    }
    return s;
}

// Skin-like texture: a light skin tone varying by up to 4 levels in each channel, all
// of one alpha (opaque by default).
inline std::shared_ptr<Surface> Skin(int32_t width, int32_t height, uint32_t seed, uint32_t alpha = 255)
{
    auto s = CreateSurface(width, height);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> noise(-4, 4);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        const int32_t r = 200 + noise(rng), g = 150 + noise(rng), b = 120 + noise(rng);
        s->pixels[i] = alpha << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
    }
    return s;
}

inline bool SamePixels(const Surface& a, const Surface& b)
{
    if (a.width != b.width || a.height != b.height) {
        return false;
    }
    return std::equal(a.pixels.get(), a.pixels.get() + size_t(a.width) * size_t(a.height), b.pixels.get());
}

} // namespace testpictures
