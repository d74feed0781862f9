#include "support/FakeEnvironment.h"
#include "support/SampleFaces.h"
#include "support/TestPictures.h"
#include "tools/AutoSmoothCommand.h"
#include "tools/SmoothOperation.h"

#include <gtest/gtest.h>

using testpictures::SamePixels;

namespace {

constexpr gfx::Point kPortraitAt{61, 23};

// The left cheek of the sample portrait, and its right pupil, on the canvas.
constexpr gfx::Point kCheek{195 + kPortraitAt.x, 125 + kPortraitAt.y};
constexpr gfx::Point kPupil{203 + kPortraitAt.x, 101 + kPortraitAt.y};

struct Brush {
    explicit Brush(std::shared_ptr<Surface> picture, bool knowsFaces = true)
        : opened(CopySurface(*picture)), env(std::move(picture)),
          faces(knowsFaces ? samplefaces::FindIn(*opened) : std::vector<Face>{}),
          smooth(&env, strength, size, [this] { return faces; })
    {
    }

    // A press, drags along the points, and the release at the last one.
    void Stroke(bool left, std::initializer_list<gfx::Point> points)
    {
        env.cursor = *points.begin();
        smooth.buttonState = left ? 1 : 2;
        left ? smooth.OnLeftDown(&env) : smooth.OnRightDown(&env);
        for (gfx::Point p : points) {
            env.cursor = p;
            smooth.OnDrag(&env);
        }
        smooth.buttonState = 0;
        smooth.OnButtonUp(&env);
    }

    const Surface& Picture() const { return env.picture->Working(); }

    std::shared_ptr<Surface> opened;
    FakeEnvironment env;
    std::vector<Face> faces;
    std::shared_ptr<OperationScope> strength = SmoothOperation::StrengthScope();
    std::shared_ptr<OperationScope> size = SmoothOperation::SizeScope();
    SmoothOperation smooth;
};

// True when every pixel outside the rectangle is the same in both pictures.
bool SameOutside(const Surface& a, const Surface& b, const gfx::Rect& inside)
{
    for (int32_t y = 0; y < a.height; ++y) {
        for (int32_t x = 0; x < a.width; ++x) {
            if (!inside.Contains(x, y) && a.At(x, y) != b.At(x, y)) {
                return false;
            }
        }
    }
    return true;
}

gfx::Rect BrushSquare(gfx::Point at, int32_t radius) { return {at.x - radius, at.y - radius, 2 * radius, 2 * radius}; }

} // namespace

TEST(SmoothOperationTest, ScopesOfTheTool)
{
    const auto strength = SmoothOperation::StrengthScope();
    EXPECT_EQ(strength->Min(), 0u);
    EXPECT_EQ(strength->Max(), 100u);
    EXPECT_EQ(strength->Value(), 50u);
    const auto size = SmoothOperation::SizeScope();
    EXPECT_EQ(size->Min(), 10u);
    EXPECT_EQ(size->Max(), 150u);
    EXPECT_EQ(size->Value(), 80u);
    FakeEnvironment env;
    SmoothOperation smooth(&env, strength, size, nullptr);
    smooth.OnWheelUp(&env);
    EXPECT_EQ(size->Value(), 97u);
    EXPECT_EQ(smooth.Radius(), 97);
}

TEST(SmoothOperationTest, LeftSmoothsSkinUnderTheBrushRightBringsBackTheOpenedPicture)
{
    Brush brush(samplefaces::PortraitOnCanvas(640, 560, kPortraitAt));
    ASSERT_EQ(brush.faces.size(), 1u);
    brush.size->SetValue(20);

    // A drag over the cheek and the eye: one undo step, skin changed inside the brush
    // squares only, the pupil untouched.
    brush.Stroke(true, {kCheek, {kCheek.x + 4, kCheek.y - 10}, {kCheek.x + 8, kCheek.y - 20}});
    EXPECT_EQ(brush.env.history.Size(), 1u);
    const auto smoothed = CopySurface(brush.Picture());
    EXPECT_FALSE(SamePixels(*smoothed, *brush.opened));
    EXPECT_TRUE(SameOutside(*smoothed, *brush.opened, BrushSquare(kCheek, 20).United(BrushSquare(kPupil, 30))));
    EXPECT_EQ(smoothed->At(kPupil.x, kPupil.y), brush.opened->At(kPupil.x, kPupil.y));
    EXPECT_NE(smoothed->At(kCheek.x, kCheek.y), brush.opened->At(kCheek.x, kCheek.y));

    ASSERT_TRUE(brush.env.history.Undo());
    EXPECT_TRUE(SamePixels(brush.Picture(), *brush.opened));
    ASSERT_TRUE(brush.env.history.Redo());
    EXPECT_TRUE(SamePixels(brush.Picture(), *smoothed));

    // The right button at the cheek: the opened pixels come back at the brush's centre,
    // in one more step; undo gives the smoothed pixels again.
    brush.Stroke(false, {kCheek});
    EXPECT_EQ(brush.env.history.Size(), 2u);
    EXPECT_EQ(brush.Picture().At(kCheek.x, kCheek.y), brush.opened->At(kCheek.x, kCheek.y));
    EXPECT_TRUE(SameOutside(brush.Picture(), *smoothed, BrushSquare(kCheek, 20)));
    ASSERT_TRUE(brush.env.history.Undo());
    EXPECT_TRUE(SamePixels(brush.Picture(), *smoothed));

    // Over the background, and anywhere at strength 0, nothing changes: no step.
    brush.Stroke(true, {{25, 300}, {35, 320}});
    brush.strength->SetValue(0);
    brush.Stroke(true, {kCheek});
    EXPECT_EQ(brush.env.history.Size(), 1u);
    EXPECT_TRUE(SamePixels(brush.Picture(), *smoothed));
    // Right-clicking an untouched place changes nothing either.
    brush.Stroke(false, {{300, 400}});
    EXPECT_EQ(brush.env.history.Size(), 1u);
}

