// The program's windows as a person meets them, on Qt's offscreen platform: one mouse
// event from its arrival to the pixels in the window's buffer, on 1 and 48 megapixel
// pictures; opening a 24 MP JPEG until its first frame shows, next to djpeg; the memory
// a 48 MP picture takes while it is edited; the compare window on 48 MP, and saving the
// before-and-after pair next to saving the single result and to cjpeg.
#include "app/MainWindowDriver.h"
#include "compare/CCompareDlg.h"
#include "imageio/JpegWriter.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

struct Size {
    int32_t width, height;
};
constexpr Size kOneMp{1224, 816};
constexpr Size kFortyEightMp{8480, 5664};
constexpr Size kTwentyFourMp{6000, 4000};

const picturefiles::TempFolder& Folder()
{
    static const picturefiles::TempFolder folder;
    return folder;
}

// A photo-like JPEG of the size, written once per process.
std::string PhotoFile(Size size)
{
    const std::string path = Folder().File("photo-" + std::to_string(size.width) + ".jpg");
    if (!std::ifstream(path)) {
        JpegWriter().Write(picturefiles::PhotoLike(size.width, size.height), path);
    }
    return path;
}

double MegabytesOf(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) {
            return std::stod(line.substr(std::string(field).size() + 1)) / 1024.0; // kB
        }
    }
    return 0;
}
double ResidentMb() { return MegabytesOf("VmRSS:"); }
double PeakMb() { return MegabytesOf("VmHWM:"); }
// Lets the next PeakMb() tell the peak from now on.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// One main window per picture size, with the picture open, kept for the whole run.
MainWindowDriver& WindowWith(Size size)
{
    // Never destroyed: the application they need is gone by the time statics are.
    static auto& windows = *new std::map<int32_t, std::unique_ptr<MainWindowDriver>>;
    std::unique_ptr<MainWindowDriver>& driver = windows[size.width];
    if (!driver) {
        driver = std::make_unique<MainWindowDriver>();
        driver->window->OpenFile(QString::fromStdString(PhotoFile(size)));
    }
    return *driver;
}

Size SizeArg(const benchmark::State& state) { return state.range(0) == 1 ? kOneMp : kFortyEightMp; }

const gfx::Point kNear = MainWindowDriver::OnCanvas(200, 300);
const gfx::Point kFar = MainWindowDriver::OnCanvas(212, 309);

void MouseMove(benchmark::State& state)
{
    MainWindowDriver& d = WindowWith(SizeArg(state));
    d.ClickButton("blur");
    bool far = false;
    for (auto _ : state) {
        d.MoveTo((far = !far) ? kFar : kNear);
    }
}

void Drag(benchmark::State& state, const char* tool)
{
    MainWindowDriver& d = WindowWith(SizeArg(state));
    d.ClickButton(tool);
    d.MoveTo(kNear);
    d.Press(kNear);
    int step = 0;
    for (auto _ : state) {
        // Back and forth inside the stretch circle fixed at the press.
        d.MoveTo({kNear.x + (step % 8) * 2, kNear.y + (step % 8)});
        ++step;
    }
    d.Release(kNear);
    d.ClickButton("undo");
}
void BcDrag(benchmark::State& state) { Drag(state, "bc"); }
void StretchDrag(benchmark::State& state) { Drag(state, "stretch"); }

void OpenFromCommandLine(benchmark::State& state)
{
    TestApplication();
    const QString path = QString::fromStdString(PhotoFile(kTwentyFourMp));
    shell::ScriptedUserDialogs dialogs;
    for (auto _ : state) {
        CQuillomatDlg window(dialogs, path);
        window.InitAndShow();
        while (window.Session() == nullptr && dialogs.Messages().isEmpty()) {
            QCoreApplication::processEvents();
        }
        benchmark::DoNotOptimize(window.CanvasBitmap().Pixels());
    }
}

void Djpeg(benchmark::State& state)
{
    const std::string command = "djpeg -outfile /dev/null '" + PhotoFile(kTwentyFourMp) + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("djpeg failed");
        }
    }
}

// Resident memory with a 48 MP picture open, then after 100 spot-removal clicks spread
// over it at fit: at most three copies of the picture and 100 MB ("ceiling_MB"). Seen
// small, the view composes the changed areas into its pyramid alone, so the edits cost
// the picture being edited and the steps' saved pixels, not the view's back-buffer.
void EditingMemory(benchmark::State& state)
{
    const double pictureMb = double(kFortyEightMp.width) * kFortyEightMp.height * 4 / (1024 * 1024);
    double empty = 0, opened = 0, edited = 0;
    for (auto _ : state) {
        MainWindowDriver d;
        empty = ResidentMb();
        d.window->OpenFile(QString::fromStdString(PhotoFile(kFortyEightMp)));
        opened = ResidentMb();
        d.ClickButton("blur");
        for (int i = 0; i < 100; ++i) {
            d.Click(MainWindowDriver::OnCanvas(40 + (i % 10) * 36, 200 + (i / 10) * 24));
        }
        edited = ResidentMb();
    }
    state.counters["picture_MB"] = pictureMb;
    state.counters["window_MB"] = empty;
    state.counters["opened_MB"] = opened;
    state.counters["edited_MB"] = edited;
    state.counters["edited_copies"] = (edited - empty) / pictureMb;
    state.counters["ceiling_MB"] = 3 * pictureMb + 100;
}

