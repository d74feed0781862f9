#include "tools/LineOperation.h"

#include "engine/CanvasView.h"
#include "engine/UserMessages.h"
#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct LineTool {
    LineTool()
        : env(testpictures::Filled(200, 100, 0xFFC0C0C0)),
          left(std::make_shared<BezierItem>(testpictures::Filled(8, 8, 0xFF404040), height, opacity)),
          right(std::make_shared<BezierItem>(testpictures::Filled(8, 8, 0xFF404040), height, opacity)),
          tool(&env, left, right)
    {
        tool.Activate();
    }

    void Press(gfx::Point at)
    {
        env.cursor = at;
        tool.buttonState = 1;
        tool.OnLeftDown(&env);
    }
    void Drag(gfx::Point to)
    {
        env.cursor = to;
        tool.OnDrag(&env);
    }
    void Release()
    {
        tool.buttonState = 0;
        tool.OnButtonUp(&env);
    }
    void Click(gfx::Point at)
    {
        Press(at);
        Release();
    }

    FakeEnvironment env;
    std::shared_ptr<OperationScope> height = std::make_shared<OperationScope>(2, 14);
    std::shared_ptr<OperationScope> opacity = std::make_shared<OperationScope>(0, 128);
    std::shared_ptr<BezierItem> left;
    std::shared_ptr<BezierItem> right;
    LineOperation tool;
};

using Points = std::vector<gfx::PointF>;

TEST(LineOperation, ClickingAddsAPointAndClickingItAgainSelectsIt)
{
    LineTool t;
    t.Click({50, 40});
    EXPECT_EQ(t.left->Points(), (Points{{50, 40}}));
    EXPECT_EQ(t.env.history.Size(), 1u);
    t.Click({120, 60});
    EXPECT_EQ(t.left->Selected(), 1);

    t.Click({53, 43}); // within 10 pixels of the first point
    EXPECT_EQ(t.left->Points(), (Points{{50, 40}, {120, 60}}));
    EXPECT_EQ(t.left->Selected(), 0);
    EXPECT_EQ(t.env.history.Size(), 2u); // a plain click on a point records nothing

    // Undoing the additions removes the points, newest first.
    t.env.history.Undo();
    EXPECT_EQ(t.left->Points(), (Points{{50, 40}}));
    t.env.history.Undo();
    EXPECT_TRUE(t.left->Points().empty());
    EXPECT_TRUE(t.right->Points().empty());
}

TEST(LineOperation, CursorOutsideThePictureIsClampedToItsEdge)
{
    LineTool t;
    t.Click({-30, 500});
    EXPECT_EQ(t.left->Points(), (Points{{0, 100}}));
}

TEST(LineOperation, UndoOfADraggedNewPointRemovesItWhereItEnded)
{
    LineTool t;
    t.Click({20, 20});
    t.Press({100, 50});
    t.Drag({110, 55});
    t.Drag({150, 80});
    t.Release();
    EXPECT_EQ(t.left->Points(), (Points{{20, 20}, {150, 80}}));
    ASSERT_EQ(t.env.history.Size(), 2u);
    t.env.history.Undo();
    EXPECT_EQ(t.left->Points(), (Points{{20, 20}}));
}

TEST(LineOperation, UndoOfAMovedPointPutsItBackAtThePress)
{
    LineTool t;
    t.Click({20, 20});
    t.Click({100, 50});
    t.Press({104, 47}); // picks the point at (100, 50)
    t.Drag({140, 90});
    t.Release();
    EXPECT_EQ(t.left->Points(), (Points{{20, 20}, {140, 90}}));
    ASSERT_EQ(t.env.history.Size(), 3u);
    t.env.history.Undo();
    EXPECT_EQ(t.left->Points(), (Points{{20, 20}, {104, 47}}));
    EXPECT_EQ(t.left->Selected(), 1);
}

TEST(LineOperation, DeleteRemovesTheSelectedPointUndoably)
{
    LineTool t;
    t.Click({20, 20});
    t.Click({60, 30});
    t.Click({100, 40});
    t.Click({61, 31}); // select the middle point
    const size_t steps = t.env.history.Size();

    EXPECT_EQ(t.tool.OnKeyDown(&t.env, LineOperation::DeleteKey), 1);
    EXPECT_EQ(t.left->Points(), (Points{{20, 20}, {100, 40}}));
    EXPECT_EQ(t.left->Selected(), 1);
    ASSERT_EQ(t.env.history.Size(), steps + 1);
    t.env.history.Undo();
    EXPECT_EQ(t.left->Points(), (Points{{20, 20}, {60, 30}, {100, 40}}));

    // Nothing selected: handled, nothing recorded.
    t.left->SetSelected(-1);
    EXPECT_EQ(t.tool.OnKeyDown(&t.env, LineOperation::DeleteKey), 1);
    EXPECT_EQ(t.left->PointCount(), 3);
    EXPECT_EQ(t.env.history.Size(), steps);
    EXPECT_EQ(t.tool.OnKeyDown(&t.env, 0x42), 0);
}

