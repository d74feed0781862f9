#pragma once

#include "engine/Surface.h"

#include <png.h>

#include <memory>
#include <stdexcept>
#include <string>

// The sample portrait (samples/portrait.png: 512 x 512, one face about 90 pixels wide)
// and other PNG files as surfaces, read with libpng alone so that tests of the pure
// folders need no Qt.
namespace sampleportrait {

inline std::shared_ptr<Surface> ReadPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        throw std::runtime_error("cannot read " + path);
    }
    image.format = PNG_FORMAT_BGRA; // the bytes of our 0xAARRGGBB words in memory
    auto surface = CreateSurface(int32_t(image.width), int32_t(image.height));
    if (!png_image_finish_read(&image, nullptr, surface->pixels.get(), surface->stride, nullptr)) {
        png_image_free(&image);
        throw std::runtime_error("cannot decode " + path);
    }
    return surface;
}

inline std::shared_ptr<Surface> Load() { return ReadPng(std::string(MIRAVO_SAMPLES_DIR) + "/portrait.png"); }

} // namespace sampleportrait
