// The main window on Qt's offscreen platform: routing, tools and sliders, commands and
// the Environment, each checked through the real window class.

#include "MainWindowDriver.h"

#include "compare/CCompareDlg.h"
#include "faces/FaceMessages.h"
#include "files/AppFiles.h"
#include "imageio/Messages.h"
#include "imageio/PictureDecoder.h"
#include "shell/BusyCursor.h"
#include "support/TestPictures.h"
#include "tools/EffectOperation.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QTimer>

#include <cmath>
#include <vector>

using namespace Qimro::Behaviors;

namespace {

const char* const kCommands[] = {"save", "comp", "reset", "zoomIn", "zoomOut"};

bool SameArea(const gfx::Bitmap& a, const gfx::Bitmap& b, const gfx::Rect& area)
{
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        if (!std::equal(a.Scanline(y) + area.x, a.Scanline(y) + area.Right(), b.Scanline(y) + area.x)) {
            return false;
        }
    }
    return true;
}

gfx::Bitmap CopyOf(const gfx::Bitmap& b) { return b.Clone(); }

// The mean absolute difference per colour channel between a decoded JPEG and a surface.
double MeanDifference(const QImage& jpeg, const Surface& picture, int32_t atX = 0)
{
    double sum = 0;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const QRgb a = jpeg.pixel(atX + x, y);
            const uint32_t b = picture.At(x, y);
            sum += std::abs(qRed(a) - int(gfx::RedOf(b))) + std::abs(qGreen(a) - int(gfx::GreenOf(b))) +
                   std::abs(qBlue(a) - int(gfx::BlueOf(b)));
        }
    }
    return sum / (3.0 * picture.width * picture.height);
}

} // namespace

TEST(MainWindow, StartsEmptyAndOpeningEnablesAllButUndoKeepingThePictureWhenAFileFails)
{
    MainWindowDriver d;
    const gfx::Bitmap& skin = d.window->CleanSkin();
    for (const char* name : kCommands) {
        EXPECT_TRUE(d.Disabled(name)) << name;
    }
    for (const ToolRow& tool : ToolTable::Rows()) {
        EXPECT_TRUE(d.Disabled(std::string(tool.name))) << tool.name;
    }
    EXPECT_TRUE(SameArea(d.Screen(), skin, layout::kCanvas)) << "an empty canvas shows the bare skin";
    EXPECT_TRUE(SameArea(d.Screen(), skin, layout::kHelpPanel));
    EXPECT_TRUE(SameArea(d.Screen(), skin, layout::kSliders[0]));
    d.Key(Qt::Key_PageDown);
    d.window->Save();
    EXPECT_EQ(d.dialogs.Messages(), QStringList{QString::fromUtf8(messages::NoPicture)});

    d.OpenPicture(300, 200);
    ASSERT_NE(d.window->Session(), nullptr);
    for (const char* name : kCommands) {
        EXPECT_FALSE(d.Disabled(name)) << name;
    }
    for (const ToolRow& tool : ToolTable::Rows()) {
        EXPECT_FALSE(d.Disabled(std::string(tool.name))) << tool.name;
        EXPECT_FALSE(d.Selected(std::string(tool.name))) << tool.name;
    }
    EXPECT_TRUE(d.Disabled("undo"));
    EXPECT_FALSE(d.Disabled("rotate"));
    EXPECT_FALSE(SameArea(d.Screen(), skin, layout::kHelpPanel)) << "the help panel reads 请选择操作";
    gfx::Bitmap expected(layout::kCanvas.width, layout::kCanvas.height);
    gfx::Graphics graphics(expected);
    d.Session().View()->RenderFull(true, graphics);
    const gfx::Rect canvas = layout::kCanvas;
    for (int32_t y = 0; y < canvas.height; ++y) {
        ASSERT_TRUE(std::equal(expected.Scanline(y), expected.Scanline(y) + canvas.width,
                               d.Screen().Scanline(canvas.y + y) + canvas.x))
            << "canvas row " << y;
    }

    // One step, then a file that does not decode: its message, and the picture stays.
    d.ClickButton("blur");
    d.Click(MainWindowDriver::OnCanvas(200, 300));
    ASSERT_EQ(d.Session().Steps().Size(), 1u);
    const EditingSession* session = d.window->Session();
    const QString broken = d.folder.filePath("broken.jpg");
    QFile(broken).open(QIODevice::WriteOnly);
    d.dialogs.AnswerOpen(broken);
    d.window->Open();
    EXPECT_EQ(d.dialogs.Messages().last(), QString::fromStdString(PictureDecoder().Decode(broken.toStdString()).message));
    EXPECT_EQ(d.window->Session(), session);
    EXPECT_EQ(d.Session().Steps().Size(), 1u);
    EXPECT_TRUE(d.Selected("blur"));
}

