// The whole program in a real window: started with the sample portrait, used with the
// mouse and the keyboard through xdotool, checked by screenshots and by the files it writes.

#include "FittedCanvas.h"
#include "ProgramDriver.h"
#include "platform/shell/QtTestApp.h"

#include "app/MainWidgets.h"
#include "layout/WindowLayout.h"
#include "shell/TextPainter.h"

#include <QFile>

namespace {

using namespace xdisplay;

const std::string kPortrait = std::string(MIRAVO_SAMPLES_DIR) + "/portrait.png";
const gfx::Rect kCanvas = layout::kCanvas;

gfx::Rect Place(std::string_view name) { return MainWidgets::PlaceOf(name); }
gfx::Point OnCanvas(int x, int y) { return {kCanvas.x + x, kCanvas.y + y}; }

QImage HelpPanel(const char* text)
{
    gfx::Bitmap panel(layout::kHelpPanel.width, layout::kHelpPanel.height);
    std::fill(panel.Pixels(), panel.Pixels() + size_t(panel.Width()) * size_t(panel.Height()), gfx::colors::White);
    shell::TextPainter().Draw(panel, panel.Bounds(), QString::fromUtf8(text), gfx::MakeArgb(255, 0, 0, 128));
    return shell::ToQImage(panel).convertToFormat(QImage::Format_RGB32);
}

// The mean absolute difference per channel of two pictures of one size, the second
// read from x0 on.
double MeanDifference(const QImage& a, const QImage& b, int x0 = 0)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x0 + x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

class EndToEndTest : public ProgramTest {
protected:
    QImage Canvas() { return Area(Shot(), kCanvas); }
    // Waits for the canvas to show exactly the expected picture.
    bool CanvasShows(const QImage& expected)
    {
        return Same(Area(WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), expected); }), kCanvas),
                    expected);
    }
    // Waits for the canvas to show something else than before.
    QImage CanvasChangedFrom(const QImage& before)
    {
        return Area(WaitForShot([&](const QImage& shot) { return !Same(Area(shot, kCanvas), before); }), kCanvas);
    }
    bool ShowsDisabled(const QImage& shot, const char* button)
    {
        return Shows(shot, Place(button), Skin(std::string(button) + "_3.bmp"));
    }
    bool ShowsEnabled(const QImage& shot, const char* button)
    {
        return Shows(shot, Place(button), Area(Skin("main.bmp"), Place(button)));
    }
};

} // namespace

