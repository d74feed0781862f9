#include "tools/BezierItem.h"

#include "engine/UserMessages.h"
#include "gfx/Blend.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Captures what would be shown to the user while alive.
class CapturedMessages {
public:
    CapturedMessages()
    {
        previous_ = SetUserMessageHandler([this](const std::string& text) { texts.push_back(text); });
    }
    ~CapturedMessages() { SetUserMessageHandler(previous_); }
    std::vector<std::string> texts;

private:
    UserMessageHandler previous_;
};

std::shared_ptr<const Surface> PlainTexture(uint32_t colour) { return testpictures::Filled(16, 4, colour); }

std::shared_ptr<BezierItem> MakeItem(uint32_t textureColour = 0xFF000000)
{
    return std::make_shared<BezierItem>(PlainTexture(textureColour), std::make_shared<OperationScope>(2, 14),
                                        std::make_shared<OperationScope>(0, 128));
}

TEST(BezierItem, CurvePixelsFollowTheControlPolygonAsOneCurve)
{
    auto item = MakeItem();
    item->AppendPoint(10, 20);
    item->AppendPoint(30, 20);
    std::vector<gfx::Point> straight;
    for (int32_t x = 10; x <= 30; ++x) {
        straight.push_back({x, 20});
    }
    // The end point itself is reached only as the first point of a piece, so the last
    // pixel is the one just before it.
    straight.pop_back();
    EXPECT_EQ(item->CurvePixels(), straight);

    // Three points make one parabola through the first and last, bulging toward the middle one.
    auto arc = MakeItem();
    arc->AppendPoint(0, 40);
    arc->AppendPoint(20, 0);
    arc->AppendPoint(40, 40);
    const std::vector<gfx::Point>& pixels = arc->CurvePixels();
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(std::find(pixels.begin(), pixels.end(), gfx::Point{0, 40}), pixels.end());
    int32_t top = 40;
    for (gfx::Point p : pixels) {
        top = std::min(top, p.y);
        // On the curve B(t) = (40t, 40(1 - 2t + 2t^2)): y = 40 - 2x + x^2 / 20.
        const double expected = 40.0 - 2.0 * p.x + p.x * p.x / 20.0;
        EXPECT_NEAR(p.y, expected, 3.0) << p.x;
    }
    EXPECT_EQ(top, 20); // the apex sits half way to the middle control point
    // Ascending x, then y; no duplicates.
    EXPECT_TRUE(std::is_sorted(pixels.begin(), pixels.end(), [](gfx::Point a, gfx::Point b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    }));

    // A curve whose ends coincide stops at its first point.
    auto loop = MakeItem();
    loop->AppendPoint(5, 5);
    loop->AppendPoint(50, 50);
    loop->AppendPoint(5.5f, 5.5f);
    EXPECT_EQ(loop->CurvePixels(), (std::vector<gfx::Point>{{5, 5}}));
}

TEST(BezierItem, HoldsAtMostTwelvePointsAndSaysSo)
{
    CapturedMessages messages;
    auto item = MakeItem();
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(item->CanAddPoint());
        item->AppendPoint(float(i * 20), 5);
    }
    EXPECT_TRUE(messages.texts.empty());
    const std::vector<gfx::PointF> before = item->Points();
    EXPECT_FALSE(item->CanAddPoint());
    EXPECT_EQ(item->InsertPoint(3, 1, 1), 0);
    EXPECT_EQ(item->Points(), before);
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"不能超过 12 个控制点.", "不能超过 12 个控制点."}));
}

TEST(BezierItem, HitTestFindsTheNearestPointCloserThanTenPixels)
{
    auto item = MakeItem();
    item->AppendPoint(10, 0);   // exactly 10 from the origin
    item->AppendPoint(0, 9.9f); // 9.9 from the origin
    item->AppendPoint(40, 40);
    item->AppendPoint(40, 40); // same place: the lower index wins
    struct Case {
        int32_t x, y, expected;
    };
    for (const Case c : {Case{0, 0, 1}, Case{19, 0, 0}, Case{20, 0, -1}, Case{10, 1, 0}, Case{40, 40, 2}, Case{100, 100, -1},
                         Case{50, 40, -1}}) {
        EXPECT_EQ(item->HitTest(c.x, c.y), c.expected) << c.x << ", " << c.y;
    }
    auto lone = MakeItem();
    lone->AppendPoint(10, 0);
    EXPECT_EQ(lone->HitTest(0, 0), -1);
}