TEST(MainWindow, CanvasEventsGoToTheToolByWhereTheCursorIsAndTheRestToTheWidgets)
{
    MainWindowDriver d;
    d.OpenPicture(300, 200); // fitted to the width: black bands above and below
    d.ClickButton("bc");
    ASSERT_TRUE(d.Selected("bc"));
    EXPECT_FALSE(d.window->Widgets().sliders[0]->Flag(Disabled{}));
    EXPECT_TRUE(d.window->Widgets().sliders[1]->Flag(Disabled{}));
    const std::shared_ptr<Operation> bc = d.window->CurrentOperation();

    // The canvas's border pixels belong to the widgets; the first pixel inside does not.
    for (const gfx::Point border : {MainWindowDriver::OnCanvas(0, 300), MainWindowDriver::OnCanvas(443, 300),
                                    MainWindowDriver::OnCanvas(200, 0), MainWindowDriver::OnCanvas(200, 621)}) {
        d.Press(border);
        EXPECT_EQ(bc->buttonState, 0) << border.x << "," << border.y;
        d.Release(border);
    }
    d.Press(MainWindowDriver::OnCanvas(1, 300));
    EXPECT_EQ(bc->buttonState, 1);
    d.Release(MainWindowDriver::OnCanvas(1, 300));
    EXPECT_EQ(bc->buttonState, 0);
    EXPECT_TRUE(d.Session().Steps().IsEmpty()) << "a brush on the picture's very edge is empty";

    // Pressed inside, released outside: the tool still holds the button, and dragging
    // back in goes on until a release inside.
    d.Press(MainWindowDriver::OnCanvas(150, 300));
    d.Release({500, 600});
    EXPECT_EQ(bc->buttonState, 1);
    EXPECT_TRUE(d.Session().Steps().IsEmpty());
    d.MoveTo(MainWindowDriver::OnCanvas(160, 310));
    d.MoveTo(MainWindowDriver::OnCanvas(170, 320));
    d.Release(MainWindowDriver::OnCanvas(170, 320));
    EXPECT_EQ(bc->buttonState, 0);
    EXPECT_EQ(d.Session().Steps().Size(), 1u);
    EXPECT_FALSE(d.Disabled("undo"));
    EXPECT_TRUE(d.Disabled("rotate"));

    // A click on the black band above the picture reaches the tool but changes nothing.
    d.Click(MainWindowDriver::OnCanvas(200, 20));
    EXPECT_EQ(d.Session().Steps().Size(), 1u);

    // The wheel sizes the brush wherever the mouse is, and the knob follows.
    const gfx::Bitmap before = CopyOf(d.Screen());
    const gfx::Rect knobBand = layout::kSliders[0].Inflated(5);
    const uint32_t size = std::get<3>(d.window->Widgets().Tool("bc").Payload())[0]->Value();
    d.MoveTo({520, 600});
    d.Wheel(-120);
    EXPECT_EQ(std::get<3>(d.window->Widgets().Tool("bc").Payload())[0]->Value(), size - 3);
    EXPECT_FALSE(SameArea(before, d.Screen(), knobBand));
    d.Wheel(120);
    EXPECT_EQ(std::get<3>(d.window->Widgets().Tool("bc").Payload())[0]->Value(), size);

    // Cursors: the tool's over the canvas, the help cursor over link1, else the arrow.
    d.MoveTo(MainWindowDriver::OnCanvas(200, 300));
    EXPECT_EQ(d.window->cursor().shape(), Qt::BitmapCursor);
    d.MoveTo(MainWindowDriver::Centre("link1"));
    EXPECT_EQ(d.window->cursor().shape(), Qt::BitmapCursor);
    d.MoveTo({520, 600});
    EXPECT_EQ(d.window->cursor().shape(), Qt::ArrowCursor);
    d.ClickButton("zoomOut");
    d.MoveTo(MainWindowDriver::OnCanvas(200, 300));
    EXPECT_EQ(d.window->cursor().shape(), Qt::BitmapCursor) << "zoom out keeps the tool and its cursor";
    d.ClickButton("reset");
    d.MoveTo(MainWindowDriver::OnCanvas(200, 300));
    EXPECT_EQ(d.window->cursor().shape(), Qt::ArrowCursor) << "no tool, no tool cursor";
}

