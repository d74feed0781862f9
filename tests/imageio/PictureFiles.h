#pragma once

#include "gfx/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// Files and pictures for the picture-file tests and benchmarks.
namespace picturefiles {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("miravo_imageio_" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Something like a photograph: smooth colour gradients with a little sensor noise, opaque.
inline gfx::Bitmap PhotoLike(int32_t width, int32_t height, uint32_t seed = 1)
{
    gfx::Bitmap picture(width, height);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    auto channel = [&](int value) { return uint32_t(std::clamp(value + noise(rng), 0, 255)); };
    for (int32_t y = 0; y < height; ++y) {
        gfx::Argb* row = picture.Scanline(y);
        for (int32_t x = 0; x < width; ++x) {
            const int r = 60 + 160 * x / width;
            const int g = 40 + 150 * y / height;
            const int b = 90 + 80 * (x + y) / (width + height);
            row[x] = gfx::MakeArgb(255, channel(r), channel(g), channel(b));
        }
    }
    return picture;
}

// The largest difference of any channel, alpha included, between two same-sized pictures.
inline int MaxChannelDifference(const gfx::Bitmap& a, const gfx::Bitmap& b)
{
    int largest = 0;
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            const gfx::Argb p = a.GetPixel(x, y);
            const gfx::Argb q = b.GetPixel(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                largest = std::max(largest, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
            }
        }
    }
    return largest;
}

// The JPEG file with an EXIF block holding only an orientation tag, put right after
// the start-of-image marker. bigEndian chooses the "MM" byte order.
inline std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, uint16_t orientation,
                                                bool bigEndian = false)
{
    auto u16 = [&](uint16_t v) {
        return bigEndian ? std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)} : std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)};
    };
    auto u32 = [&](uint32_t v) {
        auto hi = u16(uint16_t(v >> 16));
        auto lo = u16(uint16_t(v));
        return bigEndian ? std::vector<uint8_t>{hi[0], hi[1], lo[0], lo[1]} : std::vector<uint8_t>{lo[0], lo[1], hi[0], hi[1]};
    };
    std::vector<uint8_t> tiff = bigEndian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'};
    auto append = [&](const std::vector<uint8_t>& bytes) { tiff.insert(tiff.end(), bytes.begin(), bytes.end()); };
    append(u16(42));
    append(u32(8));           // first directory right after the header
    append(u16(1));           // one entry
    append(u16(0x0112));      // orientation
    append(u16(3));           // SHORT
    append(u32(1));           // one value
    append(u16(orientation)); // the value, left-aligned in the four-byte field
    append(u16(0));
    append(u32(0)); // no next directory

    std::vector<uint8_t> payload{'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    const size_t length = payload.size() + 2;
    std::vector<uint8_t> segment{0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
    segment.insert(segment.end(), payload.begin(), payload.end());

    std::vector<uint8_t> result(jpeg.begin(), jpeg.begin() + 2);
    result.insert(result.end(), segment.begin(), segment.end());
    result.insert(result.end(), jpeg.begin() + 2, jpeg.end());
    return result;
}

} // namespace picturefiles
