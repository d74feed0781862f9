// End-to-end tests of the skinned window on a real X display: a test window program
// (ShellTestWindow.cpp) is driven with xdotool and photographed with ImageMagick.

#include "CursorFixtures.h"
#include "XDisplayTest.h"

#include <QFile>
#include <QImage>
#include <QString>

namespace {

using namespace xdisplay;

constexpr int kWindowX = 200;
constexpr int kWindowY = 150;
constexpr QPoint kCursorHotspot(6, 25);

class ShellWindowTest : public XDisplayTest {
protected:
    void SetUp() override
    {
        XDisplayTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        WriteCursorFile();
        Launch();
    }

    void WriteCursorFile()
    {
        QFile file(QString::fromStdString((dir_ / "test.cur").string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        using namespace cursorfixtures;
        file.write(CursorFileBytes(
            {{32, kCursorHotspot.x(), kCursorHotspot.y(), Dib32(TrianglePicture(), true)}}));
    }

    void Launch()
    {
        Start(std::string(SHELL_TEST_WINDOW) + " '" + ReportPath() + "' '" + (dir_ / "test.cur").string() + "' '" +
              ImagePath() + "' " + std::to_string(kWindowX) + " " + std::to_string(kWindowY));
        const std::string ready = WaitForLine(std::regex("ready (\\d+)"), 15s);
        ASSERT_FALSE(ready.empty()) << "the test window did not start: " << Log();
        windowId_ = ready.substr(6);
        // The window is mapped once it can be found on the display.
        ASSERT_FALSE(WaitForWindow("^shell test window$").empty());
    }

    std::string ImagePath() const { return (dir_ / "face.png").string(); }

    // Moves the pointer to a client point and waits until the window has seen it there.
    void PointAt(int x, int y)
    {
        const size_t from = Lines().size();
        const std::string expected = "move " + std::to_string(x) + " " + std::to_string(y);
        for (int attempt = 0; attempt < 3; ++attempt) {
            ASSERT_EQ(Xdo("mousemove --window " + windowId_ + " --sync " + std::to_string(x) + " " +
                          std::to_string(y)),
                      0);
            if (WaitForExact(expected, from)) {
                return;
            }
            // X reports no motion for a move to where the pointer already is: nudge it away.
            Xdo("mousemove_relative --sync 1 1");
        }
        FAIL() << "the window did not see the pointer at " << x << "," << y;
    }

    // Clicks a button (1 left, 3 right, 4 and 5 the wheel) at a client point.
    void ClickAt(int x, int y, int button)
    {
        PointAt(x, y);
        ASSERT_EQ(Xdo("click " + std::to_string(button)), 0);
    }

    // The window's top-left corner on the screen.
    QPoint WindowPosition() const
    {
        const std::string out = RunShell("timeout 10 xdotool getwindowgeometry " + windowId_).output;
        std::smatch match;
        if (!std::regex_search(out, match, std::regex("Position: (-?\\d+),(-?\\d+)"))) {
            return QPoint(-9999, -9999);
        }
        return QPoint(std::stoi(match[1]), std::stoi(match[2]));
    }

    // A picture of the window as the X server shows it.
    QImage Screenshot() const
    {
        const std::string shot = (dir_ / "shot.png").string();
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (RunShell("timeout 20 import -window " + windowId_ + " png:'" + shot + "'").exitCode == 0) {
                QImage image(QString::fromStdString(shot));
                if (!image.isNull()) {
                    return image.convertToFormat(QImage::Format_RGB32);
                }
            }
            std::this_thread::sleep_for(200ms);
        }
        return {};
    }

    QImage BackBuffer() const
    {
        return QImage(QString::fromStdString(ImagePath())).convertToFormat(QImage::Format_RGB32);
    }

    std::string windowId_;
};

} // namespace

TEST_F(ShellWindowTest, PointerAndKeyEventsArriveInClientCoordinates)
{
    PointAt(40, 50);
    ClickAt(60, 70, 1);
    EXPECT_TRUE(WaitForExact("left-down 60 70"));
    EXPECT_TRUE(WaitForExact("cursor-at 60 70"));
    EXPECT_TRUE(WaitForExact("left-up 60 70"));
    ClickAt(300, 220, 3);
    EXPECT_TRUE(WaitForExact("right-down 300 220"));
    EXPECT_TRUE(WaitForExact("right-up 300 220"));

    size_t from = Lines().size();
    ASSERT_EQ(Xdo("click 4"), 0);
    EXPECT_TRUE(WaitForExact("wheel 120", from));
    from = Lines().size();
    ASSERT_EQ(Xdo("click 5"), 0);
    EXPECT_TRUE(WaitForExact("wheel -120", from));

    ASSERT_TRUE(FocusWindow(windowId_));
    const std::vector<std::pair<std::string, int>> keys = {
        {"Page_Up", 0x21}, {"Page_Down", 0x22}, {"Left", 0x25}, {"Up", 0x26}, {"Right", 0x27},
        {"Down", 0x28},    {"Delete", 0x2E},    {"a", 0x41},    {"z", 0x5A},  {"shift+z", 0x5A},
    };
    for (const auto& [name, virtualKey] : keys) {
        from = Lines().size();
        ASSERT_EQ(Xdo("key --clearmodifiers " + name), 0);
        EXPECT_TRUE(WaitForExact("key " + std::to_string(virtualKey), from)) << name;
    }

    // Escape is not consumed by the window's handler, so it ends the modal loop.
    ASSERT_EQ(Xdo("key Escape"), 0);
    EXPECT_TRUE(WaitForExact("end 2"));
}

TEST_F(ShellWindowTest, PressingTheTopBandDragsTheWindow)
{
    ASSERT_EQ(WindowPosition(), QPoint(kWindowX, kWindowY));

    PointAt(100, 10);
    ASSERT_EQ(Xdo("mousedown 1"), 0);
    ASSERT_TRUE(WaitForExact("drag 100 10"));
    // The pointer moves in steps, as a hand would, and the window follows each one.
    for (int step = 1; step <= 4; ++step) {
        ASSERT_EQ(Xdo("mousemove --sync " + std::to_string(kWindowX + 100 + 20 * step) + " " +
                      std::to_string(kWindowY + 10 + 15 * step)),
                  0);
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(Xdo("mouseup 1"), 0);

    const QPoint expected(kWindowX + 80, kWindowY + 60);
    QPoint moved;
    for (int attempt = 0; attempt < 50 && moved != expected; ++attempt) {
        std::this_thread::sleep_for(50ms);
        moved = WindowPosition();
    }
    EXPECT_EQ(moved, expected);
    // The release that ends a move is not a click in the window.
    std::this_thread::sleep_for(200ms);
    for (const std::string& line : Lines()) {
        EXPECT_NE(line.rfind("left-up", 0), 0u) << line;
    }

    // Below the band a press is an ordinary press and the window stays.
    ClickAt(100, 100, 1);
    EXPECT_TRUE(WaitForExact("left-up 100 100"));
    EXPECT_EQ(WindowPosition(), expected);
}

TEST_F(ShellWindowTest, ShowsTheCursorFromItsCurFileBelowTheBand)
{
    PointAt(50, 100);
    EXPECT_TRUE(WaitForExact("cursor " + std::to_string(kCursorHotspot.x()) + " " +
                             std::to_string(kCursorHotspot.y()) + " 32 32"));
}

TEST_F(ShellWindowTest, ScreenshotMatchesTheBackBuffer)
{
    // Park the pointer outside, so no cursor can show in the picture.
    ASSERT_EQ(Xdo("mousemove --sync 5 5"), 0);
    auto expectSame = [this](const char* when) {
        const QImage shown = Screenshot();
        const QImage buffer = BackBuffer();
        ASSERT_FALSE(shown.isNull()) << when;
        ASSERT_EQ(shown.size(), buffer.size()) << when;
        int differing = 0;
        for (int y = 0; y < buffer.height(); ++y) {
            for (int x = 0; x < buffer.width(); ++x) {
                if (shown.pixel(x, y) != buffer.pixel(x, y) && ++differing <= 5) {
                    ADD_FAILURE() << when << ": pixel " << x << "," << y << " shows " << std::hex << shown.pixel(x, y)
                                  << " instead of " << buffer.pixel(x, y);
                }
            }
        }
        EXPECT_EQ(differing, 0) << when;
    };
    expectSame("after start");

    // Painting after a right press shows the new square at once and nothing else changes.
    for (int n = 1; n <= 2; ++n) {
        ClickAt(100 + 60 * n, 120, 3);
        ASSERT_TRUE(WaitForExact("painted " + std::to_string(n))) << ReadFile(ReportPath());
        ASSERT_EQ(Xdo("mousemove --sync 5 5"), 0);
        expectSame(n == 1 ? "after the first square" : "after the second square");
    }
}
