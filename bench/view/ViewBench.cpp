// What one canvas refresh costs on pictures of 1, 12 and 48 megapixels in the real
// 443 x 621 canvas, at fit zoom and at 1:1: after a brush-sized change of the picture,
// and after a cursor move that changes only the brush circle. Also the first frame of
// a new view against one plain copy of the picture, and the memory a view keeps.
#include "engine/CanvasView.h"
#include "engine/PictureLayer.h"
#include "tools/BezierItem.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int32_t CanvasWidth = 443;
constexpr int32_t CanvasHeight = 621;
constexpr int32_t BrushSide = 80; // a brush of radius 40 picture pixels

struct PictureSize {
    int32_t width, height;
};
constexpr PictureSize Sizes[] = {{1224, 816}, {4240, 2832}, {8480, 5664}}; // 1, 12 and 48 MP

enum ZoomMode { Fit = 0, OneToOne = 1 };

std::shared_ptr<Surface> Gradient(int32_t width, int32_t height)
{
    auto s = CreateSurface(width, height);
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = s->Row(y);
        for (int32_t x = 0; x < width; ++x) {
            row[x] = gfx::MakeArgb(255, uint32_t(x) & 0xFF, uint32_t(y) & 0xFF, uint32_t(x + y) & 0xFF);
        }
    }
    return s;
}

// The red brush circle round the cursor, as the brush tools draw it.
class BrushCircle : public OverlayPainter {
public:
    void Paint(gfx::Graphics& graphics, const ViewTransform& view) override
    {
        graphics.DrawEllipse(gfx::colors::Red, view.ToTarget(gfx::Rect{centre.x - 40, centre.y - 40, 80, 80}));
    }
    gfx::Point centre;
};

// One opened picture with its two eyelid lines; built once per size and shared by
// the benchmarks, each with its own view.
struct OpenedPicture {
    explicit OpenedPicture(PictureSize size) : picture(std::make_shared<PictureLayer>(Gradient(size.width, size.height)))
    {
        auto texture = CreateSurface(64, 16);
        std::fill(texture->pixels.get(), texture->pixels.get() + 64 * 16, 0xFF404040u);
        auto height = std::make_shared<OperationScope>(2, 14);
        auto opacity = std::make_shared<OperationScope>(0, 128);
        for (int i = 0; i < 2; ++i) {
            auto eyelid = std::make_shared<BezierItem>(texture, height, opacity);
            const float x0 = size.width * (0.3f + 0.25f * float(i)), y0 = size.height * 0.45f;
            eyelid->AppendPoint(x0, y0);
            eyelid->AppendPoint(x0 + 60, y0 - 25);
            eyelid->AppendPoint(x0 + 140, y0);
            eyelids.push_back(eyelid);
        }
    }
    std::shared_ptr<PictureLayer> picture;
    std::vector<std::shared_ptr<BezierItem>> eyelids;
};

OpenedPicture& Opened(int sizeIndex)
{
    static std::map<int, std::unique_ptr<OpenedPicture>> opened;
    auto& entry = opened[sizeIndex];
    if (!entry) {
        entry = std::make_unique<OpenedPicture>(Sizes[sizeIndex]);
    }
    return *entry;
}

// The window's canvas with a picture open in it.
struct Canvas {
    Canvas(OpenedPicture& opened, ZoomMode mode)
        : brush(std::make_shared<BrushCircle>()), bitmap(CanvasWidth, CanvasHeight), graphics(bitmap)
    {
        Open(opened, mode);
    }

    // A new view of the picture and its first render, which composes everything once.
    void Open(OpenedPicture& opened, ZoomMode mode)
    {
        view.emplace(opened.picture->Width(), opened.picture->Height(), CanvasWidth, CanvasHeight);
        view->AddLayer(opened.picture);
        for (const auto& eyelid : opened.eyelids) {
            view->AddLayer(eyelid);
        }
        view->SetOperation(brush);
        if (mode == OneToOne) {
            view->SetZoom(1.0f);
        }
        view->Render(true, graphics);
    }

    // A picture point inside the visible part, moving a little at each call.
    gfx::Point NextBrushCentre()
    {
        step = (step + 7) % 97;
        const gfx::Point corner = view->ToPicture({CanvasWidth / 4, CanvasHeight / 4});
        return {std::max(corner.x, 0) + BrushSide + step, std::max(corner.y, 0) + BrushSide + step};
    }

    std::optional<CanvasView> view;
    std::shared_ptr<BrushCircle> brush;
    gfx::Bitmap bitmap;
    gfx::Graphics graphics;
    int32_t step = 0;
};

void BrushChange(PictureLayer& picture, gfx::Point centre, uint32_t colour)
{
    const gfx::Rect area{centre.x - BrushSide / 2, centre.y - BrushSide / 2, BrushSide, BrushSide};
    picture.BeginEdit();
    Surface& working = picture.OpenForWrite(area);
    for (int32_t y = area.y; y < area.Bottom(); ++y) {
        std::fill(working.Row(y) + area.x, working.Row(y) + area.Right(), colour);
    }
    picture.Commit();
}

