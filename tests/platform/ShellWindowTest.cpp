// End-to-end tests of the skinned window on a real X display: a test window program
// (ShellTestWindow.cpp) is driven with xdotool and photographed with ImageMagick.

#include "CursorFixtures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kWindowX = 200;
constexpr int kWindowY = 150;
constexpr QPoint kCursorHotspot(6, 25);

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

CommandResult RunShell(const std::string& command)
{
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        result.output += buffer;
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// True once the process has ended (its parent shell is gone, so nobody may reap it:
// a zombie counts as ended).
bool ProcessGone(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z';
}

bool HaveCommand(const char* name) { return RunShell(std::string("command -v ") + name).exitCode == 0; }

class ShellWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "DISPLAY is not set: the window tests need an X server (run them under "
                            "scripts/with-xvfb.sh)";
        }
        for (const char* tool : {"xdotool", "import"}) {
            if (!HaveCommand(tool)) {
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
            }
        }
        dir_ = fs::temp_directory_path() /
               ("shell-window-test-" + std::to_string(::getpid()) + "-" + std::to_string(++runs_));
        fs::create_directories(dir_);
        WriteCursorFile();
        Launch();
    }

    void TearDown() override
    {
        if (pid_ > 0 && !ProcessGone(pid_)) {
            ::kill(pid_, SIGTERM);
            // The next test's window opens at the same place: let this one go first.
            for (int i = 0; i < 100 && !ProcessGone(pid_); ++i) {
                std::this_thread::sleep_for(20ms);
            }
        }
        if (!dir_.empty()) {
            std::error_code ignored;
            fs::remove_all(dir_, ignored);
        }
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
        const std::string command = std::string(SHELL_TEST_WINDOW) + " '" + ReportPath() + "' '" +
                                    (dir_ / "test.cur").string() + "' '" + ImagePath() + "' " +
                                    std::to_string(kWindowX) + " " + std::to_string(kWindowY) + " > '" +
                                    (dir_ / "log.txt").string() + "' 2>&1 & echo $!";
        pid_ = std::atoi(RunShell(command).output.c_str());
        ASSERT_GT(pid_, 0);
        const std::string ready = WaitForLine(std::regex("ready (\\d+)"), 15s);
        ASSERT_FALSE(ready.empty()) << "the test window did not start: " << ReadFile(dir_ / "log.txt");
        windowId_ = ready.substr(6);
        // The window is mapped once it can be found on the display.
        ASSERT_EQ(Xdo("search --sync --onlyvisible --name '^shell test window$'"), 0);
    }

    std::string ReportPath() const { return (dir_ / "report.txt").string(); }
    std::string ImagePath() const { return (dir_ / "face.png").string(); }

    static std::string ReadFile(const fs::path& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::ifstream in(ReportPath());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // The first report line matching the pattern that is not older than `from`
    // (a line index), waiting up to the timeout; empty when none came.
    std::string WaitForLine(const std::regex& pattern, std::chrono::milliseconds timeout, size_t from = 0) const
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        do {
            const std::vector<std::string> lines = Lines();
            for (size_t i = from; i < lines.size(); ++i) {
                if (std::regex_match(lines[i], pattern)) {
                    return lines[i];
                }
            }
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return {};
    }

    bool WaitForExact(const std::string& line, size_t from = 0) const
    {
        return !WaitForLine(std::regex(std::regex_replace(line, std::regex("[.^$|()\\[\\]{}*+?\\\\-]"), "\\$&")),
                            5s, from)
                    .empty();
    }

    // Runs xdotool, giving up after ten seconds so that a lost window cannot hang the test.
    static int Xdo(const std::string& arguments) { return RunShell("timeout 10 xdotool " + arguments).exitCode; }

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

    // Gives the window the keyboard. There is no window manager under Xvfb, so the focus
    // is set directly rather than by activating the window.
    void FocusWindow()
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (Xdo("windowfocus --sync " + windowId_) == 0) {
                return;
            }
            std::this_thread::sleep_for(100ms);
        }
        FAIL() << "could not give the window the keyboard focus";
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

    static inline int runs_ = 0;
    fs::path dir_;
    pid_t pid_ = 0;
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

    FocusWindow();
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