// After the undo, or the undo and redo, of each kind of point edit, Delete removes the
// point left selected: the undo's own choice, or after a redo the one the undo found.
// Each edit ends by selecting another point, so that the two choices differ.
TEST(LineOperation, DeleteAfterUndoOrRedoRemovesThePointEachLeftSelected)
{
    struct Row {
        const char* edit;
        std::function<void(LineTool&)> run;
        Points afterUndo;
        Points afterRedo;
    };
    const Row rows[] = {
        {"add", [](LineTool& t) { t.Click({150, 60}); t.Click({21, 21}); },
         {{20, 20}, {60, 30}}, {{60, 30}, {100, 40}, {150, 60}}},
        {"move", [](LineTool& t) { t.Press({61, 31}); t.Drag({80, 70}); t.Release(); t.Click({101, 41}); },
         {{20, 20}, {100, 40}}, {{20, 20}, {80, 70}}},
        {"remove", [](LineTool& t) { t.Click({61, 31}); t.tool.OnKeyDown(&t.env, LineOperation::DeleteKey); },
         {{20, 20}, {100, 40}}, {{20, 20}}},
    };
    for (const Row& row : rows) {
        for (const bool redo : {false, true}) {
            SCOPED_TRACE(std::string(row.edit) + (redo ? ", undone and redone" : ", undone"));
            LineTool t;
            for (const gfx::Point p : {gfx::Point{20, 20}, gfx::Point{60, 30}, gfx::Point{100, 40}}) {
                t.Click(p);
            }
            row.run(t);
            ASSERT_TRUE(t.env.history.Undo());
            if (redo) {
                ASSERT_TRUE(t.env.history.Redo());
            }
            t.tool.OnKeyDown(&t.env, LineOperation::DeleteKey);
            EXPECT_EQ(t.left->Points(), redo ? row.afterRedo : row.afterUndo);
        }
    }
}

TEST(LineOperation, AFullEyelidRefusesTheThirteenthPoint)
{
    std::vector<std::string> shown;
    const UserMessageHandler previous =
        SetUserMessageHandler([&](const std::string& text) { shown.push_back(text); });
    LineTool t;
    for (int i = 0; i < 12; ++i) {
        t.Click({5 + 15 * i, 50});
    }
    const Points full = t.left->Points();
    t.Press({190, 90});
    t.Drag({180, 95});
    t.Release();
    EXPECT_EQ(t.left->Points(), full);
    EXPECT_EQ(shown, (std::vector<std::string>{"不能超过 12 个控制点."}));
    // Its recorded step finds nothing there and changes no point.
    t.env.history.Undo();
    EXPECT_EQ(t.left->Points(), full);
    EXPECT_EQ(t.left->Selected(), -1);
    SetUserMessageHandler(previous);
}

TEST(LineOperation, RightButtonCyclesLeftRightHidden)
{
    LineTool t;
    t.Click({20, 20});
    EXPECT_TRUE(t.left->IsActive());

    t.tool.OnRightDown(&t.env);
    EXPECT_EQ(t.tool.CurrentEyelid(), LineOperation::Eyelid::Right);
    EXPECT_FALSE(t.left->IsActive());
    EXPECT_TRUE(t.right->IsActive());
    t.Click({150, 20});
    EXPECT_EQ(t.right->Points(), (Points{{150, 20}}));

    t.tool.OnRightDown(&t.env);
    EXPECT_EQ(t.tool.CurrentEyelid(), LineOperation::Eyelid::Hidden);
    EXPECT_FALSE(t.left->IsActive());
    EXPECT_FALSE(t.right->IsActive());
    // Hidden: presses, drags, keys and the wheel do nothing.
    const size_t steps = t.env.history.Size();
    t.Press({80, 80});
    t.Drag({90, 90});
    t.Release();
    EXPECT_EQ(t.tool.OnKeyDown(&t.env, LineOperation::MoreOpaqueKey), 0);
    t.tool.OnWheelUp(&t.env);
    EXPECT_EQ(t.left->PointCount() + t.right->PointCount(), 2);
    EXPECT_EQ(t.env.history.Size(), steps);
    EXPECT_EQ(t.height->Value(), 8u);
    EXPECT_EQ(t.opacity->Value(), 64u);

    t.tool.OnRightDown(&t.env);
    EXPECT_EQ(t.tool.CurrentEyelid(), LineOperation::Eyelid::Left);
    EXPECT_TRUE(t.left->IsActive());
    EXPECT_FALSE(t.right->IsActive());

    t.tool.Deactivate();
    EXPECT_FALSE(t.left->IsActive());
}