TEST(MainWindow, KeysZoomAndScrollTheViewAndOthersReachTheTool)
{
    MainWindowDriver d;
    d.OpenPicture(300, 200);
    CanvasView& view = *d.Session().View();
    const float fit = view.Zoom();
    d.Key(Qt::Key_PageDown);
    EXPECT_EQ(view.Zoom(), float(double(fit) * 61.0 / 51.0));
    d.Key(Qt::Key_PageUp);
    EXPECT_EQ(view.Zoom(), float(double(float(double(fit) * 61.0 / 51.0)) * 51.0 / 61.0));
    for (int i = 0; i < 12; ++i) {
        d.Key(Qt::Key_PageDown);
    }
    const int32_t srcX = view.SrcX(), srcY = view.SrcY();
    d.Key(Qt::Key_Right);
    d.Key(Qt::Key_Down);
    EXPECT_EQ(view.SrcX(), srcX + 50);
    EXPECT_EQ(view.SrcY(), srcY + 50);
    d.Key(Qt::Key_Left);
    d.Key(Qt::Key_Up);
    EXPECT_EQ(view.SrcX(), srcX);
    EXPECT_EQ(view.SrcY(), srcY);

    // Delete goes to the line tool: it removes the point just placed, as an undo step.
    d.ClickButton("line");
    d.Click(MainWindowDriver::OnCanvas(220, 300));
    const std::shared_ptr<BezierItem> eyelid = d.Session().LineTool()->Current();
    ASSERT_EQ(eyelid->PointCount(), 1);
    d.Key(Qt::Key_Delete);
    EXPECT_EQ(eyelid->PointCount(), 0);
    EXPECT_EQ(d.Session().Steps().Size(), 2u);

    // Enter and Escape do not end the window; its close button does.
    bool endedByKeys = true;
    QTimer::singleShot(0, d.window.get(), [&] {
        d.Key(Qt::Key_Return);
        d.Key(Qt::Key_Escape);
        endedByKeys = !d.window->IsRunningModal();
        d.ClickButton("close");
    });
    EXPECT_EQ(d.window->RunModal(), shell::kModalCancel);
    EXPECT_FALSE(endedByKeys);
}

TEST(MainWindow, SlidersFollowTheSelectedToolAndSharedRangesMoveTogether)
{
    MainWindowDriver d;
    d.OpenPicture(240, 320);
    MainWidgets& widgets = d.window->Widgets();
    const gfx::Bitmap& skin = d.window->CleanSkin();
    d.ClickButton("line");
    EXPECT_FALSE(widgets.sliders[0]->Flag(Disabled{}));
    EXPECT_FALSE(widgets.sliders[1]->Flag(Disabled{}));
    const gfx::Bitmap withLine = CopyOf(d.Screen());
    EXPECT_FALSE(SameArea(withLine, skin, layout::kSliders[1])) << "the opacity knob shows";
    EXPECT_TRUE(widgets.EnabledSliderAt({layout::kSliders[1].x + 1, layout::kSliders[1].y + 1}).has_value());

    d.ClickButton("blur");
    EXPECT_TRUE(widgets.sliders[1]->Flag(Disabled{}));
    EXPECT_TRUE(SameArea(d.Screen(), skin, layout::kSliders[1])) << "a hidden slider leaves the bare skin";
    EXPECT_FALSE(widgets.EnabledSliderAt({layout::kSliders[1].x + 1, layout::kSliders[1].y + 1}).has_value());

    // Dragging the knob to the far right gives blur, and bc with it, the largest brush.
    const gfx::Rect track = layout::kSliders[0];
    const int32_t knob = widgets.sliders[0]->KnobX();
    d.MoveTo({knob, track.y + 3});
    d.Press({knob, track.y + 3});
    d.MoveTo({track.Right() + 30, track.y + 3});
    d.Release({track.Right() + 30, track.y + 3});
    EXPECT_EQ(std::get<3>(widgets.Tool("blur").Payload())[0]->Value(), 40u);
    d.ClickButton("bc");
    EXPECT_EQ(widgets.sliders[0]->KnobX(), track.Right());
    EXPECT_EQ(std::static_pointer_cast<EffectOperation>(d.window->CurrentOperation())->Radius(), 40);

    // Showing the line again brings back the opacity knob exactly as it was hidden.
    d.ClickButton("line");
    EXPECT_TRUE(SameArea(d.Screen(), withLine, layout::kSliders[1]));
    d.ClickButton("line"); // the selected tool takes no press
    EXPECT_TRUE(d.Selected("line"));
    d.ClickButton("move");
    EXPECT_TRUE(widgets.sliders[0]->Flag(Disabled{}));
    EXPECT_TRUE(widgets.sliders[1]->Flag(Disabled{}));
    EXPECT_EQ(d.window->CurrentOperation(), d.Session().MoveTool());

    // The view holds the move tool, which holds the view: closing still frees the picture.
    const std::weak_ptr<CanvasView> view = d.Session().View();
    d.window.reset();
    EXPECT_TRUE(view.expired());
}