TEST(BezierItem, InsertAndRemoveKeepOrderAndSelection)
{
    auto item = MakeItem();
    item->AppendPoint(1, 1);
    item->AppendPoint(3, 3);
    EXPECT_EQ(item->InsertPoint(1, 2, 2), 1);
    EXPECT_EQ(item->Selected(), 1);
    EXPECT_EQ(item->Points(), (std::vector<gfx::PointF>{{1, 1}, {2, 2}, {3, 3}}));

    item->SetSelected(0);
    EXPECT_EQ(item->RemoveSelected(), 0);
    EXPECT_EQ(item->Points(), (std::vector<gfx::PointF>{{2, 2}, {3, 3}}));
    EXPECT_EQ(item->Selected(), 1); // the new last point
    EXPECT_EQ(item->RemoveSelected(), 1);
    EXPECT_EQ(item->RemoveSelected(), 0);
    EXPECT_EQ(item->Selected(), -1);
    EXPECT_EQ(item->RemoveSelected(), -1);
    EXPECT_EQ(item->PointCount(), 0);

    // Out-of-range indexes are clamped, never written past the points.
    EXPECT_EQ(item->InsertPoint(7, 5, 5), 0);
    EXPECT_EQ(item->InsertPoint(-3, 4, 4), 0);
    EXPECT_EQ(item->Points(), (std::vector<gfx::PointF>{{4, 4}, {5, 5}}));
}

// Draws the item over a plain picture and returns the result.
std::shared_ptr<Surface> DrawnOver(BezierItem& item, uint32_t pictureColour, int32_t width = 60, int32_t height = 40)
{
    auto picture = testpictures::Filled(width, height, pictureColour);
    gfx::Bitmap bitmap = WrapAsBitmap(*picture);
    gfx::Graphics graphics(bitmap);
    item.Draw(graphics);
    return picture;
}

TEST(BezierItem, PaintsADarkeningLineAtItsOpacity)
{
    auto item = MakeItem(0xFF505050); // texture channel 80
    item->AppendPoint(10, 20);
    item->AppendPoint(50, 20);
    item->Opacity().SetValue(128);
    const std::shared_ptr<Surface> drawn = DrawnOver(*item, 0xFFC8C8C8); // picture channel 200

    // Each colour is max(200 + 80 - 255, 0) = 25 at alpha 128, always computed from the
    // picture beneath. Every painted pixel is a 2 x 2 block, so inside the line each
    // pixel is blended four times, along its edges twice and at a corner once.
    auto blendedTimes = [](int times) {
        gfx::Argb c = 0xFFC8C8C8;
        for (int i = 0; i < times; ++i) {
            c = gfx::BlendSourceOver(c, 0x80191919);
        }
        return c;
    };
    EXPECT_EQ(blendedTimes(1), 0xFF707070u); // (25 * 128 + 200 * 127) / 255 = 112
    EXPECT_EQ(drawn->At(30, 20), blendedTimes(4));
    // Height 8: rows 20 - 4 .. 20 + 3, and the blocks reach one row further.
    EXPECT_EQ(drawn->At(30, 16), blendedTimes(2));
    EXPECT_EQ(drawn->At(30, 24), blendedTimes(2));
    EXPECT_EQ(drawn->At(10, 16), blendedTimes(1));
    EXPECT_EQ(drawn->At(30, 15), 0xFFC8C8C8u);
    EXPECT_EQ(drawn->At(30, 25), 0xFFC8C8C8u);
    EXPECT_EQ(drawn->At(9, 20), 0xFFC8C8C8u);
    EXPECT_EQ(drawn->At(50, 20), blendedTimes(2));
    EXPECT_EQ(drawn->At(51, 20), 0xFFC8C8C8u);
    EXPECT_EQ(item->LineArea(), (gfx::Rect{10, 16, 41, 9}));

    // White texture leaves the picture as it was.
    auto white = MakeItem(0xFFFFFFFF);
    white->AppendPoint(10, 20);
    white->AppendPoint(50, 20);
    EXPECT_TRUE(testpictures::SamePixels(*DrawnOver(*white, 0xFF336699), *testpictures::Filled(60, 40, 0xFF336699)));

    // Zero opacity, one point or none: nothing painted.
    auto faint = MakeItem();
    faint->AppendPoint(10, 20);
    EXPECT_TRUE(testpictures::SamePixels(*DrawnOver(*faint, 0xFF336699), *testpictures::Filled(60, 40, 0xFF336699)));
    faint->AppendPoint(50, 20);
    faint->Opacity().SetValue(0);
    EXPECT_TRUE(testpictures::SamePixels(*DrawnOver(*faint, 0xFF336699), *testpictures::Filled(60, 40, 0xFF336699)));
}

