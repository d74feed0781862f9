// The one-click skin smoothing in the real program: "一键磨皮" smooths the portrait's
// face as one step, Ctrl+Z shows the portrait again pixel for pixel, Ctrl+Y the same
// smoothing again, and the saved file holds it.

#include "FittedCanvas.h"
#include "ProgramDriver.h"
#include "platform/shell/QtTestApp.h"

#include "app/MainWidgets.h"
#include "layout/WindowLayout.h"

namespace {

using namespace xdisplay;

const gfx::Rect kCanvas = layout::kCanvas;
const std::string kPortrait = std::string(MIRAVO_SAMPLES_DIR) + "/portrait.png";

class SmoothEndToEndTest : public ProgramTest {
protected:
    // Waits until the canvas passes the check, and returns what it shows then.
    template <class Check>
    QImage CanvasWhen(const Check& check)
    {
        return Area(WaitForShot([&](const QImage& s) { return check(Area(s, kCanvas)); }), kCanvas);
    }
};

} // namespace

TEST_F(SmoothEndToEndTest, OneClickSmoothsTheFaceAsOneStepThatUndoAndRedoReplay)
{
    TestApplication();
    StartProgram("'" + kPortrait + "'");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    const QImage portrait = FittedCanvas(kPortrait).Image();
    ParkPointer();
    ASSERT_TRUE(Same(CanvasWhen([&](const QImage& c) { return Same(c, portrait); }), portrait)) << Log();

    Click(MainWidgets::PlaceOf("autoSmooth"));
    ParkPointer();
    const QImage smoothed = CanvasWhen([&](const QImage& c) { return !Same(c, portrait); });
    ASSERT_FALSE(Same(smoothed, portrait)) << "the face was not smoothed: " << Log();
    EXPECT_TRUE(Shows(Shot(), MainWidgets::PlaceOf("undo"), Area(Skin("main.bmp"), MainWidgets::PlaceOf("undo"))))
        << "one step to undo";

    Key("ctrl+z");
    EXPECT_TRUE(Same(CanvasWhen([&](const QImage& c) { return Same(c, portrait); }), portrait));
    EXPECT_TRUE(Shows(Shot(), MainWidgets::PlaceOf("undo"), Skin("undo_3.bmp"))) << "nothing left to undo";
    Key("ctrl+y");
    EXPECT_TRUE(Same(CanvasWhen([&](const QImage& c) { return Same(c, smoothed); }), smoothed));

    Click(MainWidgets::PlaceOf("save"));
    SaveAs((dir_ / "smoothed").string());
    const QImage saved(QString::fromStdString((dir_ / "smoothed.jpg").string()));
    ASSERT_EQ(saved.size(), QSize(512, 512));
    const QImage original = QImage(QString::fromStdString(kPortrait)).convertToFormat(QImage::Format_RGB32);
    // Away from the face the file is the portrait, on the cheek it is not.
    const auto difference = [&](int x, int y) {
        const QRgb a = saved.pixel(x, y), b = original.pixel(x, y);
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    int cheek = 0, background = 0;
    for (int y = 110; y < 130; ++y) {
        for (int x = 190; x < 200; ++x) {
            cheek += difference(x, y);
            background += difference(x + 250, y + 200);
        }
    }
    EXPECT_GT(cheek, background + 200) << "the cheek changed more than the background's JPEG noise";
}
