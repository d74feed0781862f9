#include "engine/CanvasView.h"

#include "engine/PictureLayer.h"
#include "engine/PicturePyramid.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

struct FitCase {
    const char* name;
    int32_t pictureWidth, pictureHeight, viewWidth, viewHeight;
    float zoom;
    int32_t srcX, srcY, srcWidth, srcHeight, destX, destY;
    bool needsClear;
};

TEST(CanvasView, FitsThePictureIntoTheViewport)
{
    const FitCase cases[] = {
        {"wide picture, square view: width rules", 100, 50, 275, 275, 2.75f, 0, 0, 100, 100, 0, 69, true},
        {"tall picture, square view: height rules", 50, 100, 275, 275, 2.75f, 0, 0, 100, 100, 69, 0, true},
        {"square picture, square view: width", 550, 550, 275, 275, 0.5f, 0, 0, 550, 550, 0, 0, true},
        {"square picture, wide view: height", 100, 100, 300, 200, 2.0f, 0, 0, 150, 100, 50, 0, true},
        {"square picture, tall view: width", 100, 100, 200, 300, 2.0f, 0, 0, 100, 150, 0, 50, true},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        CanvasView view(c.pictureWidth, c.pictureHeight, c.viewWidth, c.viewHeight);
        EXPECT_FLOAT_EQ(view.Zoom(), c.zoom);
        EXPECT_EQ(view.SrcX(), c.srcX);
        EXPECT_EQ(view.SrcY(), c.srcY);
        EXPECT_EQ(view.SrcWidth(), c.srcWidth);
        EXPECT_EQ(view.SrcHeight(), c.srcHeight);
        EXPECT_EQ(view.DestX(), c.destX);
        EXPECT_EQ(view.DestY(), c.destY);
        EXPECT_EQ(view.NeedsClear(), c.needsClear);
    }
}

TEST(CanvasView, FittedPictureOverflowingTheCanvasStartsCentredAndClamped)
{
    // Taller than wide, so the height rules; the fitted width is still wider than the canvas.
    CanvasView view(1000, 1100, 443, 621);
    const float zoom = 621.0f / 1100.0f;
    EXPECT_FLOAT_EQ(view.Zoom(), zoom);
    EXPECT_EQ(view.DestX(), 0);
    EXPECT_EQ(view.SrcY(), 0);
    // The centred start (1000 - 443) / 2 = 278 lies past the last position, so it is clamped.
    EXPECT_EQ(view.SrcX(), int32_t(1000.0f - 443.0f / zoom));
    EXPECT_LE(view.SrcX() + view.SrcWidth(), 1000);

    // A slightly wider overflow keeps the centred start (1000 - 443) / 2 = 278, as it
    // lies before the last position trunc(1000 - 443 / zoom) = 279.
    CanvasView mild(1000, 1010, 443, 621);
    EXPECT_EQ(mild.SrcX(), 278);
}

TEST(CanvasView, SetZoomRefusesFactorsThatAreNotPositive)
{
    CanvasView view(100, 50, 275, 275);
    for (float bad : {0.0f, -1.0f, -0.001f, std::nanf(""), INFINITY}) {
        EXPECT_FALSE(view.SetZoom(bad)) << bad;
        EXPECT_FLOAT_EQ(view.Zoom(), 2.75f);
        EXPECT_EQ(view.SrcWidth(), 100);
        EXPECT_EQ(view.DestY(), 69);
    }
}

TEST(CanvasView, ScrollMovesOnlyAnOverflowingAxisAndClamps)
{
    CanvasView fitted(100, 50, 275, 275);
    EXPECT_FALSE(fitted.Scroll(0, -50));
    EXPECT_FALSE(fitted.Scroll(50, 50));
    EXPECT_EQ(fitted.SrcX(), 0);
    EXPECT_EQ(fitted.SrcY(), 0);

    // 1000 x 400 at zoom 1 in a 275 x 275 view overflows both ways.
    CanvasView view(1000, 400, 275, 275);
    ASSERT_TRUE(view.SetZoom(1.0f));
    ASSERT_TRUE(view.Scroll(0, 100000));
    EXPECT_EQ(view.SrcX(), int32_t(1000.0f - 275.0f / 1.0f));
    ASSERT_TRUE(view.Scroll(-100000, -100000));
    EXPECT_EQ(view.SrcX(), 0);
    EXPECT_EQ(view.SrcY(), 0);
    ASSERT_TRUE(view.Scroll(30, -5)); // vertical amount first
    EXPECT_EQ(view.SrcY(), 30);
    EXPECT_EQ(view.SrcX(), 0);

    // At a fractional zoom the clamp is trunc(width - viewWidth / zoom).
    ASSERT_TRUE(view.SetZoom(0.7f));
    view.Scroll(0, 1 << 30);
    EXPECT_EQ(view.SrcX(), int32_t(1000.0f - 275.0f / 0.7f));
}

