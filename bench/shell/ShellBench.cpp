// What the window shell costs on the paths the main window takes on every mouse move
// over the canvas (showing a changed area) and on every tool change (the help text).

#include "shell/CursorFile.h"
#include "shell/SkinnedWindow.h"
#include "shell/TextPainter.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

QApplication& BenchApplication()
{
    static int argc = 1;
    static char name[] = "shell_bench";
    static char* argv[] = {name, nullptr};
    static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: tearing Qt down among the statics after main() can crash.
    static QApplication* app = new QApplication(argc, argv);
    (void)offscreen;
    return *app;
}

void FillPattern(gfx::Bitmap& bitmap)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        gfx::Argb* row = bitmap.Scanline(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[x] = gfx::MakeArgb(255, uint32_t(x) & 0xFF, uint32_t(y) & 0xFF, uint32_t(x ^ y) & 0xFF);
        }
    }
}

// Showing an area of the 600 x 710 main window at once: the whole window (range 0) or
// the 443 x 621 canvas (range 1).
void BM_ShowBackBufferArea(benchmark::State& state)
{
    BenchApplication();
    shell::SkinnedWindow window;
    window.MoveWindow({0, 0, 600, 710});
    FillPattern(window.BackBuffer());
    window.show();
    QCoreApplication::processEvents();
    const gfx::Rect area = state.range(0) == 0 ? gfx::Rect{0, 0, 600, 710} : gfx::Rect{11, 48, 443, 621};
    for (auto _ : state) {
        window.Invalidate(area);
        window.UpdateWindow();
    }
    state.SetItemsProcessed(state.iterations() * area.Area());
}
BENCHMARK(BM_ShowBackBufferArea)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The help panel: 110 x 200 filled white, then the longest help text drawn into it.
void BM_HelpPanelText(benchmark::State& state)
{
    BenchApplication();
    const shell::TextPainter painter;
    gfx::Bitmap panel(110, 200);
    const QString help = QString::fromUtf8(
        "鼠标左键: 增加一个点, 或选择一个已有点.\r\n\r\n拖动控制点: 改变眼皮弧度.\r\n\r\n鼠标右键: "
        "在操作左眼皮, 右眼皮或隐藏控制点之间切换.\r\n\r\n控制条: 上滑杆高度, 下滑杆透明度");
    for (auto _ : state) {
        std::fill(panel.Pixels(), panel.Pixels() + 110 * 200, gfx::colors::White);
        painter.Draw(panel, panel.Bounds(), help, gfx::MakeArgb(255, 0, 0, 128));
        benchmark::DoNotOptimize(panel.Pixels());
    }
}
BENCHMARK(BM_HelpPanelText)->Unit(benchmark::kMicrosecond);

// Reading a 32 x 32 cursor file, as the link buttons do on every hover.
void BM_ReadCursorFile(benchmark::State& state)
{
    BenchApplication();
    // A 32-bit DIB entry, built as a cursor file holds it.
    QByteArray file;
    auto put16 = [&file](int v) { file.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto put32 = [&put16](int v) { put16(v & 0xFFFF), put16(v >> 16); };
    const int dibSize = 40 + 32 * 32 * 4 + 32 * 4;
    put16(0), put16(2), put16(1);
    file.append(char(32)).append(char(32)).append(char(0)).append(char(0));
    put16(5), put16(5), put32(dibSize), put32(22);
    put32(40), put32(32), put32(64), put16(1), put16(32);
    for (int i = 0; i < 6; ++i) {
        put32(0);
    }
    file.append(QByteArray(32 * 32 * 4, char(0x80)));
    file.append(QByteArray(32 * 4, char(0)));
    for (auto _ : state) {
        const shell::CursorFile cursor = shell::CursorFile::FromBytes(file);
        benchmark::DoNotOptimize(cursor.Hotspot());
    }
}
BENCHMARK(BM_ReadCursorFile)->Unit(benchmark::kMicrosecond);

} // namespace
