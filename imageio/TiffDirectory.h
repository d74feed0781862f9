#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The first image directory of a TIFF file, classic or BigTIFF, in either byte order:
// what the checks of a file read through Qt's plugin need before the plugin decodes
// anything.
class TiffDirectory {
public:
    // A strip or a tile of coded data.
    struct Piece {
        uint64_t offset = 0;
        uint64_t bytes = 0;
    };

    // Nothing when the header, the directory or a value stored outside its entry does not
    // lie inside the file.
    static std::optional<TiffDirectory> Read(std::span<const uint8_t> file);

    uint64_t Width() const { return width_; }
    uint64_t Height() const { return height_; }
    uint64_t SamplesPerPixel() const { return samplesPerPixel_; }
    uint64_t BitsPerSample() const { return bitsPerSample_; }
    uint64_t Compression() const { return compression_; }
    // The strips, or the tiles of a tiled file; empty when the directory names neither
    // with as many byte counts as offsets.
    const std::vector<Piece>& Pieces() const { return pieces_; }

private:
    uint64_t width_ = 0;
    uint64_t height_ = 0;
    uint64_t samplesPerPixel_ = 1;
    uint64_t bitsPerSample_ = 1;
    uint64_t compression_ = 1;
    std::vector<Piece> pieces_;
};
