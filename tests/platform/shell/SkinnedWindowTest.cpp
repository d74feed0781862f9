#include "QtTestApp.h"

#include "shell/SkinnedWindow.h"
#include "shell/VirtualKeys.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <string>
#include <vector>

namespace {

// Records what reaches the handlers, one line per call.
class RecordingWindow : public shell::SkinnedWindow {
public:
    using SkinnedWindow::SkinnedWindow;

    std::vector<std::string> calls;
    std::vector<gfx::Rect> painted;
    int endInInit = 0;
    std::vector<int> consumedKeys;

protected:
    void OnInitDialog() override
    {
        calls.push_back("init");
        if (endInInit != 0) {
            EndModal(endInInit);
        }
    }
    void OnLeftDown(gfx::Point p) override { Record("left-down", p); }
    void OnLeftUp(gfx::Point p) override { Record("left-up", p); }
    void OnRightDown(gfx::Point p) override { Record("right-down", p); }
    void OnRightUp(gfx::Point p) override { Record("right-up", p); }
    void OnMouseMove(gfx::Point p) override { Record("move", p); }
    void OnPaint(const gfx::Rect& area) override { painted.push_back(area); }
    void OnWheel(int delta) override { calls.push_back("wheel " + std::to_string(delta)); }
    bool PreTranslateKeyDown(int key) override
    {
        calls.push_back("key " + std::to_string(key));
        return std::find(consumedKeys.begin(), consumedKeys.end(), key) != consumedKeys.end();
    }
    void OnKeyUp(const shell::KeyStroke& key) override
    {
        calls.push_back("up " + std::to_string(key.virtualKey) + " " + std::to_string(key.modifiers));
    }
    void OnKeyboardLost() override { calls.push_back("keyboard lost"); }

private:
    void Record(const char* what, gfx::Point p)
    {
        calls.push_back(std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
};

void SendMouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

void SendKey(QWidget& w, int qtKey)
{
    QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

void FillPattern(gfx::Bitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        gfx::Argb* row = bitmap.Scanline(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[x] = gfx::MakeArgb(255, uint32_t(x * 5) & 0xFF, uint32_t(y * 3) & 0xFF, uint32_t(x ^ y) & 0xFF);
        }
    }
}

} // namespace

TEST(SkinnedWindow, RunModalReturnsTheEndCode)
{
    TestApplication();
    RecordingWindow ended;
    ended.endInInit = 7;
    EXPECT_EQ(ended.RunModal(), 7);
    EXPECT_FALSE(ended.isVisible()) << "a window ended during its initialisation is never shown";

    RecordingWindow window;
    window.MoveWindow({10, 10, 120, 90});
    QTimer::singleShot(0, &window, [&window] {
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.IsRunningModal());
        window.EndModal(42);
    });
    EXPECT_EQ(window.RunModal(), 42);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.calls.front(), "init");

    // Escape cancels, Enter confirms, closing the window cancels.
    const std::vector<std::pair<int, int>> endings = {{Qt::Key_Escape, shell::kModalCancel},
                                                      {Qt::Key_Return, shell::kModalOk},
                                                      {0, shell::kModalCancel}};
    for (const auto& [key, code] : endings) {
        QTimer::singleShot(0, &window, [&window, key = key] {
            if (key != 0) {
                SendKey(window, key);
            } else {
                window.close();
            }
        });
        EXPECT_EQ(window.RunModal(), code) << "key " << key;
    }

    // Deleted by a handler while its loop runs: the loop ends, cancelled.
    auto* deleted = new RecordingWindow;
    QTimer::singleShot(0, [deleted] { delete deleted; });
    EXPECT_EQ(deleted->RunModal(), shell::kModalCancel);
}

TEST(SkinnedWindow, HandlersReceiveClientPointsAndVirtualKeys)
{
    TestApplication();
    RecordingWindow window;
    window.MoveWindow({50, 60, 200, 100});
    window.consumedKeys = {vk::PageUp, vk::Tab};
    window.show();

    SendMouse(window, QEvent::MouseButtonPress, Qt::LeftButton, {12, 34});
    SendMouse(window, QEvent::MouseMove, Qt::LeftButton, {13, 35});
    SendMouse(window, QEvent::MouseButtonRelease, Qt::LeftButton, {14, 36});
    SendMouse(window, QEvent::MouseButtonPress, Qt::RightButton, {150, 90});
    SendMouse(window, QEvent::MouseButtonRelease, Qt::RightButton, {151, 91});
    SendMouse(window, QEvent::MouseButtonPress, Qt::MiddleButton, {1, 1});
    // The second press of a double click is a press like any other.
    SendMouse(window, QEvent::MouseButtonDblClick, Qt::LeftButton, {7, 8});
    SendMouse(window, QEvent::MouseButtonRelease, Qt::LeftButton, {7, 8});
    for (const int delta : {120, -240}) {
        QWheelEvent wheel(QPointF(5, 5), window.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&window, &wheel);
    }
    SendKey(window, Qt::Key_PageUp);
    SendKey(window, Qt::Key_Tab);
    SendKey(window, Qt::Key_Z);

    const std::vector<std::string> expected = {
        "left-down 12,34", "move 13,35", "left-up 14,36", "right-down 150,90", "right-up 151,91", "left-down 7,8",
        "left-up 7,8",     "wheel 120",  "wheel -240",    "key 33",            "key 9",           "key 90"};
    EXPECT_EQ(window.calls, expected);
}

