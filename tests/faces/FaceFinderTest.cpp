#include "faces/FaceFinder.h"
#include "faces/FaceModel.h"
#include "support/SamplePortrait.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const FaceModel::Loaded& Model()
{
    static const FaceModel::Loaded loaded = FaceModel::Load();
    return loaded;
}

gfx::Rect BoundsOf(const Face& face, LandmarkRange range)
{
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (int32_t i = range.first; i < range.end; ++i) {
        left = std::min(left, face.points[size_t(i)].x);
        right = std::max(right, face.points[size_t(i)].x);
        top = std::min(top, face.points[size_t(i)].y);
        bottom = std::max(bottom, face.points[size_t(i)].y);
    }
    const auto x = int32_t(std::floor(left)), y = int32_t(std::floor(top));
    return {x, y, int32_t(std::ceil(right)) - x + 1, int32_t(std::ceil(bottom)) - y + 1};
}

// A copy of the picture enlarged by a whole factor, each pixel repeated.
std::shared_ptr<Surface> Enlarged(const Surface& picture, int32_t factor)
{
    auto big = CreateSurface(picture.width * factor, picture.height * factor);
    for (int32_t y = 0; y < big->height; ++y) {
        for (int32_t x = 0; x < big->width; ++x) {
            big->Row(y)[x] = picture.At(x / factor, y / factor);
        }
    }
    return big;
}

std::shared_ptr<Surface> Crop(const Surface& picture, const gfx::Rect& area)
{
    auto crop = CreateSurface(area.width, area.height);
    CopyRegion(picture, area.x, area.y, *crop);
    return crop;
}

// Columns x rows copies of the sample's face, each with a little of its hair and neck.
std::shared_ptr<Surface> Group(int32_t columns, int32_t rows)
{
    const auto face = Crop(*sampleportrait::Load(), {155, 55, 140, 150});
    auto group = CreateSurface(columns * face->width, rows * face->height);
    for (int32_t y = 0; y < group->height; ++y) {
        for (int32_t x = 0; x < group->width; ++x) {
            group->Row(y)[x] = face->At(x % face->width, y % face->height);
        }
    }
    return group;
}

// A drawn smiley: a yellow disc with two black eyes and a black mouth, on white.
std::shared_ptr<Surface> Cartoon()
{
    auto picture = testpictures::Filled(400, 400, 0xFFFFFFFFu);
    for (int32_t y = 0; y < 400; ++y) {
        for (int32_t x = 0; x < 400; ++x) {
            const double d = std::hypot(x - 200, y - 200);
            const bool eye = std::hypot(x - 160, y - 160) < 15 || std::hypot(x - 240, y - 160) < 15;
            const bool mouth = y > 230 && d > 90 && d < 105;
            if (d < 150) {
                picture->Row(y)[x] = eye || mouth ? 0xFF000000u : 0xFFFFD020u;
            }
        }
    }
    return picture;
}

// The face seen turned far to one side, as the frontal detector sees it: squeezed to
// two fifths of its width.
std::shared_ptr<Surface> Squeezed(const Surface& picture)
{
    auto squeezed = CreateSurface(picture.width * 2 / 5, picture.height);
    for (int32_t y = 0; y < squeezed->height; ++y) {
        for (int32_t x = 0; x < squeezed->width; ++x) {
            squeezed->Row(y)[x] = picture.At(x * 5 / 2, y);
        }
    }
    return squeezed;
}

std::shared_ptr<Surface> TurnedQuarter(const Surface& picture)
{
    auto turned = CreateSurface(picture.height, picture.width);
    for (int32_t y = 0; y < turned->height; ++y) {
        for (int32_t x = 0; x < turned->width; ++x) {
            turned->Row(y)[x] = picture.At(y, picture.height - 1 - x);
        }
    }
    return turned;
}

// The pupils of the sample portrait, read off the picture by eye.
constexpr gfx::Point kRightPupil{203, 101}; // the person's right eye, on the picture's left
constexpr gfx::Point kLeftPupil{247, 103};

} // namespace

TEST(FaceFinderTest, SamplePortraitHasOneFaceWithItsEyesInsideTheirLandmarks)
{
    ASSERT_TRUE(Model().model) << Model().problem;
    const FaceFinder finder(Model().model);
    const auto portrait = sampleportrait::Load();
    const std::vector<Face> faces = finder.Find(*portrait);
    ASSERT_EQ(faces.size(), 1u); // the badge on the suit is no face
    const Face& face = faces[0];
    EXPECT_TRUE(BoundsOf(face, landmarks::kRightEye).Contains(kRightPupil.x, kRightPupil.y));
    EXPECT_TRUE(BoundsOf(face, landmarks::kLeftEye).Contains(kLeftPupil.x, kLeftPupil.y));
    EXPECT_NEAR(face.box.width, 90, 15);
    EXPECT_TRUE(face.box.Contains(kRightPupil.x, kRightPupil.y));
    EXPECT_LT(face.points[8].y, 190); // the chin, above the suit's collar
    EXPECT_GT(face.points[8].y, 150);

    // The same picture three times as large (long side 1,536: found on a reduced copy)
    // gives the same points three times as far from the origin, within 2.5 % of the
    // face's width (the landmark model's own spread between scales).
    const std::vector<Face> large = finder.Find(*Enlarged(*portrait, 3));
    ASSERT_EQ(large.size(), 1u);
    float farthest = 0;
    for (size_t i = 0; i < face.points.size(); ++i) {
        const float dx = large[0].points[i].x - ((face.points[i].x + 0.5f) * 3 - 0.5f);
        const float dy = large[0].points[i].y - ((face.points[i].y + 0.5f) * 3 - 0.5f);
        farthest = std::max(farthest, std::hypot(dx, dy));
    }
    EXPECT_LT(farthest, 0.025f * 3 * float(face.box.width));
}

TEST(FaceFinderTest, AnyNumberOfFacesAndPicturesWithoutAny)
{
    ASSERT_TRUE(Model().model) << Model().problem;
    const FaceFinder finder(Model().model);
    const auto portrait = sampleportrait::Load();
    constexpr int kAny = -1; // no crash and sound points is all that is asked
    struct Case {
        const char* name;
        std::shared_ptr<Surface> picture;
        int faces;
    };
    const Case cases[] = {
        {"suit, badge and helmet", Crop(*portrait, {0, 300, 512, 212}), 0},
        {"noise", testpictures::Noise(640, 480, 7), 0},
        {"one pixel", testpictures::Filled(1, 1, 0xFFC08060u), 0},
        {"a line 30,000 pixels long", testpictures::Filled(30000, 1, 0xFFC08060u), 0},
        {"a column 30,000 pixels high", testpictures::Filled(1, 30000, 0xFFC08060u), 0},
        {"cartoon", Cartoon(), kAny},
        {"face turned to the side", Squeezed(*Crop(*portrait, {140, 40, 170, 180})), kAny},
        {"face lying on its side", TurnedQuarter(*portrait), kAny},
        {"a group of thirty", Group(6, 5), 30},
    };
    for (const Case& c : cases) {
        const std::vector<Face> faces = finder.Find(*c.picture);
        if (c.faces != kAny) {
            EXPECT_EQ(int(faces.size()), c.faces) << c.name;
        }
        for (const Face& face : faces) {
            for (const gfx::PointF& p : face.points) {
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << c.name;
            }
        }
    }
}
