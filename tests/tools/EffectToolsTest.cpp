#include "engine/FalloffMask.h"
#include "engine/NullEffect.h"
#include "support/FakeEnvironment.h"
#include "support/SampleBlemishes.h"
#include "support/TestPictures.h"
#include "tools/ClickEffectOperation.h"
#include "tools/ClickMoveEffectOperation.h"
#include "tools/CopyOperation.h"
#include "tools/MoveEffectOperation.h"
#include "tools/StretchWarpEffect.h"
#include "tools/ToolTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

using testpictures::Filled;
using testpictures::Noise;
using testpictures::SamePixels;

namespace {

// The tools of the window's lifetime, wired by the program's own tool table.
struct Tools {
    explicit Tools(std::shared_ptr<Surface> picture) : env(std::move(picture)) {}

    template <class Tool>
    Tool& Built(const char* name)
    {
        return dynamic_cast<Tool&>(*built.at(name).operation);
    }

    FakeEnvironment env;
    ToolContext context{&env};
    std::map<std::string, BuiltTool> built = ToolTable::Build(ToolLifetime::Window, context);
    std::shared_ptr<OperationScope> small = context.smallBrush;
    std::shared_ptr<OperationScope> large = context.largeBrush;
    ClickEffectOperation& blur = Built<ClickEffectOperation>("blur");
    ClickEffectOperation& zoom = Built<ClickEffectOperation>("zoom");
    ClickMoveEffectOperation& bc = Built<ClickMoveEffectOperation>("bc");
    MoveEffectOperation& stretch = Built<MoveEffectOperation>("stretch");
    CopyOperation& copy = Built<CopyOperation>("copy");
    ClickEffectOperation& heal = Built<ClickEffectOperation>("heal");
    std::shared_ptr<OperationScope> healBrush = built.at("heal").scopes.at(0);

    const Surface& Picture() const { return env.picture->Working(); }
    std::shared_ptr<Surface> PictureCopy() const { return CopySurface(Picture()); }

    // The main window's order: button state, then the tool.
    void Press(Operation& tool, int32_t button, gfx::Point at)
    {
        env.cursor = at;
        tool.buttonState = button;
        button == 1 ? tool.OnLeftDown(&env) : tool.OnRightDown(&env);
    }
    void Drag(Operation& tool, gfx::Point to)
    {
        env.cursor = to;
        tool.OnDrag(&env);
    }
    void Release(Operation& tool, gfx::Point at)
    {
        env.cursor = at;
        tool.buttonState = 0;
        tool.OnButtonUp(&env);
    }
    void Click(Operation& tool, int32_t button, gfx::Point at)
    {
        Press(tool, button, at);
        Release(tool, at);
    }
};

// Every pixel that differs between the two pictures lies inside the area.
bool ChangesLieInside(const Surface& a, const Surface& b, const gfx::Rect& area)
{
    for (int32_t y = 0; y < a.height; ++y) {
        for (int32_t x = 0; x < a.width; ++x) {
            if (a.At(x, y) != b.At(x, y) && !area.Contains(x, y)) {
                return false;
            }
        }
    }
    return true;
}

int32_t CountChanged(const Surface& a, const Surface& b)
{
    int32_t n = 0;
    for (size_t i = 0; i < size_t(a.width) * size_t(a.height); ++i) {
        n += a.pixels[i] != b.pixels[i];
    }
    return n;
}

} // namespace