TEST_F(EndToEndTest, RetouchCompareSaveUndoZoomAndReset)
{
    TestApplication(); // fonts, for the help text drawn here
    StartProgram("'" + kPortrait + "'");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    const QImage portrait = FittedCanvas(kPortrait).Image();
    ParkPointer();
    QImage shot = WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), portrait); });
    ASSERT_TRUE(Same(Area(shot, kCanvas), portrait)) << "the canvas shows the portrait fitted: " << Log();
    for (const char* button : {"save", "comp", "reset", "zoomIn", "zoomOut", "rotate", "line", "move"}) {
        EXPECT_TRUE(ShowsEnabled(shot, button)) << button;
    }
    EXPECT_TRUE(ShowsDisabled(shot, "undo"));
    EXPECT_TRUE(Shows(shot, layout::kHelpPanel, HelpPanel("请选择操作")));

    // Each tool once, with the gestures its help text describes.
    QImage canvas = Area(shot, kCanvas);
    struct Gesture {
        const char* tool;
        std::function<void()> act;
    };
    const Gesture gestures[] = {
        {"line", [&] {
             for (const gfx::Point p : {OnCanvas(172, 222), OnCanvas(187, 216), OnCanvas(202, 222)}) {
                 Click(p.x, p.y);
             }
             const gfx::Rect track = layout::kSliders[0];
             Drag({track.x + 55, track.y + 3}, {track.Right() - 5, track.y + 3}); // the line's height
         }},
        {"stretch", [&] { Drag(OnCanvas(230, 330), OnCanvas(245, 345)); }},
        {"bc", [&] { Click(OnCanvas(200, 380).x, OnCanvas(200, 380).y); }},
        {"blur", [&] { Click(OnCanvas(215, 290).x, OnCanvas(215, 290).y); }},
        {"copy", [&] {
             Click(OnCanvas(300, 450).x, OnCanvas(300, 450).y, 3);
             Click(OnCanvas(150, 420).x, OnCanvas(150, 420).y, 1);
         }},
        {"zoom", [&] { Click(OnCanvas(320, 300).x, OnCanvas(320, 300).y); }},
    };
    for (const Gesture& gesture : gestures) {
        SCOPED_TRACE(gesture.tool);
        Click(Place(gesture.tool));
        gesture.act();
        const QImage changed = CanvasChangedFrom(canvas);
        EXPECT_FALSE(Same(changed, canvas));
        canvas = changed;
        EXPECT_TRUE(ShowsEnabled(Shot(), "undo"));
    }
    Click(Place("move"));
    canvas = CanvasChangedFrom(canvas); // without the brush circle
    Drag(OnCanvas(200, 300), OnCanvas(260, 340)); // the whole picture fits: nothing to pan
    EXPECT_TRUE(Same(Canvas(), canvas)) << "panning a fitted picture moves nothing";
    EXPECT_TRUE(ShowsDisabled(Shot(), "rotate"));

    // Compare, and save the pair.
    Click(Place("comp"));
    const std::string compare = WaitForWindow("^前后对比$");
    ASSERT_FALSE(compare.empty()) << Log();
    EXPECT_EQ(Position(compare), QPoint(30, 30));
    const QImage pair = Shot(compare);
    EXPECT_FALSE(Same(Area(pair, layout::kBeforeView), Area(pair, layout::kAfterView)));
    Click(layout::PlaceOf(layout::kCompareWidgets, "compsave"), compare);
    SaveAs((dir_ / "pair").string());
    Key("Return", compare);
    const QImage pairFile(QString::fromStdString((dir_ / "pair.jpg").string()));
    ASSERT_EQ(pairFile.size(), QSize(1024, 512));

    // Save the result: the right half of the pair, as edited, and not the portrait.
    Click(Place("save"));
    SaveAs((dir_ / "result").string());
    const QImage result(QString::fromStdString((dir_ / "result.jpg").string()));
    ASSERT_EQ(result.size(), QSize(512, 512));
    EXPECT_LT(MeanDifference(result, pairFile, 512), 3.0);
    const QImage original = QImage(QString::fromStdString(kPortrait)).convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(MeanDifference(original, pairFile), 3.0) << "the left half is the picture as opened";
    EXPECT_GT(MeanDifference(original, result), 0.05) << "the result holds the edits";

    // Undo every step: the portrait again, and rotate comes back.
    for (int i = 0; i < 20 && !ShowsDisabled(Shot(), "undo"); ++i) {
        Click(Place("undo"));
    }
    ParkPointer();
    shot = WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), portrait); });
    EXPECT_TRUE(Same(Area(shot, kCanvas), portrait));
    EXPECT_TRUE(ShowsEnabled(shot, "rotate"));
    EXPECT_TRUE(ShowsDisabled(shot, "undo"));

    // Zoom in selects the move tool, a drag pans, Page Up zooms out again and below fit.
    Click(Place("zoomIn"));
    canvas = CanvasChangedFrom(portrait);
    EXPECT_TRUE(Shows(Shot(), Place("move"), Skin("move_2.bmp"))) << "the move tool is selected";
    Drag(OnCanvas(200, 300), OnCanvas(260, 340));
    canvas = CanvasChangedFrom(canvas);
    Key("Page_Up");
    canvas = CanvasChangedFrom(canvas);
    Key("Page_Up");
    canvas = CanvasChangedFrom(canvas);
    EXPECT_EQ(canvas.pixel(5, 300) & 0xFFFFFF, 0u) << "a picture smaller than the canvas has black margins";

    // Reset: the portrait as opened, fitted.
    Click(Place("reset"));
    ParkPointer();
    shot = WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), portrait); });
    EXPECT_TRUE(Same(Area(shot, kCanvas), portrait));
    EXPECT_TRUE(ShowsDisabled(shot, "undo"));
    EXPECT_TRUE(Shows(shot, layout::kHelpPanel, HelpPanel("请选择操作")));
}