TEST(MainWindow, CommandsZoomUndoRotateAndResetTheEditingState)
{
    MainWindowDriver d;
    d.OpenPicture(300, 200);
    const std::shared_ptr<Surface> opened = d.window->OpenedImage();
    const float fit = d.Session().View()->Zoom();
    d.ClickButton("blur");
    d.ClickButton("zoomIn");
    EXPECT_EQ(d.Session().View()->Zoom(), float(double(fit) * 61.0 / 51.0));
    EXPECT_TRUE(d.Selected("move"));
    d.ClickButton("zoomOut");
    EXPECT_TRUE(d.Selected("move")) << "zooming out keeps the tool";

    d.ClickButton("zoom");
    d.Click(MainWindowDriver::OnCanvas(220, 310));
    EXPECT_TRUE(d.Disabled("rotate"));
    d.ClickButton("rotate");
    EXPECT_EQ(d.window->OpenedImage(), opened) << "rotate is refused while steps can be undone";
    d.ClickButton("undo");
    EXPECT_TRUE(d.Disabled("undo"));
    EXPECT_FALSE(d.Disabled("rotate"));
    EXPECT_TRUE(testpictures::SamePixels(d.Session().Picture()->Working(), *opened));

    d.ClickButton("rotate");
    EXPECT_EQ(d.Session().View()->PictureWidth(), 200);
    EXPECT_EQ(d.Session().View()->PictureHeight(), 300);
    EXPECT_EQ(d.window->OpenedImage()->At(199, 0), opened->At(0, 0)) << "a quarter turn clockwise";
    EXPECT_FALSE(d.Selected("zoom"));
    for (int i = 0; i < 3; ++i) {
        d.ClickButton("rotate");
    }
    EXPECT_TRUE(testpictures::SamePixels(*d.window->OpenedImage(), *opened));

    // Reset: the fitted view, empty eyelids, no steps, the opened pixels.
    d.ClickButton("zoomIn");
    d.ClickButton("line");
    d.Click(MainWindowDriver::OnCanvas(220, 310));
    d.ClickButton("blur");
    d.Click(MainWindowDriver::OnCanvas(230, 300));
    d.ClickButton("reset");
    EXPECT_EQ(d.Session().View()->Zoom(), fit);
    EXPECT_TRUE(d.Session().Steps().IsEmpty());
    EXPECT_EQ(d.Session().LineTool()->Current()->PointCount(), 0);
    EXPECT_TRUE(testpictures::SamePixels(d.Session().Picture()->Working(), *opened));
    EXPECT_EQ(d.window->CurrentOperation(), d.window->IdleOperation());
}

TEST(MainWindow, ToolsSeeTheCursorThroughAZoomedAndScrolledView)
{
    MainWindowDriver d;
    EXPECT_EQ(d.window->PictureBounds(), (gfx::Rect{-1, -1, 0, 0}));
    EXPECT_EQ(d.window->CursorInPicture(), (gfx::Point{-1, -1}));
    d.OpenPicture(1000, 700);
    EXPECT_EQ(d.window->PictureBounds(), (gfx::Rect{0, 0, 1000, 700}));
    d.Key(Qt::Key_PageDown);
    d.Key(Qt::Key_PageDown);
    d.Key(Qt::Key_Right);
    d.Key(Qt::Key_Down);
    const CanvasView& view = *d.Session().View();
    ASSERT_GT(view.SrcX(), 0);
    for (const gfx::Point canvas : {gfx::Point{1, 1}, gfx::Point{221, 333}, gfx::Point{442, 620}}) {
        d.MoveTo(MainWindowDriver::OnCanvas(canvas.x, canvas.y));
        EXPECT_EQ(d.window->CursorInCanvas(), canvas);
        const gfx::Point expected{int32_t(float(canvas.x - view.DestX()) / view.Zoom()) + view.SrcX(),
                                  int32_t(float(canvas.y - view.DestY()) / view.Zoom()) + view.SrcY()};
        EXPECT_EQ(d.window->CursorInPicture(), expected);
    }
}

TEST(MainWindow, SaveWritesTheFlattenedPictureAndCompareSavesTheBeforeAndAfterPair)
{
    MainWindowDriver d;
    d.OpenPicture(160, 120);
    d.ClickButton("line");
    for (const int x : {150, 220, 290}) {
        d.Click(MainWindowDriver::OnCanvas(x, 300 + (x == 220 ? -20 : 0)));
    }
    d.ClickButton("bc");
    d.Click(MainWindowDriver::OnCanvas(200, 330));
    const std::shared_ptr<Surface> flat = d.Session().View()->Flatten();
    ASSERT_FALSE(testpictures::SamePixels(*flat, *d.window->OpenedImage()));

    d.dialogs.AnswerSave(d.folder.filePath("result"));
    d.ClickButton("save");
    EXPECT_EQ(d.dialogs.Messages(), QStringList{QString::fromUtf8(messages::Saved)});
    const QImage saved(d.folder.filePath("result.jpg"));
    ASSERT_EQ(saved.size(), QSize(160, 120));
    EXPECT_LT(MeanDifference(saved, *flat), 3.0);
    EXPECT_TRUE(d.Selected("bc")) << "saving keeps the tool";

    CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
    compare.InitAndShow();
    EXPECT_EQ(compare.ScreenRect(), layout::kCompareWindow);
    d.dialogs.AnswerSave(d.folder.filePath("pair"));
    compare.SaveComparison();
    EXPECT_EQ(d.dialogs.Messages().last(), QString::fromUtf8(messages::Saved));
    const QImage pair(d.folder.filePath("pair.jpg"));
    ASSERT_EQ(pair.size(), QSize(320, 120));
    EXPECT_LT(MeanDifference(pair, *d.window->OpenedImage()), 3.0);
    EXPECT_LT(MeanDifference(pair, *flat, 160), 3.0);
    EXPECT_EQ(d.Session().Steps().Size(), 4u) << "comparing changes nothing";
}