TEST(ClickEffectOperation, BlurClickChangesOnlyTheBrushCircleAndUndoesExactly)
{
    Tools t(Noise(200, 160, 21));
    const auto before = t.PictureCopy();
    t.Press(t.blur, 1, {60, 60});
    t.Drag(t.blur, {80, 70});
    t.Release(t.blur, {100, 80}); // applies once, at the release point
    ASSERT_EQ(t.env.history.Size(), 1u);
    EXPECT_TRUE(ChangesLieInside(*before, t.Picture(), {75, 55, 50, 50}));
    EXPECT_GT(CountChanged(*before, t.Picture()), 1000);
    // the corners of the brush square are outside its circle
    for (const gfx::Point p : {gfx::Point{75, 55}, gfx::Point{124, 55}, gfx::Point{75, 104}, gfx::Point{124, 104}}) {
        EXPECT_EQ(t.Picture().At(p.x, p.y), before->At(p.x, p.y));
    }
    EXPECT_TRUE(t.env.history.Undo());
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(ClickEffectOperation, ClicksThatChangeNothingRecordNothing)
{
    Tools t(Noise(100, 100, 2));
    const auto before = t.PictureCopy();
    t.Click(t.blur, 2, {50, 50}); // right button: the null effect
    t.Click(t.blur, 1, {0, 50});  // on the border: empty brush square
    t.Click(t.zoom, 1, {50, 100});
    EXPECT_TRUE(t.env.history.IsEmpty());
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
    EXPECT_FALSE(t.env.picture->IsEditing());
}

// The heal's own brush starts at 20; a left click is one step that undo and redo replay
// exactly, and the right button neither changes nor records anything. Half-transparent
// skin, so the heal's pixels replace the picture's rather than being drawn over them.
TEST(ClickEffectOperation, HealClickIsOneStepThatUndoesAndRedoesExactly)
{
    auto picture = testpictures::Skin(230, 170, 12, 0xA0);
    const blemishes::Blemish spot{101, 80, 6};
    blemishes::Paint(*picture, std::span(&spot, 1));
    Tools t(picture);
    ASSERT_EQ(t.heal.Radius(), 20);
    const auto before = t.PictureCopy();
    t.Click(t.heal, 2, {101, 80});
    EXPECT_TRUE(t.env.history.IsEmpty());
    EXPECT_TRUE(SamePixels(*before, t.Picture()));

    t.Click(t.heal, 1, {101, 80});
    ASSERT_EQ(t.env.history.Size(), 1u);
    EXPECT_TRUE(ChangesLieInside(*before, t.Picture(), {84, 63, 35, 35})); // the brush's disc, radius 18
    EXPECT_GT(CountChanged(*before, t.Picture()), 120); // the spot, radius 6, and its edge
    for (int32_t y = 74; y <= 86; ++y) {
        for (int32_t x = 95; x <= 107; ++x) { // darkened by 30 before; skin is 196 .. 204 red
            ASSERT_GE((t.Picture().At(x, y) >> 16) & 0xFF, 185u) << x << "," << y;
            ASSERT_EQ(t.Picture().At(x, y) >> 24, 0xA0u) << x << "," << y;
        }
    }
    const auto healed = t.PictureCopy();

    t.Click(t.heal, 2, {60, 60});
    EXPECT_EQ(t.env.history.Size(), 1u);
    ASSERT_TRUE(t.env.history.Undo());
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
    ASSERT_TRUE(t.env.history.Redo());
    EXPECT_TRUE(SamePixels(*healed, t.Picture()));
    ASSERT_TRUE(t.env.history.Undo());
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(ClickEffectOperation, PinchClickUndoesExactly)
{
    Tools t(Noise(240, 240, 8, true));
    const auto before = t.PictureCopy();
    t.Click(t.zoom, 2, {120, 110});
    EXPECT_TRUE(ChangesLieInside(*before, t.Picture(), {65, 55, 110, 110}));
    EXPECT_GT(CountChanged(*before, t.Picture()), 1000);
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(EffectOperation, StartsWithTheNullEffectAndWheelStaysInRange)
{
    Tools t(Noise(50, 50, 1));
    EXPECT_EQ(t.zoom.CurrentEffect(), NullEffect::Shared());
    t.large->SetValue(79);
    t.zoom.OnWheelUp(&t.env);
    EXPECT_EQ(t.large->Value(), 80u);
    t.copy.OnWheelUp(&t.env);
    EXPECT_EQ(t.large->Value(), 80u);
    t.large->SetValue(31);
    t.stretch.OnWheelDown(&t.env);
    EXPECT_EQ(t.large->Value(), 30u);
    t.copy.OnWheelDown(&t.env);
    EXPECT_EQ(t.large->Value(), 30u);

    // A step larger than the value must not wrap round to the largest size.
    auto wide = std::make_shared<OperationScope>(0, 255);
    ClickEffectOperation tool(&t.env, nullptr, nullptr, wide);
    wide->SetValue(10);
    tool.OnWheelDown(&t.env);
    EXPECT_EQ(wide->Value(), 0u);
}

TEST(EffectOperation, BrushCircleIsDrawnOnTheTargetThroughTheView)
{
    Tools t(Noise(200, 200, 1));
    auto target = gfx::Bitmap(400, 400);
    gfx::Graphics g(target);
    g.Clear(0xFF000000);
    const ViewTransform view{2.0f, 0.0f, 0.0f};
    t.env.cursor = {100, 100};
    t.blur.Paint(g, view); // radius 25: the square {75, 75, 50, 50}, doubled on the target
    EXPECT_EQ(target.Scanline(200)[150], 0xFFFF0000u);
    EXPECT_EQ(target.Scanline(200)[250], 0xFFFF0000u);
    EXPECT_EQ(target.Scanline(200)[200], 0xFF000000u);

    g.Clear(0xFF000000);
    t.env.cursor = {0, 100}; // on the border: nothing
    t.blur.Paint(g, view);
    t.copy.Paint(g, view);
    for (int32_t y = 0; y < 400; ++y) {
        for (int32_t x = 0; x < 400; ++x) {
            ASSERT_EQ(target.Scanline(y)[x], 0xFF000000u);
        }
    }
}

TEST(ClickMoveEffectOperation, DragOfFiveEventsDabsFourTimesInOneStep)
{
    Tools t(Filled(200, 200, 0xFF808080));
    const auto before = t.PictureCopy();
    t.Press(t.bc, 1, {100, 100});
    int32_t dabs = 0;
    for (int32_t i = 1; i <= 5; ++i) {
        const auto shown = t.PictureCopy();
        t.Drag(t.bc, {100, 100});
        dabs += !SamePixels(*shown, t.Picture());
    }
    const auto beforeRelease = t.PictureCopy();
    t.Release(t.bc, {100, 100});
    dabs += !SamePixels(*beforeRelease, t.Picture());
    EXPECT_EQ(dabs, 4);
    EXPECT_EQ(t.env.history.Size(), 1u);
    EXPECT_EQ(t.Picture().At(100, 100), 0xFF888888u); // 128 -> 130 -> 132 -> 134 -> 136
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(ClickMoveEffectOperation, DragPhaseCarriesOverToTheNextGesture)
{
    Tools t(Filled(200, 200, 0xFFFFFFFF));
    EXPECT_EQ(t.bc.MoveCounter(), ClickMoveEffectOperation::FirstMoveCount);
    t.Press(t.bc, 2, {100, 100});
    t.Drag(t.bc, {100, 100}); // dabs
    t.Drag(t.bc, {100, 100}); // counter wraps to 0
    t.Drag(t.bc, {100, 100}); // dabs
    t.Release(t.bc, {100, 100});
    EXPECT_EQ(t.bc.MoveCounter(), 1u);
    EXPECT_EQ(t.Picture().At(100, 100), 0xFFDBDBDBu); // 255 -> 242 -> 230 -> 219

    // the next gesture's first drag event is odd and does not dab
    const auto before = t.PictureCopy();
    t.Press(t.bc, 2, {50, 50});
    t.Drag(t.bc, {50, 50});
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
    t.Release(t.bc, {50, 50});
    EXPECT_EQ(t.env.history.Size(), 2u);
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(ClickMoveEffectOperation, GestureOnTheBorderOnlyRecordsNothing)
{
    Tools t(Noise(100, 100, 3));
    t.Press(t.bc, 1, {0, 40});
    t.Drag(t.bc, {0, 50});
    t.Release(t.bc, {100, 60});
    EXPECT_TRUE(t.env.history.IsEmpty());
}

// When the release never reaches the tool, the next press still records the changes.
TEST(ClickMoveEffectOperation, UnfinishedGestureKeepsItsUndoStep)
{
    Tools t(Noise(120, 120, 4));
    const auto before = t.PictureCopy();
    t.Press(t.bc, 1, {60, 60});
    t.Drag(t.bc, {62, 60});
    t.Press(t.bc, 1, {30, 30});
    t.Release(t.bc, {30, 30});
    ASSERT_EQ(t.env.history.Size(), 2u);
    t.env.history.Undo();
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

namespace {

// What a stretch gesture must show: the warp of the press-time picture toward the target.
std::shared_ptr<Surface> WarpedCopy(const Surface& pressPicture, const gfx::Rect& circle, gfx::Point target)
{
    StretchWarpEffect reference(1);
    reference.SetTarget(target.x, target.y);
    PictureLayer layer(CopySurface(pressPicture));
    layer.BeginEdit();
    layer.CompositePatch(reference.Apply(layer.Working(), circle));
    return CopySurface(layer.Working());
}

} // namespace

TEST(MoveEffectOperation, EveryDragShowsTheWarpOfThePressPicture)
{
    Tools t(Noise(400, 360, 5, true));
    const auto before = t.PictureCopy();
    t.Press(t.stretch, 1, {200, 180});
    const gfx::Rect circle = t.stretch.FixedCircle();
    ASSERT_EQ(circle, (gfx::Rect{145, 125, 110, 110}));
    for (const gfx::Point p : {gfx::Point{230, 190}, gfx::Point{170, 150}, gfx::Point{240, 215}}) {
        t.Drag(t.stretch, p);
        ASSERT_TRUE(SamePixels(*WarpedCopy(*before, circle, p), t.Picture())) << p.x << "," << p.y;
    }
    // a step outside the fixed square leaves the last warp shown
    t.Drag(t.stretch, {300, 300});
    EXPECT_TRUE(SamePixels(*WarpedCopy(*before, circle, {240, 215}), t.Picture()));
    t.Drag(t.stretch, {200, 180});
    EXPECT_TRUE(SamePixels(*WarpedCopy(*before, circle, {200, 180}), t.Picture()));
    t.Drag(t.stretch, {230, 170});
    t.Release(t.stretch, {230, 170});
    EXPECT_FALSE(t.stretch.InGesture());
    ASSERT_EQ(t.env.history.Size(), 1u);
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(MoveEffectOperation, RecordsAGestureExactlyWhenItsOwnDragChangedThePicture)
{
    Tools t(Noise(300, 300, 6));
    t.Click(t.stretch, 1, {150, 150}); // no drag
    EXPECT_TRUE(t.env.history.IsEmpty());

    t.Press(t.stretch, 1, {150, 150});
    t.Drag(t.stretch, {170, 160});
    t.Drag(t.stretch, {290, 290}); // last step outside the square: still recorded
    const auto shown = t.PictureCopy();
    t.Release(t.stretch, {290, 290});
    EXPECT_EQ(t.env.history.Size(), 1u);
    EXPECT_TRUE(SamePixels(*shown, t.Picture()));

    t.Click(t.stretch, 1, {100, 100}); // the earlier gesture's flag does not carry over
    t.Click(t.stretch, 2, {100, 100});
    t.Press(t.stretch, 2, {100, 100});
    t.Drag(t.stretch, {110, 100});
    t.Release(t.stretch, {110, 100});
    EXPECT_EQ(t.env.history.Size(), 1u);
}

TEST(MoveEffectOperation, ANewPressEndsAGestureWhoseReleaseWasLost)
{
    Tools t(Noise(300, 300, 7));
    const auto before = t.PictureCopy();
    t.Press(t.stretch, 1, {150, 150});
    t.Drag(t.stretch, {165, 150});
    const auto firstResult = t.PictureCopy();
    t.Press(t.stretch, 1, {100, 100}); // the release went up outside the canvas
    EXPECT_EQ(t.env.history.Size(), 1u);
    t.Drag(t.stretch, {110, 110});
    t.Release(t.stretch, {110, 110});
    ASSERT_EQ(t.env.history.Size(), 2u);
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*firstResult, t.Picture()));
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));

    // switching tools in the middle of a gesture ends it too
    t.Press(t.stretch, 1, {150, 150});
    t.Drag(t.stretch, {160, 140});
    t.stretch.Deactivate();
    EXPECT_FALSE(t.stretch.InGesture());
    EXPECT_EQ(t.env.history.Size(), 1u);
}

// Opening another picture clears the history; a gesture begun on the old picture must
// not leave a step that would write the old pixels into the new one.
TEST(EffectToolOperations, GesturesLeftOpenDoNotRecordIntoANewPicture)
{
    Tools t(Noise(300, 300, 7));
    t.Press(t.stretch, 1, {150, 150});
    t.Drag(t.stretch, {165, 150});
    t.Press(t.bc, 1, {100, 100});
    t.Drag(t.bc, {100, 100});
    t.env.picture = std::make_shared<PictureLayer>(Filled(300, 300, 0xFF336699));
    t.env.history.Clear();
    t.Drag(t.stretch, {170, 150});
    t.Press(t.stretch, 1, {50, 50});
    t.Press(t.bc, 1, {50, 50});
    EXPECT_TRUE(t.env.history.IsEmpty());
    EXPECT_TRUE(SamePixels(*Filled(300, 300, 0xFF336699), t.Picture()));
}

TEST(MoveEffectOperation, DrawsTheFixedCircleDuringAGesture)
{
    Tools t(Noise(300, 300, 7));
    auto target = gfx::Bitmap(300, 300);
    gfx::Graphics g(target);
    g.Clear(0xFF000000);
    t.Press(t.stretch, 1, {150, 150}); // circle {95, 95, 110, 110}
    t.Drag(t.stretch, {160, 150});
    t.stretch.Paint(g, ViewTransform{});
    EXPECT_EQ(target.Scanline(150)[95], 0xFFFF0000u);
    EXPECT_EQ(target.Scanline(150)[205], 0xFFFF0000u);
}

TEST(CopyOperation, PickPreparesASoftRoundPatchAndRecordsNothing)
{
    Tools t(Noise(300, 300, 9));
    t.large->SetValue(40);
    t.Click(t.copy, 2, {150, 150});
    EXPECT_TRUE(t.env.history.IsEmpty());
    const auto& patch = t.copy.PickedPatch();
    ASSERT_TRUE(patch);
    ASSERT_EQ(patch->width, 80);
    const FalloffMask mask({0, 0, 80, 80});
    for (int32_t i = 0; i < 80; ++i) {
        for (int32_t j = 0; j < 80; ++j) {
            const uint32_t p = patch->At(j, i);
            ASSERT_EQ(p & 0xFFFFFF, t.Picture().At(110 + j, 110 + i) & 0xFFFFFF);
            const uint32_t m = mask.At(i, j);
            ASSERT_EQ(p >> 24, m > 128 ? 40u : m * 5 / 16);
        }
    }
    EXPECT_EQ(patch->At(40, 40) >> 24, 40u);
    EXPECT_EQ(patch->At(0, 0) >> 24, 0u);
}

TEST(CopyOperation, EachStampIsOneUndoStep)
{
    Tools t(Noise(300, 300, 10));
    const auto before = t.PictureCopy();
    t.Click(t.copy, 1, {100, 100}); // nothing picked yet
    EXPECT_TRUE(t.env.history.IsEmpty());
    EXPECT_TRUE(SamePixels(*before, t.Picture()));

    t.Click(t.copy, 2, {80, 80});
    t.Click(t.copy, 1, {200, 200});
    const auto afterFirst = t.PictureCopy();
    EXPECT_TRUE(ChangesLieInside(*before, *afterFirst, {145, 145, 110, 110}));
    EXPECT_GT(CountChanged(*before, *afterFirst), 1000);
    t.Click(t.copy, 1, {220, 200});
    t.Click(t.copy, 1, {300, 200}); // on the border: draws nothing, records nothing
    ASSERT_EQ(t.env.history.Size(), 2u);
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*afterFirst, t.Picture()));
    t.env.history.Undo();
    EXPECT_TRUE(SamePixels(*before, t.Picture()));
}

TEST(CopyOperation, StampNearTheEdgeDrawsThePatchsTopLeftPart)
{
    Tools t(Filled(300, 300, 0xFF000000));
    // pick a white patch from a white corner area
    t.env.picture->BeginEdit();
    t.env.picture->CopyPixels(*Filled(120, 120, 0xFFFFFFFF), {0, 0});
    t.env.picture->Commit();
    t.Click(t.copy, 2, {60, 60}); // 110 x 110 patch
    PictureLayer expected(t.PictureCopy());
    t.Click(t.copy, 1, {290, 150}); // square {280, 140, 20, 20}
    ASSERT_EQ(t.env.history.Size(), 1u);
    // only the patch's top-left 20 x 20 is drawn: mostly its transparent corner
    const auto& patch = t.copy.PickedPatch();
    expected.BeginEdit();
    auto corner = CreateSurface(20, 20);
    CopyRegion(*patch, 0, 0, *corner);
    expected.CompositePatch({280, 140, 20, 20, corner});
    EXPECT_TRUE(SamePixels(expected.Working(), t.Picture()));
    EXPECT_GT(CountChanged(*expected.Baseline(), t.Picture()), 0);

    // a brush larger than the patch draws only the patch, at the brush's top-left
    t.large->SetValue(30);
    t.Click(t.copy, 2, {60, 60}); // 60 x 60
    t.large->SetValue(80);
    const auto beforeStamp = t.PictureCopy();
    t.Click(t.copy, 1, {150, 200}); // square {70, 120, 160, 160}
    EXPECT_TRUE(ChangesLieInside(*beforeStamp, t.Picture(), {70, 120, 60, 60}));
    EXPECT_NE(t.Picture().At(100, 150), beforeStamp->At(100, 150));
}