std::string SizeLabel(benchmark::State& state)
{
    const PictureSize size = Sizes[state.range(0)];
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

void SetLabel(benchmark::State& state) { state.SetLabel(SizeLabel(state) + (state.range(1) == Fit ? " fit" : " 1:1")); }

void BM_RenderAfterBrushChange(benchmark::State& state)
{
    OpenedPicture& opened = Opened(int(state.range(0)));
    Canvas canvas(opened, ZoomMode(state.range(1)));
    uint32_t colour = 0xFF000000;
    for (auto _ : state) {
        const gfx::Point centre = canvas.NextBrushCentre();
        BrushChange(*opened.picture, centre, colour++);
        canvas.brush->centre = centre;
        canvas.view->Render(true, canvas.graphics);
        benchmark::DoNotOptimize(canvas.bitmap.Pixels());
    }
    SetLabel(state);
}

void BM_RenderAfterCursorMove(benchmark::State& state)
{
    OpenedPicture& opened = Opened(int(state.range(0)));
    Canvas canvas(opened, ZoomMode(state.range(1)));
    for (auto _ : state) {
        canvas.brush->centre = canvas.NextBrushCentre();
        canvas.view->Render(true, canvas.graphics);
        benchmark::DoNotOptimize(canvas.bitmap.Pixels());
    }
    SetLabel(state);
}

// For comparison: a zoom step, which rescales the whole visible part once.
void BM_RenderAfterZoomStep(benchmark::State& state)
{
    OpenedPicture& opened = Opened(int(state.range(0)));
    Canvas canvas(opened, ZoomMode(state.range(1)));
    const float base = canvas.view->Zoom();
    bool in = true;
    for (auto _ : state) {
        canvas.view->SetZoom(in ? float(base * 1.196078431372549) : base);
        in = !in;
        canvas.view->Render(true, canvas.graphics);
        benchmark::DoNotOptimize(canvas.bitmap.Pixels());
    }
    SetLabel(state);
}

// For comparison: composing every layer and scaling the visible part from scratch,
// as a render without the kept back-buffer and view image would.
void BM_RenderFromScratch(benchmark::State& state)
{
    OpenedPicture& opened = Opened(int(state.range(0)));
    Canvas canvas(opened, ZoomMode(state.range(1)));
    canvas.view->RenderFull(true, canvas.graphics); // untimed, as in BM_FirstFrame
    for (auto _ : state) {
        canvas.view->RenderFull(true, canvas.graphics);
        benchmark::DoNotOptimize(canvas.bitmap.Pixels());
    }
    SetLabel(state);
}

// What the window waits for after opening a picture: a new view and its first render.
// The canvas opens the picture once untimed first: in a virtual machine, memory the
// guest has never used costs the host many times more on first touch than anything
// measured here.
void BM_FirstFrame(benchmark::State& state)
{
    OpenedPicture& opened = Opened(int(state.range(0)));
    Canvas canvas(opened, ZoomMode(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        canvas.view.reset(); // the window lets go of the old view before it opens the next
        state.ResumeTiming();
        canvas.Open(opened, ZoomMode(state.range(1)));
        benchmark::DoNotOptimize(canvas.bitmap.Pixels());
    }
    SetLabel(state);
}

// The yardstick for the first frame: one plain copy of the picture's pixels into a
// buffer that already holds them.
void BM_PlainCopy(benchmark::State& state)
{
    const Surface& picture = Opened(int(state.range(0))).picture->Working();
    const std::shared_ptr<Surface> copy = CopySurface(picture);
    for (auto _ : state) {
        std::memcpy(copy->pixels.get(), picture.pixels.get(), picture.ByteSize());
        benchmark::DoNotOptimize(copy->pixels.get());
        benchmark::ClobberMemory();
    }
    state.SetLabel(SizeLabel(state));
}

// A line of /proc/self/status such as "VmRSS:", in mebibytes.
double StatusMebibytes(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            double kibibytes = 0;
            status >> kibibytes;
            return kibibytes / 1024.0;
        }
    }
    return 0;
}

// Shows every part of the picture once at the canvas's zoom.
void PanOverAll(Canvas& canvas)
{
    CanvasView& view = *canvas.view;
    for (int32_t y = 0; y < view.PictureHeight(); y += view.SrcHeight()) {
        for (int32_t x = 0; x < view.PictureWidth(); x += view.SrcWidth()) {
            view.Scroll(y - view.SrcY(), x - view.SrcX());
            view.Render(true, canvas.graphics);
        }
    }
}

// The resident memory of a picture open in a view: "view" is what the view adds to the
// opened picture. At fit after the first render; at 1:1 after showing every part of the
// picture, which leaves all of the view's memory in use. The process peak means most
// when this benchmark runs alone (--benchmark_filter=ResidentMemory).
void BM_ResidentMemory(benchmark::State& state)
{
    OpenedPicture& opened = Opened(int(state.range(0)));
    const double withoutView = StatusMebibytes("VmRSS:");
    for (auto _ : state) {
        Canvas canvas(opened, ZoomMode(state.range(1)));
        if (state.range(1) == OneToOne) {
            PanOverAll(canvas);
        }
        state.counters["picture_MiB"] = double(opened.picture->Working().ByteSize()) / (1024.0 * 1024.0);
        state.counters["view_MiB"] = StatusMebibytes("VmRSS:") - withoutView;
        state.counters["VmRSS_MiB"] = StatusMebibytes("VmRSS:");
        state.counters["VmHWM_MiB"] = StatusMebibytes("VmHWM:");
    }
    SetLabel(state);
}

void AllSizesAndZooms(benchmark::internal::Benchmark* b)
{
    for (int size = 0; size < 3; ++size) {
        for (int mode : {Fit, OneToOne}) {
            b->Args({size, mode});
        }
    }
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_RenderAfterBrushChange)->Apply(AllSizesAndZooms);
BENCHMARK(BM_RenderAfterCursorMove)->Apply(AllSizesAndZooms);
BENCHMARK(BM_RenderAfterZoomStep)->Apply(AllSizesAndZooms)->Iterations(4);
BENCHMARK(BM_RenderFromScratch)->Apply(AllSizesAndZooms)->Iterations(2);
BENCHMARK(BM_FirstFrame)->Apply(AllSizesAndZooms)->Iterations(8);
BENCHMARK(BM_PlainCopy)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResidentMemory)->Args({2, Fit})->Args({2, OneToOne})->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
