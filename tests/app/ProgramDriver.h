#pragma once

// Drives the real program (build/bin/miravo) on an X display with xdotool and looks at
// it with ImageMagick's import, as a person would use it.

#include "platform/shell/XDisplayTest.h"

#include "files/AppFiles.h"
#include "gfx/Geometry.h"
#include "shell/BitmapImage.h"

#include <QImage>
#include <QString>

#include <functional>
#include <regex>
#include <string>

namespace xdisplay {

class ProgramTest : public XDisplayTest {
protected:
    // Starts the program in the test's folder with the arguments (and environment
    // variables, "NAME=value ...") and waits for its window.
    void StartProgram(const std::string& arguments, const std::string& environment = {})
    {
        Start(environment + " MIRAVO_RECORD_PAGES='" + (dir_ / "pages.txt").string() + "' " + MIRAVO_PROGRAM + " " +
              arguments);
        window_ = WaitForWindow("^Miravo$");
        ASSERT_FALSE(window_.empty()) << "the main window did not appear: " << Log();
    }

    // A picture of a window as the X server shows it (RGB).
    QImage Shot(const std::string& window = {}) const
    {
        const std::string file = (dir_ / "shot.png").string();
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (RunShell("timeout 20 import -window " + (window.empty() ? window_ : window) + " png:'" + file + "'")
                    .exitCode == 0) {
                const QImage image(QString::fromStdString(file));
                if (!image.isNull()) {
                    return image.convertToFormat(QImage::Format_RGB32);
                }
            }
            std::this_thread::sleep_for(200ms);
        }
        return {};
    }

    // Waits up to five seconds for the window to show something the check accepts.
    QImage WaitForShot(const std::function<bool(const QImage&)>& check, const std::string& window = {}) const
    {
        QImage shot;
        for (int attempt = 0; attempt < 25; ++attempt) {
            shot = Shot(window);
            if (check(shot)) {
                break;
            }
            std::this_thread::sleep_for(200ms);
        }
        return shot;
    }

