// A window built on the shell for the window tests. It reports what reaches its
// handlers, one line each, in the file named by its first argument:
//   ready <window id>          shown; the back buffer is in the image file
//   left-down x y / left-up x y / right-down x y / right-up x y / move x y
//   cursor-at x y              after left-down: the pointer position the window reads itself
//   wheel <delta> / key <virtual key> / drag x y / cursor <hotspot x> <hotspot y> <width> <height>
//   painted <n>                a right press drew a square; the image file holds the new back buffer
//   end <code>                 the modal loop ended
// Arguments: report file, cursor file, image file, window x, window y.
// Pressing the left button in the top band (y < 30) drags the window; the cursor file's
// cursor is shown below the band; Escape ends the window.

#include "shell/BitmapImage.h"
#include "shell/CursorFile.h"
#include "shell/SkinnedWindow.h"
#include "shell/VirtualKeys.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kBandHeight = 30;

class ShellTestWindow : public shell::SkinnedWindow {
public:
    ShellTestWindow(const QString& reportPath, const QString& cursorPath, QString imagePath, gfx::Point at)
        : report_(reportPath), cursor_(shell::CursorFile::LoadCursor(cursorPath)), imagePath_(std::move(imagePath)),
          at_(at)
    {
        report_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    }

protected:
    void OnInitDialog() override
    {
        setWindowTitle("shell test window");
        MoveWindow({at_.x, at_.y, kWidth, kHeight});
        PaintFace();
        SaveBackBuffer();
        QTimer::singleShot(0, this, [this] { Report(QString("ready %1").arg(winId())); });
    }
    void OnLeftDown(gfx::Point p) override
    {
        Report("left-down", p);
        Report("cursor-at", CursorPosition());
        if (p.y < kBandHeight) {
            Report("drag", p);
            StartSystemDrag();
        }
    }
    void OnLeftUp(gfx::Point p) override { Report("left-up", p); }
    void OnRightDown(gfx::Point p) override
    {
        Report("right-down", p);
        DrawSquare(p);
    }
    void OnRightUp(gfx::Point p) override { Report("right-up", p); }
    void OnMouseMove(gfx::Point p) override { Report("move", p); }
    void OnWheel(int delta) override { Report(QString("wheel %1").arg(delta)); }
    bool PreTranslateKeyDown(int key) override
    {
        Report(QString("key %1").arg(key));
        return key != vk::Escape;
    }
    bool OnSetCursor() override
    {
        if (!cursor_ || CursorPosition().y < kBandHeight) {
            return false;
        }
        SetCursorShape(*cursor_);
        const QCursor shown = cursor();
        const QString line = QString("cursor %1 %2 %3 %4")
                                 .arg(shown.hotSpot().x())
                                 .arg(shown.hotSpot().y())
                                 .arg(shown.pixmap().width())
                                 .arg(shown.pixmap().height());
        if (line != lastCursorLine_) {
            lastCursorLine_ = line;
            Report(line);
        }
        return true;
    }

public:
    void Report(const QString& line)
    {
        QTextStream(&report_) << line << '\n';
        report_.flush();
    }

private:
    void Report(const char* what, gfx::Point p) { Report(QString("%1 %2 %3").arg(what).arg(p.x).arg(p.y)); }

    // Every pixel differs from its neighbours, so any shift or scaling shows.
    void PaintFace()
    {
        gfx::Bitmap& face = BackBuffer();
        for (int y = 0; y < face.Height(); ++y) {
            gfx::Argb* row = face.Scanline(y);
            for (int x = 0; x < face.Width(); ++x) {
                const bool band = y < kBandHeight;
                row[x] = gfx::MakeArgb(255, uint32_t(x * 7 + y) & 0xFF, band ? 40 : uint32_t(y * 5) & 0xFF,
                                       uint32_t(x ^ (y * 3)) & 0xFF);
            }
        }
    }

    // Draws into the back buffer and shows only the changed square, as the skinned
    // widgets do.
    void DrawSquare(gfx::Point centre)
    {
        const gfx::Rect square = gfx::Rect{centre.x - 6, centre.y - 6, 13, 13}.Intersected(BackBuffer().Bounds());
        const gfx::Argb colour = gfx::MakeArgb(255, 250, 250, uint32_t(++squares_ * 40) & 0xFF);
        for (int y = square.y; y < square.Bottom(); ++y) {
            std::fill(BackBuffer().Scanline(y) + square.x, BackBuffer().Scanline(y) + square.Right(), colour);
        }
        Invalidate(square);
        UpdateWindow();
        SaveBackBuffer();
        Report(QString("painted %1").arg(squares_));
    }

    void SaveBackBuffer() { shell::ToQImage(BackBuffer()).save(imagePath_, "PNG"); }

    QFile report_;
    std::optional<QCursor> cursor_;
    QString imagePath_;
    gfx::Point at_;
    QString lastCursorLine_;
    int squares_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s report-file cursor-file image-file x y\n", argv[0]);
        return 2;
    }
    const QStringList args = app.arguments();
    ShellTestWindow window(args[1], args[2], args[3], {args[4].toInt(), args[5].toInt()});
    const int code = window.RunModal();
    window.Report(QString("end %1").arg(code));
    return 0;
}