TEST(BezierItem, LineNearThePictureEdgeIsCutNotWrappedOrOverrun)
{
    auto item = MakeItem();
    item->AppendPoint(0, 0);
    item->AppendPoint(59, 0);
    item->Height().SetValue(14);
    const std::shared_ptr<Surface> drawn = DrawnOver(*item, 0xFFC8C8C8);
    EXPECT_NE(drawn->At(10, 0), 0xFFC8C8C8u);
    EXPECT_NE(drawn->At(10, 7), 0xFFC8C8C8u);
    EXPECT_EQ(drawn->At(10, 8), 0xFFC8C8C8u);
    EXPECT_EQ(drawn->At(10, 39), 0xFFC8C8C8u); // nothing wrapped to the bottom
}

TEST(BezierItem, ReportsTheAreaBeforeAndAfterEveryChange)
{
    auto item = MakeItem();
    EXPECT_TRUE(item->TakeChangedAreas().empty());
    item->AppendPoint(10, 20);
    EXPECT_TRUE(item->TakeChangedAreas().empty()); // one point paints no line
    item->AppendPoint(30, 20);
    const gfx::Rect first = item->LineArea();
    EXPECT_EQ(item->TakeChangedAreas(), (std::vector<gfx::Rect>{first}));
    EXPECT_TRUE(item->TakeChangedAreas().empty());

    item->MovePoint(1, {30, 50});
    const gfx::Rect moved = item->LineArea();
    EXPECT_EQ(item->TakeChangedAreas(), (std::vector<gfx::Rect>{first, moved}));

    item->Height().SetValue(12);
    const gfx::Rect thicker = item->LineArea();
    EXPECT_EQ(item->TakeChangedAreas(), (std::vector<gfx::Rect>{moved, thicker}));

    item->Opacity().SetValue(16);
    EXPECT_EQ(item->TakeChangedAreas(), (std::vector<gfx::Rect>{thicker, thicker}));

    // Selection and markers are screen feedback, not part of the line.
    item->SetSelected(0);
    item->SetActive(true);
    EXPECT_TRUE(item->TakeChangedAreas().empty());

    item->SetSelected(1);
    item->RemoveSelected();
    EXPECT_EQ(item->TakeChangedAreas(), (std::vector<gfx::Rect>{thicker}));
}

TEST(BezierItem, MarkersStayVisibleWhenTheViewShrinksThePicture)
{
    auto item = MakeItem();
    item->AppendPoint(600, 600);
    item->AppendPoint(3000, 900);
    item->SetSelected(1);
    gfx::Bitmap canvas(443, 621);
    gfx::Graphics graphics(canvas);
    const ViewTransform fitted{0.0738f, 0.0f, 0.0f}; // a 6000-pixel picture in the canvas

    graphics.Clear(gfx::colors::Black);
    item->DrawControlPoints(graphics, fitted);
    EXPECT_EQ(canvas.GetPixel(44, 44), gfx::colors::Black); // hidden while inactive

    item->SetActive(true);
    item->DrawControlPoints(graphics, fitted);
    // The first marker: red, at least 5 canvas pixels across, round the point's place.
    int32_t left = 443, right = -1;
    for (int32_t x = 30; x < 60; ++x) {
        for (int32_t y = 30; y < 60; ++y) {
            if (canvas.GetPixel(x, y) == 0xFFFF0000u) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_GE(right - left + 1, 5);
    EXPECT_LE(left, 44);
    EXPECT_GE(right, 44);
    // The selected one is drawn green on top.
    bool green = false;
    for (int32_t x = 215; x < 230; ++x) {
        for (int32_t y = 60; y < 75; ++y) {
            green = green || canvas.GetPixel(x, y) == 0xFF008000u;
        }
    }
    EXPECT_TRUE(green);

    // At 4x the outline is as thick as a picture pixel on screen.
    gfx::Bitmap zoomed(100, 100);
    gfx::Graphics zoomedGraphics(zoomed);
    auto small = MakeItem();
    small->AppendPoint(2, 2);
    small->SetSelected(-1);
    small->SetActive(true);
    small->DrawControlPoints(zoomedGraphics, ViewTransform{4.0f, 0.0f, 0.0f});
    int32_t redInRow = 0;
    for (int32_t x = 0; x < 100; ++x) {
        redInRow += zoomed.GetPixel(x, 20) == 0xFFFF0000u ? 1 : 0;
    }
    EXPECT_GE(redInRow, 8); // two sides, about 4 pixels each
}

TEST(BezierItem, EyelidTextureAddsOneHundredTwelveToEachColourByte)
{
    gfx::Bitmap image(2, 1);
    image.SetPixel(0, 0, 0x80102030);
    image.SetPixel(1, 0, 0xFF90FFA0);
    const std::shared_ptr<const Surface> texture = BezierItem::MakeEyelidTexture(image);
    EXPECT_EQ(texture->At(0, 0), 0x808090A0u);
    EXPECT_EQ(texture->At(1, 0), 0xFF006F10u);
}

} // namespace
