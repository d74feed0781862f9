#include "app/MainWindowDriver.h"

#include "compare/CCompareDlg.h"
#include "imageio/Messages.h"
#include "layout/WindowLayout.h"
#include "support/TestPictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

// The main window on a screen of device pixel ratio 2; the ratio is read when the
// program's one application object is made, by the first window.
std::unique_ptr<MainWindowDriver> ScaledDriver()
{
    qputenv("QT_SCALE_FACTOR", "2");
    return std::make_unique<MainWindowDriver>();
}

// A non-square picture of large squares in two colours: the bloat tool moves their edges
// far, and a JPEG of it stays close to its pixels away from the edges.
QString WriteSquaresPicture(const MainWindowDriver& d, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, (x / 22 + y / 22) % 2 == 0 ? qRgb(40, 60, 150) : qRgb(220, 200, 90));
        }
    }
    const QString path = d.folder.filePath("squares.png");
    image.save(path);
    return path;
}

int Difference(QRgb a, uint32_t b)
{
    return std::abs(qRed(a) - int(gfx::RedOf(b))) + std::abs(qGreen(a) - int(gfx::GreenOf(b))) +
           std::abs(qBlue(a) - int(gfx::BlueOf(b)));
}

} // namespace

// A picture of exactly the view's device size shows at zoom 1 in device pixels: every
// pixel of both views is the picture's own, the after view with the edit.
TEST(CompareWindow, BothViewsShowThePicturesAtDeviceResolution)
{
    const auto driver = ScaledDriver();
    MainWindowDriver& d = *driver;
    ASSERT_EQ(d.window->Scale(), 2);
    const int side = 2 * CCompareDlg::kViewSide;
    QImage checker(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            checker.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(20, 30, 40) : qRgb(230, 220, 210));
        }
    }
    const QString path = d.folder.filePath("checker.png");
    ASSERT_TRUE(checker.save(path));
    d.dialogs.AnswerOpen(path);
    d.window->Open();
    d.ClickButton("bc");
    d.Click(MainWindowDriver::OnCanvas(200, 300));
    const std::shared_ptr<Surface> after = d.Session().View()->Flatten();
    const std::shared_ptr<Surface> before = d.window->OpenedImage();
    ASSERT_FALSE(testpictures::SamePixels(*after, *before));

    CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
    compare.InitAndShow();
    ASSERT_EQ(compare.Scale(), 2);
    const struct {
        gfx::Rect view;
        const Surface& picture;
    } halves[] = {{layout::kBeforeView, *before}, {layout::kAfterView, *after}};
    for (const auto& half : halves) {
        int wrong = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                wrong += compare.BackBuffer().GetPixel(2 * half.view.x + x, 2 * half.view.y + y) != half.picture.At(x, y);
            }
        }
        EXPECT_EQ(wrong, 0) << "view at " << half.view.x;
    }
}

// The saved pair holds the picture as opened on the left and the result on the right:
// where the edits changed a pixel clearly, each half is close to its own picture and
// far from the other, so halves swapped cannot pass.
TEST(CompareWindow, SavedPairHoldsBeforeOnTheLeftAndAfterOnTheRight)
{
    const auto driver = ScaledDriver();
    MainWindowDriver& d = *driver;
    d.dialogs.AnswerOpen(WriteSquaresPicture(d, 330, 210));
    d.window->Open();
    d.ClickButton("zoom");
    for (const int x : {90, 170, 250, 330}) {
        d.Click(MainWindowDriver::OnCanvas(x, 310));
    }
    const std::shared_ptr<Surface> after = d.Session().View()->Flatten();
    const std::shared_ptr<Surface> before = d.window->OpenedImage();

    CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
    compare.InitAndShow();
    d.dialogs.AnswerSave(d.folder.filePath("pair"));
    compare.SaveComparison();
    ASSERT_EQ(d.dialogs.Messages().last(), QString::fromUtf8(messages::Saved));
    const QImage pair(d.folder.filePath("pair.jpg"));
    ASSERT_EQ(pair.size(), QSize(660, 210));

    int changed = 0, leftNearBefore = 0, rightNearAfter = 0;
    for (int y = 0; y < before->height; ++y) {
        for (int x = 0; x < before->width; ++x) {
            const uint32_t was = before->At(x, y);
            if (Difference(qRgb(gfx::RedOf(was), gfx::GreenOf(was), gfx::BlueOf(was)), after->At(x, y)) < 60) {
                continue;
            }
            ++changed;
            leftNearBefore += Difference(pair.pixel(x, y), before->At(x, y)) < Difference(pair.pixel(x, y), after->At(x, y));
            rightNearAfter += Difference(pair.pixel(330 + x, y), after->At(x, y)) <
                              Difference(pair.pixel(330 + x, y), before->At(x, y));
        }
    }
    ASSERT_GT(changed, 2000) << "the edits must change a clear share of the picture";
    EXPECT_GT(leftNearBefore, changed * 95 / 100);
    EXPECT_GT(rightNearAfter, changed * 95 / 100);
}
