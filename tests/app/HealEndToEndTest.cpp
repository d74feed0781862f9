// The heal tool in the real program: chosen by its button, one click takes a blemish of
// the portrait away, Ctrl+Z brings it back pixel for pixel, Ctrl+Y heals it again, and
// the saved file holds the healed skin.

#include "FittedCanvas.h"
#include "ProgramDriver.h"
#include "platform/shell/QtTestApp.h"

#include "app/MainWidgets.h"
#include "imageio/PictureDecoder.h"
#include "layout/WindowLayout.h"
#include "shell/BitmapImage.h"
#include "support/SampleBlemishes.h"

namespace {

using namespace xdisplay;

const gfx::Rect kCanvas = layout::kCanvas;

// The mean over a disc of the difference of every channel, the file's against a picture's.
double MeanDifferenceInDisc(const QImage& file, const Surface& picture, const blemishes::Blemish& disc)
{
    double sum = 0;
    int count = 0;
    for (int y = disc.y - disc.radius; y <= disc.y + disc.radius; ++y) {
        for (int x = disc.x - disc.radius; x <= disc.x + disc.radius; ++x) {
            if ((x - disc.x) * (x - disc.x) + (y - disc.y) * (y - disc.y) > disc.radius * disc.radius) {
                continue;
            }
            const QRgb p = file.pixel(x, y);
            const uint32_t q = picture.At(x, y);
            sum += std::abs(qRed(p) - int(gfx::RedOf(q))) + std::abs(qGreen(p) - int(gfx::GreenOf(q))) +
                   std::abs(qBlue(p) - int(gfx::BlueOf(q)));
            ++count;
        }
    }
    return sum / (3.0 * count);
}

class HealEndToEndTest : public ProgramTest {};

} // namespace

TEST_F(HealEndToEndTest, OneClickHealsABlemishThatUndoBringsBackAndRedoHealsAgain)
{
    TestApplication();
    DecodeResult decoded = PictureDecoder().Decode(std::string(MIRAVO_SAMPLES_DIR) + "/portrait.png");
    ASSERT_TRUE(decoded.Ok());
    const std::shared_ptr<Surface> clean = MoveIntoSurface(std::move(*decoded.bitmap));
    const std::shared_ptr<Surface> spotted = CopySurface(*clean);
    const blemishes::Blemish spot = blemishes::kOnSamplePortrait[9]; // radius 6, on the right cheek
    blemishes::Paint(*spotted, std::span(&spot, 1));
    const std::string picture = (dir_ / "spotted.png").string();
    ASSERT_TRUE(shell::ToQImage(WrapAsBitmap(std::as_const(*spotted))).save(QString::fromStdString(picture)));

    StartProgram("'" + picture + "'");
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    const FittedCanvas fitted(spotted);
    const QImage opened = fitted.Image();
    ParkPointer();
    ASSERT_TRUE(Same(Area(WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), opened); }), kCanvas),
                     opened))
        << Log();

    Click(MainWidgets::PlaceOf("heal"));
    const gfx::Point at = fitted.ClientPoint(spot.x, spot.y);
    Click(at.x, at.y);
    ParkPointer(); // the brush circle is drawn off the canvas from the next refresh on
    const auto shows = [&](const QImage& expected) {
        return Same(Area(WaitForShot([&](const QImage& s) { return Same(Area(s, kCanvas), expected); }), kCanvas),
                    expected);
    };
    ASSERT_FALSE(Same(Area(WaitForShot([&](const QImage& s) { return !Same(Area(s, kCanvas), opened); }), kCanvas),
                      opened))
        << "the click changed nothing: " << Log();

    Key("ctrl+z");
    EXPECT_TRUE(shows(opened)) << "undo shows the blemish again";
    Key("ctrl+y");
    const QImage healed = Area(WaitForShot([&](const QImage& s) { return !Same(Area(s, kCanvas), opened); }), kCanvas);
    ASSERT_FALSE(Same(healed, opened)) << "redo heals again";
    Key("ctrl+z");
    EXPECT_TRUE(shows(opened));
    Key("ctrl+y");
    EXPECT_TRUE(shows(healed)) << "each redo gives the same pixels";

    Click(MainWidgets::PlaceOf("save"));
    SaveAs((dir_ / "healed").string());
    const QImage saved(QString::fromStdString((dir_ / "healed.jpg").string()));
    ASSERT_EQ(saved.size(), QSize(512, 512));
    EXPECT_LT(MeanDifferenceInDisc(saved, *clean, spot), MeanDifferenceInDisc(saved, *spotted, spot))
        << "the saved skin is nearer the clean picture than the blemished one";
}
