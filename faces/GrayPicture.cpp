#include "faces/GrayPicture.h"

#include "gfx/AreaSpans.h"
#include "gfx/Halve.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows of a picture halved a number of times, made one at a time from the rows below
// them. Each level drops an odd last row and column, so a level pixel always stands
// for exactly 2^level x 2^level picture pixels.
class HalvedRows {
public:
    HalvedRows(const Surface& picture, int32_t levels) : picture_(picture)
    {
        int32_t width = picture.width, height = picture.height;
        for (int32_t level = 1; level <= levels; ++level) {
            width /= 2;
            height /= 2;
            buffers_.push_back({std::vector<uint32_t>(size_t(width)), std::vector<uint32_t>(size_t(width))});
        }
        width_ = width;
        height_ = height;
    }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Row y of the last level; valid until the next call.
    const uint32_t* Row(int32_t y) { return RowOf(int32_t(buffers_.size()), y, 0); }

private:
    struct Pair {
        std::vector<uint32_t> top;
        std::vector<uint32_t> bottom;
    };

    const uint32_t* RowOf(int32_t level, int32_t y, int slot)
    {
        if (level == 0) {
            return picture_.Row(y);
        }
        Pair& pair = buffers_[size_t(level - 1)];
        std::vector<uint32_t>& out = slot == 0 ? pair.top : pair.bottom;
        // The lower level's two rows go to its own buffers, so they survive each other.
        const uint32_t* top = RowOf(level - 1, 2 * y, 0);
        const uint32_t* bottom = RowOf(level - 1, 2 * y + 1, 1);
        gfx::HalveRow(top, bottom, out.data(), out.size());
        return out.data();
    }

    const Surface& picture_;
    std::vector<Pair> buffers_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

float Luma(uint32_t pixel)
{
    return 0.299f * float((pixel >> 16) & 0xFF) + 0.587f * float((pixel >> 8) & 0xFF) + 0.114f * float(pixel & 0xFF);
}

} // namespace

GrayPicture::GrayPicture(int32_t width, int32_t height, double scale)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), scale_(scale),
      pixels_(size_t(width_) * size_t(height_), 0)
{
}

gfx::PointF GrayPicture::ToPicture(gfx::PointF p) const
{
    return {float((p.x + 0.5) * scale_ - 0.5), float((p.y + 0.5) * scale_ - 0.5)};
}

GrayPicture GrayPicture::Reduced(const Surface& picture, int32_t longSide, std::stop_token stop)
{
    longSide = std::max(longSide, 1);
    int32_t levels = 0;
    while (std::max(picture.width, picture.height) >> levels > 2 * longSide) {
        ++levels;
    }
    HalvedRows source(picture, levels);
    if (source.Width() == 0 || source.Height() == 0) {
        return {};
    }
    const int32_t sourceLong = std::max(source.Width(), source.Height());
    const double factor = sourceLong > longSide ? double(sourceLong) / longSide : 1.0;
    const int32_t width = std::max(1, int32_t(source.Width() / factor));
    const int32_t height = std::max(1, int32_t(source.Height() / factor));
    GrayPicture gray(width, height, std::ldexp(factor, levels));
    const std::vector<gfx::AreaSpan> columns = gfx::AreaSpans(width, factor, source.Width());
    const std::vector<gfx::AreaSpan> rows = gfx::AreaSpans(height, factor, source.Height());
    std::vector<float> luma(static_cast<size_t>(source.Width()));
    std::vector<float> sums(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        if (y % 64 == 0 && stop.stop_requested()) {
            return {};
        }
        std::fill(sums.begin(), sums.end(), 0.0f);
        const gfx::AreaSpan& down = rows[size_t(y)];
        for (size_t r = 0; r < down.weights.size(); ++r) {
            const uint32_t* row = source.Row(down.first + int32_t(r));
            for (int32_t x = 0; x < source.Width(); ++x) {
                luma[size_t(x)] = Luma(row[x]);
            }
            for (int32_t x = 0; x < width; ++x) {
                const gfx::AreaSpan& span = columns[size_t(x)];
                float sum = 0;
                for (size_t c = 0; c < span.weights.size(); ++c) {
                    sum += span.weights[c] * luma[size_t(span.first) + c];
                }
                sums[size_t(x)] += down.weights[r] * sum;
            }
        }
        uint8_t* out = gray.Row(y);
        for (int32_t x = 0; x < width; ++x) {
            out[x] = uint8_t(std::clamp(std::lround(sums[size_t(x)]), 0L, 255L));
        }
    }
    return gray;
}