TEST(CompareWindow, FitsBothPicturesIntoSquaresWithBlackBands)
{
    MainWindowDriver d;
    d.OpenPicture(1000, 500);
    CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
    compare.InitAndShow();
    for (const CanvasView* view : {&compare.BeforeView(), &compare.AfterView()}) {
        EXPECT_FLOAT_EQ(view->Zoom(), 0.275f);
        EXPECT_EQ(view->DestY(), 69);
    }
    const gfx::Rect before = layout::kBeforeView, after = layout::kAfterView;
    EXPECT_EQ(compare.BackBuffer().GetPixel(before.x + 100, before.y + 10), 0xFF000000u);
    EXPECT_EQ(compare.BackBuffer().GetPixel(after.x + 100, after.y + 270), 0xFF000000u);
    EXPECT_EQ(compare.BackBuffer().GetPixel(before.x + 137, before.y + 137),
              compare.BackBuffer().GetPixel(after.x + 137, after.y + 137)) << "no edits: both halves alike";
}

// Work on a picture of more than 12 million pixels shows the wait cursor, on one of
// exactly 12 million it does not, and it is gone before any message shows.
TEST(MainWindow, LargePicturesShowTheWaitCursorWhileOpeningSavingRotatingAndResetting)
{
    MainWindowDriver d;
    const auto timesShown = [](const auto& work) {
        const int before = shell::BusyCursor::TimesShown();
        work();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        return shell::BusyCursor::TimesShown() - before;
    };
    for (const auto& [width, busy] : {std::pair{4000, 0}, std::pair{4001, 1}}) {
        d.dialogs.AnswerOpen(d.WritePicture("large.bmp", width, 3000));
        EXPECT_EQ(timesShown([&] { d.window->Open(); }), 2 * busy) << "decoding, then starting to edit";
        d.dialogs.AnswerSave(d.folder.filePath(QString::number(width)));
        EXPECT_EQ(timesShown([&] { d.ClickButton("save"); }), busy);
        EXPECT_EQ(timesShown([&] { d.ClickButton("rotate"); }), busy);
        EXPECT_EQ(timesShown([&] { d.ClickButton("reset"); }), busy);
        EXPECT_EQ(timesShown([&] { d.ClickButton("undo"); }), 0);
    }
    EXPECT_EQ(d.dialogs.Messages().size(), 2) << "both saved";
}

// The after view composes the main view's layers itself; it must show exactly what a
// view of the main view's flattened picture shows, eyelid line included.
TEST(CompareWindow, AfterViewShowsExactlyTheFlattenedPicture)
{
    MainWindowDriver d;
    d.OpenPicture(1100, 700);
    d.ClickButton("line");
    for (const int x : {150, 220, 290}) {
        d.Click(MainWindowDriver::OnCanvas(x, 300 + (x == 220 ? -30 : 0)));
    }
    d.ClickButton("bc");
    d.Click(MainWindowDriver::OnCanvas(230, 280));
    CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
    compare.InitAndShow();
    const auto expectShown = [&](const std::shared_ptr<const Surface>& picture, const gfx::Rect& where) {
        CanvasView reference(picture->width, picture->height, where.width, where.height);
        reference.AddLayer(std::make_shared<PictureLayer>(picture));
        gfx::Bitmap shown(where.width, where.height);
        gfx::Graphics graphics(shown);
        reference.Render(true, graphics);
        ASSERT_GT(reference.DrawingLevel(), 0);
        for (int32_t y = 0; y < where.height; ++y) {
            for (int32_t x = 0; x < where.width; ++x) {
                ASSERT_EQ(compare.BackBuffer().GetPixel(where.x + x, where.y + y), shown.GetPixel(x, y)) << x << "," << y;
            }
        }
    };
    expectShown(d.Session().View()->Flatten(), layout::kAfterView);
    expectShown(d.Session().Picture()->Baseline(), layout::kBeforeView);
}