TEST_F(EndToEndTest, WindowMovesByItsBandKeepsItsPictureAndOpensItsPagesAndMenu)
{
    TestApplication();
    StartProgram("'" + kPortrait + "'");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    ParkPointer();
    const QImage portrait = FittedCanvas(kPortrait).Image();
    const QImage started = WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), portrait); });
    ASSERT_TRUE(Same(Area(started, kCanvas), portrait));
    const QPoint origin = Position();

    // A press on the close button never drags, and a release off it does not close.
    const gfx::Rect close = Place("close");
    Drag({close.x + 11, close.y + 9}, {close.x - 100, close.y + 60});
    EXPECT_EQ(Position(), origin);
    // Enter and Escape would lose every edit: they leave the window alone.
    Key("Return");
    Key("Escape");
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(WaitForWindow("^Miravo$").empty()) << "the window is still there";
    // The band drags the window along.
    Drag({300, 20}, {340, 50});
    QPoint moved = Position();
    for (int i = 0; i < 25 && moved == origin; ++i) {
        std::this_thread::sleep_for(100ms);
        moved = Position();
    }
    EXPECT_EQ(moved, origin + QPoint(40, 30));

    // Hidden and shown again, the window shows the same picture from its back buffer.
    ParkPointer();
    ASSERT_EQ(Xdo("windowunmap --sync " + window_), 0);
    ASSERT_EQ(Xdo("windowmap --sync " + window_), 0);
    EXPECT_TRUE(Same(WaitForShot([&](const QImage& s) { return Same(s, started); }), started));

    // The system menu from the band's right button, its About entry, and Alt+Space.
    Click(300, 20, 3);
    ASSERT_EQ(Xdo("key a"), 0);
    std::string about = WaitForOtherWindow("^About$");
    ASSERT_FALSE(about.empty()) << "no About box: " << Log();
    Key("Return", about);
    Key("alt+space");
    ASSERT_EQ(Xdo("key a"), 0);
    about = WaitForOtherWindow("^About$");
    ASSERT_FALSE(about.empty()) << "Alt+Space opened no menu: " << Log();
    Key("Return", about);

    // The links open the pages beside the skin.
    Click(Place("link1"));
    Click(Place("link2"));
    std::this_thread::sleep_for(300ms);
    const std::string pages = ReadFile(dir_ / "pages.txt");
    EXPECT_NE(pages.find("/data/pages/help.html\n"), std::string::npos) << pages;
    EXPECT_NE(pages.find("/data/pages/about.html\n"), std::string::npos) << pages;

    // A file that does not open: its message, and the portrait stays.
    std::ofstream(dir_ / "broken.jpg") << "not a picture";
    Click(Place("open"));
    AnswerOpen((dir_ / "broken.jpg").string());
    DismissMessage();
    ParkPointer();
    EXPECT_TRUE(Same(Area(Shot(), kCanvas), portrait));
    EXPECT_FALSE(ProcessGone(pid_));
}

