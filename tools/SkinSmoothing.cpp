#include "tools/SkinSmoothing.h"

#include "tools/PlaneFilters.h"

#include <algorithm>
#include <cmath>

namespace {

// The radius of each of the three box means that together average like a Gaussian.
int32_t RadiusFor(float faceWidth, double factor, int32_t strength)
{
    const double share = SkinSmoothing::kRadiusShare * (0.5 + strength / 100.0);
    return std::max(1, int32_t(std::lround(share * faceWidth / factor)));
}

int32_t WorkMargin(int32_t radius)
{
    return 3 * radius + int32_t(std::ceil(3 * SkinSmoothing::kFineSigma)) + 2;
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// 1 up to the blemish levels, 0 from the structure levels on, smooth in between.
float BlemishShare(float difference)
{
    const float t = std::clamp((std::abs(difference) - SkinSmoothing::kBlemishLevels) /
                                   (SkinSmoothing::kStructureLevels - SkinSmoothing::kBlemishLevels),
                               0.0f, 1.0f);
    return 1.0f - t * t * (3.0f - 2.0f * t);
}

} // namespace

double SkinSmoothing::FactorFor(float faceWidth) { return std::max(1.0, double(faceWidth) / kWorkFaceWidth); }

int32_t SkinSmoothing::MarginFor(float faceWidth)
{
    const double factor = FactorFor(faceWidth);
    return int32_t(std::ceil(WorkMargin(RadiusFor(faceWidth, factor, 100)) * factor)) + 1;
}

int32_t SkinSmoothing::FineMarginFor(float faceWidth)
{
    return int32_t(std::ceil((3 * kFineSigma + 2) * FactorFor(faceWidth))) + 1;
}

SkinSmoothing::SkinSmoothing(const WorkCopy& copy, const gfx::Rect& area, float faceWidth, int32_t strength)
    : area_(area.Intersected(copy.Area())), strength_(std::clamp(strength, 0, 100)),
      radius_(RadiusFor(faceWidth, copy.Factor(), strength_))
{
    base_ = copy.Window(copy.PixelsCovering(area_).Inflated(WorkMargin(radius_)));
    for (int32_t c = 0; c < 3; ++c) {
        base_->Channel(c) = GaussianBlur(base_->Channel(c), kFineSigma);
    }
    for (int32_t x = area_.x; x < area_.Right(); ++x) {
        columnTaps_.push_back(ColumnTap(x));
    }
}

SkinSmoothing::Tap SkinSmoothing::ColumnTap(int32_t x) const
{
    const double u = std::clamp(base_->ColumnOf(x), 0.0, double(base_->Width() - 1));
    const int32_t index = std::clamp(int32_t(u), 0, std::max(base_->Width() - 2, 0));
    return {index, float(u - index)};
}

SkinSmoothing::Tap SkinSmoothing::RowTap(int32_t y) const
{
    const double v = std::clamp(base_->RowOf(y), 0.0, double(base_->Height() - 1));
    const int32_t index = std::clamp(int32_t(v), 0, std::max(base_->Height() - 2, 0));
    return {index, float(v - index)};
}

void SkinSmoothing::SetMask(const Plane& mask)
{
    mask_ = mask;
    const float amount = std::min(1.0f, float(strength_) / kFullStrength);
    const Plane maskSums = TripleBoxMean(mask, radius_);
    std::array<Plane, 3> sums;
    for (int32_t c = 0; c < 3; ++c) {
        const Plane& base = base_->Channel(c);
        Plane masked(base.Width(), base.Height());
        for (size_t i = 0; i < masked.Values().size(); ++i) {
            masked.Values()[i] = mask.Values()[i] * base.Values()[i];
        }
        sums[size_t(c)] = TripleBoxMean(masked, radius_);
        maskedChange_[size_t(c)] = Plane(base.Width(), base.Height());
    }
    for (size_t i = 0; i < mask.Values().size(); ++i) {
        const float weight = maskSums.Values()[i];
        if (mask.Values()[i] == 0.0f || weight <= 0.0f) {
            continue;
        }
        float difference[3];
        for (size_t c = 0; c < 3; ++c) {
            difference[c] = base_->Channel(int32_t(c)).Values()[i] - sums[c].Values()[i] / weight;
        }
        // One share for the three channels, from the luma: a crease kept in part keeps
        // its own colour instead of turning orange where one channel differs more.
        const float share = BlemishShare(0.299f * difference[0] + 0.587f * difference[1] + 0.114f * difference[2]);
        for (size_t c = 0; c < 3; ++c) {
            maskedChange_[c].Values()[i] = mask.Values()[i] * amount * share * difference[c];
        }
    }
}

void SkinSmoothing::SmoothRow(const Surface& picture, int32_t y, uint32_t* out) const
{
    const uint32_t* in = picture.Row(y) + area_.x;
    const int32_t width = mask_.Width();
    if (width == 0 || mask_.Height() == 0) {
        std::copy(in, in + area_.width, out);
        return;
    }
    // Down first, into one row per plane; then across for each picture pixel.
    const Tap down = RowTap(y);
    const int32_t below = std::min(down.index + 1, mask_.Height() - 1);
    const Plane* planes[4] = {&mask_, &maskedChange_[0], &maskedChange_[1], &maskedChange_[2]};
    std::array<std::vector<float>, 4> rows;
    for (size_t p = 0; p < 4; ++p) {
        rows[p].resize(size_t(width));
        const float* top = planes[p]->Row(down.index);
        const float* bottom = planes[p]->Row(below);
        for (int32_t i = 0; i < width; ++i) {
            rows[p][size_t(i)] = Lerp(top[i], bottom[i], down.fraction);
        }
    }
    for (int32_t j = 0; j < area_.width; ++j) {
        const Tap across = columnTaps_[size_t(j)];
        const size_t left = size_t(across.index), right = size_t(std::min(across.index + 1, width - 1));
        if (rows[0][left] == 0.0f && rows[0][right] == 0.0f) {
            out[j] = in[j];
            continue;
        }
        const uint32_t pixel = in[j];
        uint32_t result = pixel & 0xFF000000u;
        for (int32_t c = 0; c < 3; ++c) {
            const float change = Lerp(rows[size_t(1 + c)][left], rows[size_t(1 + c)][right], across.fraction);
            const int32_t shift = 16 - 8 * c;
            const float value = float((pixel >> shift) & 0xFF) - change;
            result |= uint32_t(std::clamp(int32_t(std::lround(value)), 0, 255)) << shift;
        }
        out[j] = result;
    }
}