namespace {

// What a step may change: the picture with its eyelid lines, the (left) eyelid's points,
// and the line's opacity, which Ctrl+Z would lower if it reached the line tool as Z.
using EditState = std::tuple<std::vector<uint32_t>, std::vector<gfx::PointF>, uint32_t>;

EditState StateOf(MainWindowDriver& d)
{
    const std::shared_ptr<Surface> flat = d.Session().View()->Flatten();
    return {{flat->pixels.get(), flat->pixels.get() + size_t(flat->width) * size_t(flat->height)},
            d.Session().LineTool()->Current()->Points(),
            d.Session().Tools().at("line").scopes[1]->Value()};
}

void Drag(MainWindowDriver& d, gfx::Point from, gfx::Point to)
{
    d.MoveTo(from);
    d.Press(from);
    for (int step = 1; step <= 3; ++step) {
        d.MoveTo({from.x + (to.x - from.x) * step / 3, from.y + (to.y - from.y) * step / 3});
    }
    d.Release(to);
}

gfx::Point At(int x, int y) { return MainWindowDriver::OnCanvas(x, y); }

} // namespace

TEST(MainWindow, RedoPutsBackExactlyWhatUndoTookAwayForEveryKindOfStep)
{
    struct Kind {
        const char* name;
        const char* tool;
        std::function<void(MainWindowDriver&)> prepare; // steps and picks the kind builds on
        std::function<void(MainWindowDriver&)> step;
    };
    const auto nothing = [](MainWindowDriver&) {};
    const auto addPoint = [](MainWindowDriver& d) { d.Click(At(200, 300)); };
    const Kind kinds[] = {
        {"brighten drag", "bc", nothing, [](MainWindowDriver& d) { Drag(d, At(150, 260), At(180, 290)); }},
        {"stretch", "stretch", nothing, [](MainWindowDriver& d) { Drag(d, At(220, 300), At(240, 318)); }},
        {"spot removal", "blur", nothing, [](MainWindowDriver& d) { d.Click(At(200, 300)); }},
        {"bloat", "zoom", nothing, [](MainWindowDriver& d) { d.Click(At(220, 300)); }},
        {"stamp", "copy", [](MainWindowDriver& d) { d.Click(At(150, 280), Qt::RightButton); },
         [](MainWindowDriver& d) { d.Click(At(260, 320)); }},
        {"eyelid point", "line", nothing, addPoint},
        {"eyelid point move", "line", addPoint, [](MainWindowDriver& d) { Drag(d, At(200, 300), At(230, 320)); }},
        {"eyelid point removal", "line", addPoint, [](MainWindowDriver& d) { d.Key(Qt::Key_Delete); }},
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        MainWindowDriver d;
        d.OpenPicture(360, 240);
        d.ClickButton(kind.tool);
        kind.prepare(d);
        const History& steps = d.Session().Steps();
        const size_t stepsBefore = steps.Size();
        const EditState before = StateOf(d);
        kind.step(d);
        const EditState after = StateOf(d);
        ASSERT_FALSE(after == before);
        ASSERT_EQ(steps.Size(), stepsBefore + 1);

        for (const auto& [key, modifiers] : {std::pair{Qt::Key_Y, ctrl}, std::pair{Qt::Key_Z, ctrlShift}}) {
            d.Key(Qt::Key_Z, ctrl);
            EXPECT_TRUE(StateOf(d) == before);
            EXPECT_EQ(d.Disabled("rotate"), !steps.IsEmpty()) << "redo does not count for rotate";
            d.Key(key, modifiers);
            EXPECT_TRUE(StateOf(d) == after);
            EXPECT_EQ(steps.Size(), stepsBefore + 1);
        }

        // A new step makes the undone one unreachable.
        d.Key(Qt::Key_Z, ctrl);
        d.ClickButton("blur");
        d.Click(At(180, 330));
        const EditState changed = StateOf(d);
        EXPECT_FALSE(steps.CanRedo());
        d.Key(Qt::Key_Y, ctrl);
        EXPECT_TRUE(StateOf(d) == changed);
    }
}

TEST(MainWindow, UndoAndRedoWaitForAGestureWhoseButtonWentUpOutsideTheCanvas)
{
    MainWindowDriver d;
    d.OpenPicture(360, 240);
    const std::shared_ptr<Surface> opened = d.window->OpenedImage();
    d.ClickButton("blur");
    d.Click(At(200, 300));
    d.ClickButton("bc");
    d.Press(At(205, 300));
    d.MoveTo(At(207, 301)); // one dab over the blurred spot
    d.Release({500, 600});  // outside: the gesture goes on
    d.ClickButton("undo");
    d.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(d.Session().Steps().Size(), 1u);
    d.MoveTo(At(210, 305));
    d.Release(At(210, 305));
    ASSERT_EQ(d.Session().Steps().Size(), 2u);
    d.ClickButton("undo");
    d.ClickButton("undo");
    EXPECT_TRUE(testpictures::SamePixels(d.Session().Picture()->Working(), *opened))
        << "undoing both steps gives the picture as opened";
    EXPECT_TRUE(d.Session().Steps().CanRedo());
    d.ClickButton("reset");
    EXPECT_FALSE(d.Session().Steps().CanRedo());
}