    static QImage Area(const QImage& shot, const gfx::Rect& r) { return shot.copy(r.x, r.y, r.width, r.height); }
    // The same colours in every pixel (QImage's own comparison also looks at the colour
    // space a file declares).
    static bool Same(const QImage& a, const QImage& b)
    {
        if (a.size() != b.size()) {
            return false;
        }
        const QImage p = a.convertToFormat(QImage::Format_RGB32), q = b.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < p.height(); ++y) {
            const QRgb* r = reinterpret_cast<const QRgb*>(p.constScanLine(y));
            const QRgb* s = reinterpret_cast<const QRgb*>(q.constScanLine(y));
            for (int x = 0; x < p.width(); ++x) {
                if (((r[x] ^ s[x]) & 0x00FFFFFF) != 0) {
                    return false;
                }
            }
        }
        return true;
    }
    // A skin bitmap from the data folder the program reads.
    static QImage Skin(const std::string& file)
    {
        const auto bitmap = LoadAppImage(file);
        return bitmap ? shell::ToQImage(*bitmap).convertToFormat(QImage::Format_RGB32) : QImage();
    }
    // Whether the window shows the area as the skin image draws it.
    static bool Shows(const QImage& shot, const gfx::Rect& area, const QImage& image)
    {
        return Same(Area(shot, area), image);
    }

    // Waits up to five seconds for the program to end.
    bool WaitUntilGone() const
    {
        for (int i = 0; i < 50 && !ProcessGone(pid_); ++i) {
            std::this_thread::sleep_for(100ms);
        }
        return ProcessGone(pid_);
    }

    // Moves the pointer off every window, so that no cursor or hover look shows.
    void ParkPointer()
    {
        ASSERT_EQ(Xdo("mousemove 2 2"), 0);
        std::this_thread::sleep_for(100ms);
    }
    void MoveTo(int x, int y, const std::string& window = {})
    {
        // Without --sync, which would wait forever for a move to where the pointer already is.
        ASSERT_EQ(Xdo("mousemove --window " + (window.empty() ? window_ : window) + " " + std::to_string(x) + " " +
                      std::to_string(y)),
                  0);
        std::this_thread::sleep_for(40ms);
    }
    void Click(int x, int y, int button = 1, const std::string& window = {})
    {
        MoveTo(x, y, window);
        ASSERT_EQ(Xdo("click " + std::to_string(button)), 0);
        std::this_thread::sleep_for(100ms);
    }
    void Click(const gfx::Rect& r, const std::string& window = {}) { Click(r.x + r.width / 2, r.y + r.height / 2, 1, window); }
    // Presses at from, moves to to in steps as a hand would, and lets go there; the
    // points are client points of where the window was at the press.
    void Drag(gfx::Point from, gfx::Point to)
    {
        const QPoint origin = Position();
        MoveTo(from.x, from.y);
        ASSERT_EQ(Xdo("mousedown 1"), 0);
        for (int step = 1; step <= 4; ++step) {
            const int x = origin.x() + from.x + (to.x - from.x) * step / 4;
            const int y = origin.y() + from.y + (to.y - from.y) * step / 4;
            ASSERT_EQ(Xdo("mousemove " + std::to_string(x) + " " + std::to_string(y)), 0);
            std::this_thread::sleep_for(40ms);
        }
        ASSERT_EQ(Xdo("mouseup 1"), 0);
        std::this_thread::sleep_for(100ms);
    }
    void Key(const std::string& key, const std::string& window = {})
    {
        ASSERT_TRUE(FocusWindow(window.empty() ? window_ : window));
        ASSERT_EQ(Xdo("key --clearmodifiers " + key), 0);
        std::this_thread::sleep_for(100ms);
    }
    // Only the press ("keydown") or only the release ("keyup") of a key.
    void KeyHalf(const std::string& half, const std::string& key)
    {
        ASSERT_EQ(Xdo(half + " " + key), 0);
        std::this_thread::sleep_for(100ms);
    }

    // A visible window with the name that is not the main window (a message box has
    // the program's name too); empty when none came within ten seconds.
    std::string WaitForOtherWindow(const std::string& namePattern) const
    {
        for (int attempt = 0; attempt < 50; ++attempt) {
            const std::string found = RunShell("timeout 10 xdotool search --onlyvisible --name '" + namePattern + "'").output;
            for (const std::string& id : WindowIds(found)) {
                if (id != window_) {
                    return id;
                }
            }
            std::this_thread::sleep_for(200ms);
        }
        return {};
    }

    // Answers the save dialog with a path and the message box that follows with Enter.
    void SaveAs(const std::string& path)
    {
        AnswerFileDialog("另存为", path);
        DismissMessage();
    }
    void AnswerOpen(const std::string& path) { AnswerFileDialog("打开", path); }
    // Types the path into the file dialog of that title and confirms it.
    void AnswerFileDialog(const std::string& title, const std::string& path)
    {
        const std::string dialog = WaitForWindow("^" + title + "$");
        ASSERT_FALSE(dialog.empty()) << "no dialog " << title << ": " << Log();
        ASSERT_TRUE(FocusWindow(dialog));
        ASSERT_EQ(Xdo("key --clearmodifiers ctrl+a"), 0);
        ASSERT_EQ(Xdo("type --delay 10 '" + path + "'"), 0);
        ASSERT_EQ(Xdo("key Return"), 0);
    }
    void DismissMessage()
    {
        const std::string box = WaitForOtherWindow("^Miravo$");
        ASSERT_FALSE(box.empty()) << "no message after saving: " << Log();
        Key("Return", box);
    }

    QPoint Position(const std::string& window = {}) const
    {
        const std::string out = RunShell("timeout 10 xdotool getwindowgeometry " + (window.empty() ? window_ : window)).output;
        std::smatch match;
        if (!std::regex_search(out, match, std::regex("Position: (-?\\d+),(-?\\d+)"))) {
            return QPoint(-9999, -9999);
        }
        return QPoint(std::stoi(match[1]), std::stoi(match[2]));
    }

    std::string window_;
};

} // namespace xdisplay