TEST(LineOperation, WheelSetsHeightAndKeysSetOpacityWithinTheirRanges)
{
    LineTool t;
    struct Case {
        const char* name;
        std::function<void()> act;
        uint32_t height, opacity;
    };
    const Case cases[] = {
        {"wheel up", [&] { t.tool.OnWheelUp(&t.env); }, 9, 64},
        {"wheel down", [&] { t.tool.OnWheelDown(&t.env); }, 8, 64},
        {"A", [&] { t.tool.OnKeyDown(&t.env, LineOperation::MoreOpaqueKey); }, 8, 80},
        {"Z twice", [&] { t.tool.OnKeyDown(&t.env, 0x5A); t.tool.OnKeyDown(&t.env, 0x5A); }, 8, 48},
        {"Z down to 0",
         [&] {
             for (int i = 0; i < 3; ++i) {
                 t.tool.OnKeyDown(&t.env, LineOperation::LessOpaqueKey);
             }
         },
         8, 0},
        {"Z at 0 stays at 0", [&] { t.tool.OnKeyDown(&t.env, LineOperation::LessOpaqueKey); }, 8, 0},
        {"wheel down past the minimum",
         [&] {
             for (int i = 0; i < 20; ++i) {
                 t.tool.OnWheelDown(&t.env);
             }
         },
         2, 0},
        {"wheel up past the maximum",
         [&] {
             for (int i = 0; i < 20; ++i) {
                 t.tool.OnWheelUp(&t.env);
             }
         },
         14, 0},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(t.height->Value(), c.height) << c.name;
        EXPECT_EQ(t.opacity->Value(), c.opacity) << c.name;
    }
    EXPECT_EQ(t.env.history.Size(), 0u);
}

TEST(LineOperation, MarkersAreFeedbackOnTheCanvasNotPartOfThePicture)
{
    LineTool t;
    t.Click({50, 50});
    t.Click({150, 50});
    auto view = std::make_shared<CanvasView>(200, 100, 100, 100); // shrinks the picture to half
    view->AddLayer(t.env.picture);
    view->AddLayer(t.left);
    view->AddLayer(t.right);
    view->SetOperation(std::shared_ptr<Operation>(&t.tool, [](Operation*) {}));
    gfx::Bitmap canvas(100, 100);
    gfx::Graphics graphics(canvas);
    auto redOrGreenPixels = [&] {
        int count = 0;
        for (int32_t y = 0; y < 100; ++y) {
            for (int32_t x = 0; x < 100; ++x) {
                const gfx::Argb p = canvas.GetPixel(x, y);
                count += p == 0xFFFF0000u || p == 0xFF008000u ? 1 : 0;
            }
        }
        return count;
    };
    view->Render(true, graphics);
    EXPECT_GT(redOrGreenPixels(), 10);

    // The flattened picture holds the line but no marker colour.
    const std::shared_ptr<Surface> flat = view->Flatten();
    for (int32_t y = 0; y < flat->height; ++y) {
        for (int32_t x = 0; x < flat->width; ++x) {
            ASSERT_NE(flat->At(x, y), 0xFFFF0000u);
            ASSERT_NE(flat->At(x, y), 0xFF008000u);
        }
    }
    EXPECT_NE(flat->At(100, 50), 0xFFC0C0C0u);

    // Hidden: the line stays, the markers go.
    t.tool.OnRightDown(&t.env);
    t.tool.OnRightDown(&t.env);
    view->Render(true, graphics);
    EXPECT_EQ(redOrGreenPixels(), 0);
    EXPECT_NE(canvas.GetPixel(50, 25 + 25), 0xFFC0C0C0u);
}

TEST(LineOperation, EyelidLineFollowsLaterEditsOfThePicture)
{
    LineTool t;
    t.Click({20, 50});
    t.Click({180, 50});
    CanvasView view(200, 100, 200, 100);
    view.SetZoom(1.0f);
    view.AddLayer(t.env.picture);
    view.AddLayer(t.left);
    gfx::Bitmap canvas(200, 100);
    gfx::Graphics graphics(canvas);
    view.Render(true, graphics);
    const gfx::Argb overGrey = canvas.GetPixel(100, 50);

    // Another tool paints the picture under the line white: the line must blend over white now.
    PictureLayer& picture = *t.env.picture;
    picture.BeginEdit();
    Surface& working = picture.OpenForWrite({0, 0, 200, 100});
    std::fill(working.pixels.get(), working.pixels.get() + 200 * 100, 0xFFFFFFFFu);
    picture.Commit();
    view.Render(true, graphics);
    EXPECT_NE(canvas.GetPixel(100, 50), overGrey);
    EXPECT_EQ(view.Flatten()->At(100, 50), canvas.GetPixel(100, 50));
}

} // namespace