// Held keys and long walks through the history: each repeat of a held Ctrl+Z or Ctrl+Y
// moves exactly one step, redoing several steps in a row ends at the last edit, and a
// held Ctrl+S saves once.
TEST(MainWindow, HeldUndoAndRedoKeysWalkTheHistoryOneStepAtEachRepeat)
{
    MainWindowDriver d;
    d.OpenPicture(360, 240);
    std::vector<EditState> states = {StateOf(d)};
    d.ClickButton("blur");
    d.Click(At(200, 300));
    states.push_back(StateOf(d));
    d.ClickButton("bc");
    Drag(d, At(150, 260), At(180, 290));
    states.push_back(StateOf(d));
    d.ClickButton("line");
    d.Click(At(120, 310));
    states.push_back(StateOf(d));
    Drag(d, At(120, 310), At(140, 330));
    states.push_back(StateOf(d));
    const size_t last = states.size() - 1;

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    for (size_t k = 1; k <= last; ++k) {
        d.Key(Qt::Key_Z, ctrl, k > 1);
        EXPECT_TRUE(StateOf(d) == states[last - k]) << k << " undone";
    }
    d.Key(Qt::Key_Z, ctrl, true);
    EXPECT_TRUE(StateOf(d) == states[0]) << "nothing left to undo";
    for (size_t k = 1; k <= last; ++k) {
        d.Key(Qt::Key_Y, ctrl, k > 1);
        EXPECT_TRUE(StateOf(d) == states[k]) << k << " redone";
    }
    EXPECT_FALSE(d.Session().Steps().CanRedo());

    d.dialogs.AnswerSave(d.folder.filePath("held"));
    d.dialogs.AnswerSave(d.folder.filePath("again"));
    d.Key(Qt::Key_S, ctrl);
    for (int repeat = 0; repeat < 3; ++repeat) {
        d.Key(Qt::Key_S, ctrl, true);
    }
    EXPECT_EQ(d.dialogs.SaveDialogsShown(), 1);
    EXPECT_FALSE(QFile::exists(d.folder.filePath("again.jpg")));
}

// Space lends the move tool; when the window loses the keyboard while Space is down,
// its release never comes, and the chosen tool must come back all the same.
TEST(MainWindow, LosingTheKeyboardWhileSpaceIsHeldGivesTheChosenToolBack)
{
    MainWindowDriver d;
    d.OpenPicture(360, 240);
    d.ClickButton("bc");
    const std::shared_ptr<Operation> chosen = d.window->CurrentOperation();
    d.Key(Qt::Key_Space);
    d.Key(Qt::Key_Space, Qt::NoModifier, true);
    ASSERT_EQ(d.window->CurrentOperation(), d.Session().MoveTool());
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(d.window.get(), &lost);
    EXPECT_EQ(d.window->CurrentOperation(), chosen);
    EXPECT_TRUE(d.Selected("bc"));
    d.KeyUp(Qt::Key_Space); // a late release changes nothing
    EXPECT_EQ(d.window->CurrentOperation(), chosen);
}