TEST(CanvasView, ZoomingInFromTheLeftEdgeStillMovesTheScrollPosition)
{
    CanvasView view(1000, 1000, 275, 275);
    ASSERT_TRUE(view.SetZoom(1.0f));
    view.Scroll(-5000, -5000);
    ASSERT_EQ(view.SrcX(), 0);
    ASSERT_TRUE(view.SetZoom(float(1.0 * 1.196078431372549)));
    EXPECT_EQ(view.SrcX(), 1);
    EXPECT_EQ(view.SrcY(), 1);
    EXPECT_EQ(view.DestX(), 0);

    // Away from the edge the position scales with the zoom.
    view.Scroll(100, 100);
    const int32_t before = view.SrcX();
    const float oldZoom = view.Zoom();
    ASSERT_TRUE(view.SetZoom(oldZoom * 2));
    EXPECT_EQ(view.SrcX(), int32_t(oldZoom * 2 / oldZoom * float(before)));
}

TEST(CanvasView, ExtremeZoomsStayUsable)
{
    CanvasView view(4000, 3000, 443, 621);
    for (int i = 0; i < 400; ++i) {
        view.SetZoom(float(view.Zoom() * 1.196078431372549));
    }
    EXPECT_GE(view.SrcX(), 0);
    for (int i = 0; i < 2000; ++i) {
        view.SetZoom(float(view.Zoom() * 0.8360655737704918));
    }
    EXPECT_GT(view.Zoom(), 0.0f);
    EXPECT_GE(view.DestX(), 0);
    auto canvas = gfx::Bitmap(443, 621);
    gfx::Graphics graphics(canvas);
    view.Render(true, graphics); // must not crash whatever the zoom

    // A picture that could not be decoded has no pixels: the view stays usable and black.
    CanvasView empty(0, 0, 443, 621);
    EXPECT_FALSE(empty.Scroll(10, 10));
    empty.Render(true, graphics);
    EXPECT_EQ(canvas.GetPixel(200, 300), gfx::colors::Black);
    EXPECT_EQ(empty.Flatten()->width, 0);
}

TEST(CanvasView, MapsCanvasPointsToPicturePixels)
{
    CanvasView view(100, 50, 275, 275); // zoom 2.75, destY 69
    EXPECT_EQ(view.ToPicture({0, 69}), (gfx::Point{0, 0}));
    EXPECT_EQ(view.ToPicture({274, 69 + 137}), (gfx::Point{99, 49}));
    EXPECT_EQ(view.ToPicture({2, 0}), (gfx::Point{0, -25})); // truncated toward zero
    const ViewTransform t = view.Transform();
    EXPECT_EQ(t.ToTarget(gfx::Point{10, 10}), (gfx::Point{27, 69 + 27}));
}

TEST(CanvasView, RenderShowsThePictureScaledWithBlackMargins)
{
    auto picture = std::make_shared<PictureLayer>(testpictures::Filled(100, 50, 0xFF2040C0));
    CanvasView view(100, 50, 275, 275);
    view.AddLayer(picture);
    gfx::Bitmap canvas(275, 275);
    gfx::Graphics graphics(canvas);
    graphics.Clear(0xFF123456);
    view.Render(true, graphics);
    EXPECT_FALSE(view.NeedsClear());
    EXPECT_EQ(canvas.GetPixel(0, 0), gfx::colors::Black);
    EXPECT_EQ(canvas.GetPixel(137, 68), gfx::colors::Black);
    EXPECT_EQ(canvas.GetPixel(137, 69), 0xFF2040C0u);
    EXPECT_EQ(canvas.GetPixel(274, 69 + 136), 0xFF2040C0u);
    EXPECT_EQ(canvas.GetPixel(137, 69 + 138), gfx::colors::Black);

    // Without clear, the margins keep what the target held.
    graphics.Clear(0xFF123456);
    view.Render(false, graphics);
    EXPECT_EQ(canvas.GetPixel(0, 0), 0xFF123456u);
    EXPECT_EQ(canvas.GetPixel(137, 100), 0xFF2040C0u);
}