TEST_F(EndToEndTest, ShortcutKeysSpacePanAndHoldingBackslashToSeeThePictureAsOpened)
{
    TestApplication();
    StartProgram("'" + kPortrait + "'");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    const QImage portrait = FittedCanvas(kPortrait).Image();
    ParkPointer();
    ASSERT_TRUE(CanvasShows(portrait));

    // One step; undo and redo move over it to exactly these pictures.
    Click(Place("blur"));
    Click(OnCanvas(215, 290).x, OnCanvas(215, 290).y);
    ParkPointer();
    Key("Right"); // nothing to scroll; draws the canvas without the brush circle
    const QImage edited = CanvasChangedFrom(portrait);
    Key("ctrl+z");
    EXPECT_TRUE(CanvasShows(portrait));
    EXPECT_TRUE(ShowsDisabled(Shot(), "undo"));
    Key("ctrl+shift+z");
    EXPECT_TRUE(CanvasShows(edited));
    EXPECT_TRUE(ShowsEnabled(Shot(), "undo"));

    // Held backslash shows the picture as opened, through the keyboard's repeats too.
    KeyHalf("keydown", "backslash");
    EXPECT_TRUE(CanvasShows(portrait));
    std::this_thread::sleep_for(800ms);
    EXPECT_TRUE(Same(Canvas(), portrait));
    KeyHalf("keyup", "backslash");
    EXPECT_TRUE(CanvasShows(edited));

    // Zoomed in, Space and the left button pan without a step of the selected tool.
    Key("Page_Down");
    Key("Page_Down");
    const QImage zoomed = CanvasChangedFrom(edited);
    KeyHalf("keydown", "space");
    Drag(OnCanvas(200, 300), OnCanvas(260, 340));
    KeyHalf("keyup", "space");
    ParkPointer();
    Key("ctrl+z"); // the blur step: none was added
    const QImage panned = CanvasChangedFrom(zoomed);
    EXPECT_TRUE(ShowsDisabled(Shot(), "undo"));
    KeyHalf("keydown", "backslash");
    EXPECT_TRUE(CanvasShows(panned)) << "the picture as opened, at the same zoom and scroll";
    KeyHalf("keyup", "backslash");
    // Space let go, the blur tool is back.
    Click(OnCanvas(215, 290).x, OnCanvas(215, 290).y);
    EXPECT_TRUE(ShowsEnabled(WaitForShot([&](const QImage& s) { return ShowsEnabled(s, "undo"); }), "undo"));
    EXPECT_TRUE(Shows(Shot(), Place("blur"), Skin("blur_2.bmp")));

    // Ctrl+0 fits the picture again and keeps the step.
    ParkPointer();
    Key("ctrl+z");
    Key("ctrl+0");
    EXPECT_TRUE(CanvasShows(portrait));
    Key("ctrl+y");
    EXPECT_FALSE(Same(CanvasChangedFrom(portrait), portrait));

    Key("ctrl+s");
    SaveAs((dir_ / "result").string());
    EXPECT_EQ(QImage(QString::fromStdString((dir_ / "result.jpg").string())).size(), QSize(512, 512));
    Key("ctrl+w");
    EXPECT_TRUE(WaitUntilGone()) << "Ctrl+W closes the window";
}

TEST_F(EndToEndTest, HighDensityScreenShowsTheWindowAtTwiceItsSizeAndThePictureAtDeviceResolution)
{
    TestApplication();
    // A one-pixel checkerboard as wide as the canvas: zoom 1, which is two device pixels.
    QImage checker(kCanvas.width, 300, QImage::Format_RGB32);
    for (int y = 0; y < checker.height(); ++y) {
        for (int x = 0; x < checker.width(); ++x) {
            checker.setPixel(x, y, (x + y) % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF);
        }
    }
    const std::string picture = (dir_ / "checker.png").string();
    ASSERT_TRUE(checker.save(QString::fromStdString(picture)));
    StartProgram("", "QT_SCALE_FACTOR=2");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    auto device = [](const gfx::Rect& r) { return gfx::Rect{2 * r.x, 2 * r.y, 2 * r.width, 2 * r.height}; };
    ParkPointer();
    const QImage shot = Shot();
    ASSERT_EQ(shot.size(), QSize(1200, 1420));
    EXPECT_TRUE(Shows(shot, device(Place("undo")), Skin("undo_3@2x.bmp")));

    Key("ctrl+o");
    AnswerOpen(picture);
    const gfx::Rect canvas = device(kCanvas);
    const gfx::Rect shown{canvas.x, canvas.y + (canvas.height - 600) / 2, canvas.width, 600};
    auto sharp = [&](const QImage& s) {
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                if ((s.pixel(shown.x + x, shown.y + y) & 0xFFFFFF) != (checker.pixel(x / 2, y / 2) & 0xFFFFFF)) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_TRUE(sharp(WaitForShot(sharp))) << "two-pixel squares, not grey";

    // Hit tests stay in window pixels: the blur tool at twice its place.
    const gfx::Rect blur = device(Place("blur"));
    Click(blur.x + blur.width / 2, blur.y + blur.height / 2);
    ParkPointer();
    EXPECT_TRUE(Shows(WaitForShot([&](const QImage& s) { return Shows(s, blur, Skin("blur_2@2x.bmp")); }), blur,
                      Skin("blur_2@2x.bmp")));
    Key("ctrl+q");
    EXPECT_TRUE(WaitUntilGone());
}