void RenderFromScratch(benchmark::State& state)
{
    MainWindowDriver& d = WindowWith(kFortyEightMp);
    gfx::Bitmap canvas(layout::kCanvas.width, layout::kCanvas.height);
    gfx::Graphics graphics(canvas);
    for (auto _ : state) {
        d.Session().View()->RenderFull(true, graphics);
    }
}

void ShowCompareWindow(benchmark::State& state)
{
    MainWindowDriver& d = WindowWith(kFortyEightMp);
    double first = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
        compare.InitAndShow();
        benchmark::DoNotOptimize(compare.BackBuffer().Pixels());
        if (first == 0) { // the first window also touches memory the process never used
            first = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
    }
    state.counters["first_ms"] = first;
}

void Save(benchmark::State& state, bool pair)
{
    MainWindowDriver& d = WindowWith(kFortyEightMp);
    d.ClickButton("bc");
    d.Click(kNear);
    CCompareDlg compare(d.window.get(), d.dialogs, d.Session().Picture(), *d.Session().View(), {});
    compare.InitAndShow();
    const QString path = QString::fromStdString(Folder().File(pair ? "pair" : "result"));
    double before = 0, peak = 0;
    for (auto _ : state) {
        d.dialogs.AnswerSave(path);
        before = ResidentMb();
        ResetPeak();
        if (pair) {
            compare.SaveComparison();
        } else {
            d.window->Save();
        }
        peak = PeakMb();
    }
    state.counters["resident_before_MB"] = before;
    state.counters["peak_added_MB"] = peak - before;
    d.ClickButton("undo");
}
void SavePair(benchmark::State& state) { Save(state, true); }
void SaveSingle(benchmark::State& state) { Save(state, false); }

// cjpeg with our settings (quality 92, 4:4:4, optimised tables) on a picture of the
// pair's size, read from a PPM file.
void CjpegPairSize(benchmark::State& state)
{
    const std::string ppm = Folder().File("pair.ppm");
    if (!std::ifstream(ppm)) {
        const gfx::Bitmap photo = picturefiles::PhotoLike(kFortyEightMp.width, kFortyEightMp.height);
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << 2 * kFortyEightMp.width << " " << kFortyEightMp.height << "\n255\n";
        std::vector<char> row(size_t(kFortyEightMp.width) * 6);
        for (int32_t y = 0; y < kFortyEightMp.height; ++y) {
            for (int32_t x = 0; x < 2 * kFortyEightMp.width; ++x) {
                const gfx::Argb p = photo.GetPixel(x % kFortyEightMp.width, y);
                row[3 * x] = char(gfx::RedOf(p));
                row[3 * x + 1] = char(gfx::GreenOf(p));
                row[3 * x + 2] = char(gfx::BlueOf(p));
            }
            out.write(row.data(), std::streamsize(row.size()));
        }
    }
    const std::string command = "cjpeg -quality 92 -sample 1x1 -optimize -outfile /dev/null '" + ppm + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cjpeg failed");
        }
    }
}

// The parts of the figures above: flattening the 48 MP result, a window without a
// picture, and decoding the 24 MP JPEG alone.
void FlattenMain(benchmark::State& state)
{
    MainWindowDriver& d = WindowWith(kFortyEightMp);
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.Session().View()->Flatten());
    }
}
void WindowOnly(benchmark::State& state)
{
    TestApplication();
    shell::ScriptedUserDialogs dialogs;
    for (auto _ : state) {
        CQuillomatDlg window(dialogs);
        window.InitAndShow();
    }
}
void DecodeOnly(benchmark::State& state)
{
    const std::string path = PhotoFile(kTwentyFourMp);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PictureDecoder().Decode(path));
    }
}

const bool kOffscreen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return true;
}();

} // namespace

BENCHMARK(MouseMove)->Arg(1)->Arg(48)->Unit(benchmark::kMillisecond);
BENCHMARK(BcDrag)->Arg(1)->Arg(48)->Unit(benchmark::kMillisecond);
BENCHMARK(StretchDrag)->Arg(1)->Arg(48)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenFromCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(Djpeg)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(EditingMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RenderFromScratch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ShowCompareWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveSingle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(SavePair)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(CjpegPairSize)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(FlattenMain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WindowOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