TEST(SmoothOperationTest, WithoutFacesTheBrushGoesBySkinColour)
{
    Brush brush(samplefaces::PortraitOnCanvas(600, 540, kPortraitAt), false);
    brush.size->SetValue(12);
    brush.Stroke(true, {kCheek, {kCheek.x + 3, kCheek.y + 2}});
    EXPECT_EQ(brush.env.history.Size(), 1u);
    EXPECT_NE(brush.Picture().At(kCheek.x, kCheek.y), brush.opened->At(kCheek.x, kCheek.y));
    EXPECT_TRUE(SameOutside(brush.Picture(), *brush.opened, BrushSquare({kCheek.x + 3, kCheek.y + 2}, 12).United(BrushSquare(kCheek, 12))));
    // The grey wall is no skin.
    brush.Stroke(true, {{20, 300}, {30, 320}});
    EXPECT_EQ(brush.env.history.Size(), 1u);
    brush.Stroke(true, {{55, 300}, {70, 310}});
    EXPECT_EQ(brush.env.history.Size(), 1u);
}

TEST(SmoothOperationTest, TheBrushAfterTheCommandAndTheCommandAfterTheBrush)
{
    Brush brush(samplefaces::PortraitOnCanvas(660, 530, kPortraitAt));
    AutoSmoothCommand command(&brush.env, brush.strength);
    ASSERT_EQ(command.Run(brush.faces), AutoSmoothCommand::Outcome::Smoothed);
    const auto smoothed = CopySurface(brush.Picture());
    // Bringing the opened picture back over the whole face with the largest brush, at
    // its centre, undoes the command there exactly.
    brush.size->SetValue(150);
    const gfx::Point centre{brush.faces[0].box.x + brush.faces[0].box.width / 2,
                            brush.faces[0].box.y + brush.faces[0].box.height / 2};
    brush.Stroke(false, {centre});
    EXPECT_EQ(brush.Picture().At(centre.x, centre.y), brush.opened->At(centre.x, centre.y));
    EXPECT_EQ(brush.env.history.Size(), 2u);
    ASSERT_TRUE(brush.env.history.Undo());
    ASSERT_TRUE(brush.env.history.Undo());
    EXPECT_TRUE(SamePixels(brush.Picture(), *brush.opened));
    ASSERT_TRUE(brush.env.history.Redo());
    EXPECT_TRUE(SamePixels(brush.Picture(), *smoothed));
}

TEST(SmoothOperationTest, TinyAndLinePicturesAndFacesReachingOutOfThePicture)
{
    // Faces found on the portrait, used on pictures they do not fit: partly or wholly
    // outside, or on pictures of a line or a few pixels. Nothing breaks; what changes
    // stays inside the picture.
    const auto portrait = sampleportrait::Load();
    const std::vector<Face> faces = samplefaces::FindIn(*portrait);
    ASSERT_EQ(faces.size(), 1u);
    const auto strength = SmoothOperation::StrengthScope();
    strength->SetValue(100);
    struct Case {
        int32_t width, height;
        gfx::Point cursor;
    };
    const Case cases[] = {{3, 2, {1, 1}}, {30000, 3, {15000, 1}}, {2, 400, {1, 200}}, {230, 130, {210, 120}}};
    for (const Case& c : cases) {
        auto picture = CreateSurface(c.width, c.height);
        for (int32_t y = 0; y < c.height; ++y) {
            for (int32_t x = 0; x < c.width; ++x) {
                picture->Row(y)[x] = portrait->At(x % 512, y % 512);
            }
        }
        FakeEnvironment env(picture);
        AutoSmoothCommand command(&env, strength);
        command.Run(faces);
        SmoothOperation smooth(&env, strength, SmoothOperation::SizeScope(), [&faces] { return faces; });
        env.cursor = c.cursor;
        smooth.buttonState = 1;
        smooth.OnLeftDown(&env);
        smooth.OnDrag(&env);
        smooth.buttonState = 0;
        smooth.OnButtonUp(&env);
        smooth.buttonState = 2;
        smooth.OnRightDown(&env);
        smooth.buttonState = 0;
        smooth.OnButtonUp(&env);
        while (env.history.Undo()) {
        }
        EXPECT_TRUE(SamePixels(env.picture->Working(), *picture)) << c.width << " x " << c.height;
    }
}
