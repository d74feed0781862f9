#include "tools/IdleOperation.h"
#include "tools/PanOperation.h"

#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {

struct PanTool {
    explicit PanTool(float zoom) : view(std::make_shared<CanvasView>(1000, 800, 443, 621)), tool(view, &env)
    {
        env.picture = std::make_shared<PictureLayer>(testpictures::Filled(1000, 800, 0xFF808080));
        view->SetZoom(zoom);
        view->Scroll(-10000, -10000);
        view->Scroll(100, 200);
    }

    void Drag(int button, gfx::Point from, gfx::Point to)
    {
        env.cursor = from;
        tool.buttonState = button;
        button == 1 ? tool.OnLeftDown(&env) : tool.OnRightDown(&env);
        env.cursor = {(from.x + to.x) / 2, (from.y + to.y) / 2};
        tool.OnDrag(&env);
        env.cursor = to;
        tool.OnDrag(&env);
        tool.buttonState = 0;
        tool.OnButtonUp(&env);
    }

    FakeEnvironment env;
    std::shared_ptr<CanvasView> view;
    PanOperation tool;
};

TEST(PanOperation, LeftDragMovesThePictureWithTheMouse)
{
    PanTool t(1.0f);
    t.Drag(1, {200, 300}, {230, 260});
    EXPECT_EQ(t.view->SrcX(), 170);
    EXPECT_EQ(t.view->SrcY(), 140);
    // After the release further moves scroll nothing.
    t.env.cursor = {10, 10};
    t.tool.OnDrag(&t.env);
    EXPECT_EQ(t.view->SrcX(), 170);
    EXPECT_TRUE(t.env.history.IsEmpty());
}

TEST(PanOperation, RightDragAndAFittedPictureScrollNothing)
{
    PanTool zoomed(1.0f);
    zoomed.Drag(2, {200, 300}, {260, 200});
    EXPECT_EQ(zoomed.view->SrcX(), 200);
    EXPECT_EQ(zoomed.view->SrcY(), 100);

    PanTool fitted(0.4f);
    const int32_t srcX = fitted.view->SrcX(), srcY = fitted.view->SrcY();
    fitted.Drag(1, {100, 100}, {300, 400});
    EXPECT_EQ(fitted.view->SrcX(), srcX);
    EXPECT_EQ(fitted.view->SrcY(), srcY);
}

TEST(IdleOperation, DoesNothing)
{
    FakeEnvironment env(testpictures::Filled(10, 10, 0xFF000000));
    const auto idle = std::make_shared<IdleOperation>(&env);
    env.cursor = {5, 5};
    idle->OnLeftDown(&env);
    idle->OnDrag(&env);
    idle->OnButtonUp(&env);
    idle->OnWheelUp(&env);
    EXPECT_EQ(idle->OnKeyDown(&env, 0x2E), 0);
    EXPECT_TRUE(env.history.IsEmpty());
    gfx::Bitmap canvas(10, 10);
    gfx::Graphics graphics(canvas);
    graphics.Clear(0xFF102030);
    idle->Paint(graphics, ViewTransform{});
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            ASSERT_EQ(canvas.GetPixel(x, y), 0xFF102030u);
        }
    }
}

} // namespace
