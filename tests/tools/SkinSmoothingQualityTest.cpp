#include "faces/FaceFinder.h"
#include "faces/FaceModel.h"
#include "faces/SkinRegion.h"
#include "support/SampleBlemishes.h"
#include "support/SamplePortrait.h"
#include "tools/AutoSmoothCommand.h"
#include "tools/PlaneFilters.h"
#include "tools/PolygonCoverage.h"
#include "tools/SkinMask.h"
#include "tools/WorkCopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

// The one-click smoothing at strength 50 on the sample portrait with a dozen made-up
// blemishes, measured four ways. A blemish's contrast is its disc's luma below a ring
// round it; what the blemish adds is that contrast beyond the clean portrait's, before
// and after both are smoothed alike.
namespace {

double Luma(uint32_t p)
{
    return 0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
}

double Channel(uint32_t p, int c) { return double((p >> (16 - 8 * c)) & 0xFF); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// How much darker the blemish's disc is than a ring round it, in luma.
double Contrast(const Surface& picture, const blemishes::Blemish& b)
{
    double disc = 0, ring = 0;
    int discCount = 0, ringCount = 0;
    for (int32_t y = b.y - b.radius - 6; y <= b.y + b.radius + 6; ++y) {
        for (int32_t x = b.x - b.radius - 6; x <= b.x + b.radius + 6; ++x) {
            const double d = std::hypot(x - b.x, y - b.y);
            if (d <= b.radius - 1) {
                disc += Luma(picture.At(x, y));
                ++discCount;
            } else if (d >= b.radius + 3 && d <= b.radius + 6) {
                ring += Luma(picture.At(x, y));
                ++ringCount;
            }
        }
    }
    return ring / ringCount - disc / discCount;
}

// The picture less a Gaussian blur of sigma 1, in luma.
Plane FineDetail(const Surface& picture)
{
    Plane luma(picture.width, picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            luma.Row(y)[x] = float(Luma(picture.At(x, y)));
        }
    }
    const Plane blurred = GaussianBlur(luma, 1.0f);
    for (size_t i = 0; i < luma.Values().size(); ++i) {
        luma.Values()[i] -= blurred.Values()[i];
    }
    return luma;
}

double StandardDeviation(const Plane& plane, const std::vector<size_t>& at)
{
    double sum = 0, squares = 0;
    for (size_t i : at) {
        sum += plane.Values()[i];
        squares += double(plane.Values()[i]) * plane.Values()[i];
    }
    const double mean = sum / double(at.size());
    return std::sqrt(squares / double(at.size()) - mean * mean);
}

bool NearBlemish(int32_t x, int32_t y)
{
    for (const blemishes::Blemish& b : blemishes::kOnSamplePortrait) {
        if (std::hypot(x - b.x, y - b.y) <= b.radius + 7) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(SkinSmoothingQualityTest, SamplePortraitWithBlemishesAtStrength50)
{
    const FaceModel::Loaded loaded = FaceModel::Load();
    ASSERT_TRUE(loaded.model) << loaded.problem;
    const auto clean = sampleportrait::Load();
    auto before = CopySurface(*clean);
    blemishes::Paint(*before, blemishes::kOnSamplePortrait);
    const std::vector<Face> faces = FaceFinder(loaded.model).Find(*before);
    ASSERT_EQ(faces.size(), 1u);
    auto after = CopySurface(*before);
    AutoSmoothCommand::SmoothFaces(*after, faces, 50);
    // The clean portrait smoothed the same way: what is left of a blemish is the
    // contrast the blemished picture has beyond it.
    auto cleanAfter = CopySurface(*clean);
    AutoSmoothCommand::SmoothFaces(*cleanAfter, faces, 50);

    // The face's mask at picture resolution (the sample's face needs no reduction).
    const SkinRegion region(faces[0]);
    const WorkCopy grid(*before, before->Bounds(), 1.0);
    const Plane shape = skinmask::Shape(region, grid);

    std::vector<double> drops;
    for (const blemishes::Blemish& b : blemishes::kOnSamplePortrait) {
        const double added = Contrast(*before, b) - Contrast(*clean, b);
        const double left = Contrast(*after, b) - Contrast(*cleanAfter, b);
        drops.push_back(1.0 - left / added);
    }
    // Skin away from the blemishes, well inside the mask.
    std::vector<size_t> skin;
    for (int32_t y = 0; y < before->height; ++y) {
        for (int32_t x = 0; x < before->width; ++x) {
            if (shape.At(x, y) >= 1.0f && !NearBlemish(x, y)) {
                skin.push_back(size_t(y) * size_t(before->width) + size_t(x));
            }
        }
    }
    ASSERT_GT(skin.size(), 500u);
    const double texture = StandardDeviation(FineDetail(*after), skin) / StandardDeviation(FineDetail(*before), skin);
    double colourShift = 0;
    for (int c = 0; c < 3; ++c) {
        double sumBefore = 0, sumAfter = 0;
        for (size_t i : skin) {
            sumBefore += Channel(before->pixels[i], c);
            sumAfter += Channel(after->pixels[i], c);
        }
        colourShift = std::max(colourShift, std::abs(sumAfter - sumBefore) / double(skin.size()));
    }
    // Outside the feathered shape (eyes, brows, lips, hair above the forehead,
    // background) nothing may change; nor, whatever the shape, inside the landmarks'
    // own outlines of the eyes and the lips, or outside the face's box.
    Plane features(before->width, before->height);
    for (LandmarkRange range : {landmarks::kRightEye, landmarks::kLeftEye, landmarks::kOuterLips}) {
        Polygon outline;
        for (int32_t i = range.first; i < range.end; ++i) {
            outline.push_back({faces[0].points[size_t(i)].x + 0.5f, faces[0].points[size_t(i)].y + 0.5f});
        }
        const Plane covered = PolygonCoverage(outline, before->width, before->height);
        for (size_t i = 0; i < covered.Values().size(); ++i) {
            features.Values()[i] += covered.Values()[i];
        }
    }
    const gfx::Rect faceArea = faces[0].box.Inflated(faces[0].box.width / 2);
    size_t changedOutside = 0;
    for (int32_t y = 0; y < before->height; ++y) {
        for (int32_t x = 0; x < before->width; ++x) {
            const bool outside = shape.At(x, y) == 0.0f || features.At(x, y) > 0.0f || !faceArea.Contains(x, y);
            changedOutside += outside && before->At(x, y) != after->At(x, y);
        }
    }

    struct Figure {
        const char* name;
        double value;
        double limit;
        bool atLeast;
    };
    const Figure figures[] = {
        {"median contrast drop of the blemishes", Median(drops), 0.70, true},
        {"fine texture kept", texture, 0.60, true},
        {"mean skin colour shift (levels)", colourShift, 2.0, false},
        {"pixels changed outside the mask", double(changedOutside), 0.0, false},
    };
    for (const Figure& f : figures) {
        std::printf("%s: %.3f\n", f.name, f.value);
        RecordProperty(f.name, std::to_string(f.value));
        if (f.atLeast) {
            EXPECT_GE(f.value, f.limit) << f.name;
        } else {
            EXPECT_LE(f.value, f.limit) << f.name;
        }
    }
}