TEST(SkinnedWindow, KeyReleasesButNotTheKeyboardsRepeatsAndTheLossOfTheKeyboardAreReported)
{
    TestApplication();
    RecordingWindow window;
    window.show();
    for (const bool repeat : {true, false}) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backslash, Qt::AltModifier, QString(), repeat);
        QCoreApplication::sendEvent(&window, &release);
    }
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(&window, &focusOut);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"up 220 4", "keyboard lost"}));
}

TEST(SkinnedWindow, BackBufferFollowsTheSizeAndIsWhatThePaintShows)
{
    TestApplication();
    shell::SkinnedWindow window;
    window.MoveWindow({0, 0, 64, 48});
    ASSERT_EQ(window.BackBuffer().Width(), 64);
    ASSERT_EQ(window.BackBuffer().Height(), 48);
    FillPattern(window.BackBuffer());
    window.show();
    window.InvalidateAll();
    window.UpdateWindow();

    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(64, 48));
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(shown.pixel(x, y), window.BackBuffer().GetPixel(x, y)) << x << "," << y;
        }
    }

    // Growing keeps the pixels already drawn; the new part starts black.
    const gfx::Argb corner = window.BackBuffer().GetPixel(63, 47);
    window.MoveWindow({0, 0, 80, 50});
    EXPECT_EQ(window.BackBuffer().Width(), 80);
    EXPECT_EQ(window.BackBuffer().GetPixel(63, 47), corner);
    EXPECT_EQ(window.BackBuffer().GetPixel(70, 49), gfx::colors::Black);
    EXPECT_EQ(window.width(), 80);

    window.CenterOnScreen();
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_EQ(window.ScreenRect(), (gfx::Rect{screen.x() + (screen.width() - 80) / 2,
                                              screen.y() + (screen.height() - 50) / 2, 80, 50}));
}

TEST(SkinnedWindow, UpdateWindowPaintsTheInvalidAreaAtOnce)
{
    TestApplication();
    RecordingWindow window;
    window.MoveWindow({0, 0, 100, 80});
    window.show();
    QCoreApplication::processEvents();
    window.painted.clear();

    window.Invalidate({10, 20, 30, 15});
    EXPECT_TRUE(window.painted.empty()) << "invalidating alone waits for the event loop";
    window.UpdateWindow();
    ASSERT_EQ(window.painted.size(), 1u);
    EXPECT_EQ(window.painted[0], (gfx::Rect{10, 20, 30, 15}));

    // Nothing invalid, nothing painted; areas outside the window are dropped.
    window.UpdateWindow();
    window.Invalidate({200, 200, 10, 10});
    window.UpdateWindow();
    EXPECT_EQ(window.painted.size(), 1u);
    window.Invalidate({90, 70, 50, 50});
    window.UpdateWindow();
    ASSERT_EQ(window.painted.size(), 2u);
    EXPECT_EQ(window.painted[1], (gfx::Rect{90, 70, 10, 10}));
}

TEST(SkinnedWindow, ToolTipShowsTheTextOfTheToolUnderTheMouse)
{
    TestApplication();
    shell::SkinnedWindow window;
    window.MoveWindow({100, 100, 300, 200});
    const gfx::Rect slider{47, 23, 110, 7};
    window.SetToolTipQuery([slider](gfx::Point p) -> std::optional<shell::ToolTip> {
        if (slider.Contains(p.x, p.y)) {
            return shell::ToolTip{slider, QString::fromUtf8("左右拖动")};
        }
        return std::nullopt;
    });
    window.show();

    QHelpEvent inside(QEvent::ToolTip, QPoint(60, 25), window.mapToGlobal(QPoint(60, 25)));
    QCoreApplication::sendEvent(&window, &inside);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("左右拖动"));

    QHelpEvent outside(QEvent::ToolTip, QPoint(60, 100), window.mapToGlobal(QPoint(60, 100)));
    QCoreApplication::sendEvent(&window, &outside);
    // The tip fades out rather than vanishing at once.
    QElapsedTimer waited;
    waited.start();
    while (QToolTip::isVisible() && waited.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_FALSE(QToolTip::isVisible());
}