// The one-click skin smoothing on the sample portrait: one step that changes the face's
// skin only, which undo takes back exactly, redo puts back exactly, and the backslash key
// hides while held; a picture without a face is refused with a message and no step.
TEST(MainWindow, AutoSmoothIsOneStepOnTheFaceAndTellsWhenThereIsNone)
{
    MainWindowDriver d;
    d.dialogs.AnswerOpen(QStringLiteral(MIRAVO_SAMPLES_DIR "/portrait.png"));
    d.window->Open();
    const std::shared_ptr<Surface> opened = d.window->OpenedImage();
    const auto canvasPixels = [&d] {
        const gfx::Bitmap& canvas = d.window->CanvasBitmap();
        return std::vector<gfx::Argb>(canvas.Pixels(), canvas.Pixels() + size_t(canvas.Width()) * size_t(canvas.Height()));
    };
    const std::vector<gfx::Argb> openedCanvas = canvasPixels();
    d.ClickButton("autoSmooth");
    ASSERT_EQ(d.Session().Steps().Size(), 1u);
    ASSERT_EQ(d.window->Faces().Wait().faces.size(), 1u);
    const std::shared_ptr<Surface> smoothed = CopySurface(d.Session().Picture()->Working());
    const gfx::Rect face = d.window->Faces().Wait().faces[0].box;
    int32_t changed = 0, changedOutsideFace = 0;
    for (int32_t y = 0; y < opened->height; ++y) {
        for (int32_t x = 0; x < opened->width; ++x) {
            if (opened->At(x, y) != smoothed->At(x, y)) {
                ++changed;
                changedOutsideFace += !face.Inflated(face.width / 2).Contains(x, y);
            }
        }
    }
    EXPECT_GT(changed, 1000);
    EXPECT_EQ(changedOutsideFace, 0);

    EXPECT_FALSE(canvasPixels() == openedCanvas);
    d.Key(Qt::Key_Backslash);
    EXPECT_TRUE(canvasPixels() == openedCanvas) << "backslash shows the picture as opened";
    d.KeyUp(Qt::Key_Backslash);
    EXPECT_FALSE(canvasPixels() == openedCanvas);
    d.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(testpictures::SamePixels(d.Session().Picture()->Working(), *opened));
    d.Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(testpictures::SamePixels(d.Session().Picture()->Working(), *smoothed));
    EXPECT_TRUE(d.dialogs.Messages().isEmpty());

    // Pictures without a face, down to a single pixel or a single row.
    for (const auto& [width, height] : {std::pair{300, 200}, std::pair{1, 1}, std::pair{30000, 1}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        d.dialogs.AnswerOpen(d.WritePicture("noface.png", width, height));
        d.window->Open();
        d.ClickButton("autoSmooth");
        EXPECT_EQ(d.dialogs.Messages().last(), QString::fromUtf8(facemessages::NoFace));
        EXPECT_TRUE(d.Session().Steps().IsEmpty());
    }
}

// Without its model the one-click smoothing is off and its tip says why; the smoothing
// brush still works, by colour alone. The new tools' buttons have tips of their own, the
// first release's have none.
TEST(MainWindow, AutoSmoothWithoutItsModelIsOffAndItsTipSaysWhy)
{
    MainWindowDriver d("/no/such/folder/landmarks.dat");
    d.OpenPicture(300, 200);
    ASSERT_FALSE(d.window->Faces().Wait().problem.empty());
    d.OpenPicture(320, 200); // the model's fault is known by now
    EXPECT_TRUE(d.Disabled("autoSmooth"));
    d.ClickButton("autoSmooth");
    EXPECT_TRUE(d.dialogs.Messages().isEmpty()) << "a disabled button does nothing";
    const std::optional<shell::ToolTip> why = d.window->ToolTipAt(MainWindowDriver::Centre("autoSmooth"));
    ASSERT_TRUE(why.has_value());
    EXPECT_TRUE(why->text.contains(QStringLiteral("/no/such/folder/landmarks.dat"))) << why->text.toStdString();
    for (const char* tool : {"smooth", "heal"}) {
        EXPECT_TRUE(d.window->ToolTipAt(MainWindowDriver::Centre(tool)).has_value()) << tool;
    }
    EXPECT_FALSE(d.window->ToolTipAt(MainWindowDriver::Centre("blur")).has_value());

    d.ClickButton("smooth");
    Drag(d, At(150, 280), At(220, 320));
    EXPECT_EQ(d.Session().Steps().Size(), 1u) << "the brush works by colour alone";
}

// The decoder helper as the tests build it aborts on a marked file: the window says the
// picture cannot be opened, and the picture being edited, its history and the tool stay.
TEST(MainWindow, AHelperThatAbortsLeavesThePictureAndItsEditsAsTheyWere)
{
    MainWindowDriver d;
    d.OpenPicture(300, 170);
    d.ClickButton("blur");
    d.Click(MainWindowDriver::OnCanvas(200, 300));
    d.Click(MainWindowDriver::OnCanvas(260, 320));
    ASSERT_EQ(d.Session().Steps().Size(), 2u);
    const EditingSession* session = d.window->Session();
    const gfx::Bitmap picture = WrapAsBitmap(d.Session().Picture()->Working()).Clone();
    const gfx::Bitmap screen = d.Screen().Clone();

    QFile marked(d.folder.filePath("marked.gif"));
    ASSERT_TRUE(marked.open(QIODevice::WriteOnly));
    marked.write("GIF89a\x01\x00\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02L\x01\x00;MIRAVO-ABORT", 41);
    marked.close();
    d.dialogs.AnswerOpen(marked.fileName());
    SetDecoderHelperForTesting(MIRAVO_FAILING_DECODER);
    d.window->Open();
    SetDecoderHelperForTesting({});

    ASSERT_EQ(d.dialogs.Messages().size(), 1);
    EXPECT_EQ(d.dialogs.Messages().last(), QString::fromUtf8(messages::OpenFailed) + QString::fromUtf8(messages::DecoderCrashed));
    EXPECT_EQ(d.window->Session(), session);
    EXPECT_EQ(d.Session().Steps().Size(), 2u);
    EXPECT_TRUE(d.Selected("blur"));
    const Surface& after = d.Session().Picture()->Working();
    for (int32_t y = 0; y < picture.Height(); ++y) {
        ASSERT_TRUE(std::equal(picture.Scanline(y), picture.Scanline(y) + picture.Width(), after.pixels.get() + size_t(y) * size_t(after.width)))
            << "picture row " << y;
    }
    d.window->repaint();
    EXPECT_TRUE(SameArea(screen, d.Screen(), gfx::Rect{0, 0, screen.Width(), screen.Height()}));
    // Still at work: undo takes back the second click.
    d.ClickButton("undo");
    EXPECT_EQ(d.Session().Steps().Size(), 1u);
}