TEST(CanvasView, ShrinksALargePictureWithoutAliasing)
{
    // A one-pixel checkerboard shrunk 8 times averages to grey rather than picking one colour.
    auto surface = CreateSurface(800, 800);
    for (int32_t y = 0; y < 800; ++y) {
        for (int32_t x = 0; x < 800; ++x) {
            surface->Row(y)[x] = (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
        }
    }
    CanvasView view(800, 800, 100, 100);
    view.AddLayer(std::make_shared<PictureLayer>(surface));
    gfx::Bitmap canvas(100, 100);
    gfx::Graphics graphics(canvas);
    view.Render(true, graphics);
    const uint32_t grey = gfx::RedOf(canvas.GetPixel(50, 50));
    EXPECT_NEAR(grey, 128, 2);
}

class CountingPainter : public OverlayPainter {
public:
    void Paint(gfx::Graphics& graphics, const ViewTransform& view) override
    {
        ++calls;
        graphics.FillRectangle(gfx::colors::Red, view.ToTarget(gfx::Rect{10, 10, 2, 2}));
    }
    int calls = 0;
};

TEST(CanvasView, OverlayIsPaintedOnTheTargetButNeverFlattened)
{
    auto picture = std::make_shared<PictureLayer>(testpictures::Filled(100, 50, 0xFF808080));
    CanvasView view(100, 50, 275, 275);
    view.AddLayer(picture);
    auto painter = std::make_shared<CountingPainter>();
    view.SetOperation(painter);
    gfx::Bitmap canvas(275, 275);
    gfx::Graphics graphics(canvas);
    view.Render(true, graphics);
    EXPECT_EQ(painter->calls, 1);
    EXPECT_EQ(canvas.GetPixel(28, 69 + 28), gfx::colors::Red);

    // Moving the cursor only: the next render must not keep the old feedback.
    view.SetOperation(nullptr);
    view.Render(true, graphics);
    EXPECT_EQ(canvas.GetPixel(28, 69 + 28), 0xFF808080u);

    view.SetOperation(painter);
    const std::shared_ptr<Surface> flat = view.Flatten();
    EXPECT_TRUE(testpictures::SamePixels(*flat, picture->Working()));
}

TEST(CanvasView, FlattenComposesAllLayersOverTransparent)
{
    auto bottom = std::make_shared<PictureLayer>(testpictures::Filled(4, 4, 0x00000000));
    auto top = std::make_shared<PictureLayer>(testpictures::Filled(4, 4, 0x80FF0000));
    CanvasView view(4, 4, 10, 10);
    view.AddLayer(bottom);
    view.AddLayer(top);
    const std::shared_ptr<Surface> flat = view.Flatten();
    EXPECT_EQ(flat->At(2, 2), 0x80FF0000u);
    // Rendering twice does not pile the half-transparent layer up.
    gfx::Bitmap canvas(10, 10);
    gfx::Graphics graphics(canvas);
    view.Render(true, graphics);
    const gfx::Argb first = canvas.GetPixel(5, 5);
    top->BeginEdit();
    top->OpenForWrite({0, 0, 4, 4});
    top->Commit();
    view.Render(true, graphics);
    EXPECT_EQ(canvas.GetPixel(5, 5), first);
}

} // namespace

namespace {

TEST(CanvasView, DrawsFromTheCoarsestPyramidLevelThatIsNotEnlarged)
{
    // 203 x 77 in 50 x 40: levels 102 x 39, 51 x 20 and 26 x 10. The fit, 0.246, draws
    // 51 level pixels into 50; far below the coarsest level, that one still serves.
    const std::pair<float, int32_t> zoomsAndLevels[] = {
        {0.25f, 2}, {0.25f * 1.0001f, 1}, {0.5f, 1}, {0.5f * 1.0001f, 0}, {1.0f, 0}, {3.0f, 0}, {0.01f, 3},
    };
    EXPECT_EQ(CanvasView(203, 77, 50, 40).DrawingLevel(), 2);
    for (const auto& [zoom, level] : zoomsAndLevels) {
        CanvasView view(203, 77, 50, 40);
        ASSERT_TRUE(view.SetZoom(zoom));
        EXPECT_EQ(view.DrawingLevel(), level) << zoom;
    }
    // A 48 MP phone picture fitted in the canvas draws from the 530 x 354 level.
    EXPECT_EQ(CanvasView(8480, 5664, 443, 621).DrawingLevel(), 4);
}

TEST(CanvasView, AtAPowerOfTwoZoomTheCanvasShowsThatLevelPixelForPixel)
{
    const std::shared_ptr<Surface> noise = testpictures::Noise(203, 77, 9);
    CanvasView view(203, 77, 40, 30);
    view.AddLayer(std::make_shared<PictureLayer>(noise));
    ASSERT_TRUE(view.SetZoom(0.25f));
    view.Scroll(0, 8 - view.SrcX()); // level 2 starts at its column 2
    ASSERT_EQ(view.SrcX(), 8);
    ASSERT_EQ(view.DestY(), 5); // (30 - trunc(77 / 4)) / 2
    PicturePyramid pyramid(203, 77, 40, 30);
    pyramid.Update(WrapAsBitmap(std::as_const(*noise)), noise->Bounds());
    gfx::Bitmap canvas(40, 30);
    gfx::Graphics graphics(canvas);
    view.Render(true, graphics);
    const gfx::Bitmap& level = pyramid.Level(2);
    // Level row 19 covers the picture's last row only, so the canvas row its centre
    // falls on lies past the picture and stays black.
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const bool shown = y >= 5 && y < 5 + 19;
            const gfx::Argb expected = shown ? level.GetPixel(2 + x, y - 5) : gfx::colors::Black;
            ASSERT_EQ(canvas.GetPixel(x, y), expected) << x << ", " << y;
        }
    }
}

} // namespace
