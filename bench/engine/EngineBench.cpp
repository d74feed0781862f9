// The cost of one tool step (begin, snapshot, composite a 50 x 50 patch, push, commit)
// and of its undo, at 1, 12 and 48 megapixels, and the memory 1,000 such steps hold.
#include "engine/Operation.h"
#include "engine/PictureLayer.h"
#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <map>
#include <random>

namespace {

struct PictureSize {
    int32_t width, height;
};

PictureSize SizeFor(int64_t megapixels)
{
    switch (megapixels) {
    case 1: return {1000, 1000};
    case 12: return {4000, 3000};
    default: return {8000, 6000};
    }
}

// Pictures are made once per process and shared by every benchmark.
std::shared_ptr<Surface> SharedPicture(int64_t megapixels)
{
    static std::map<int64_t, std::shared_ptr<Surface>> pictures;
    auto& p = pictures[megapixels];
    if (!p) {
        const PictureSize s = SizeFor(megapixels);
        p = testpictures::Noise(s.width, s.height, 42);
    }
    return p;
}

// A soft brush dab: opaque grey fading out, like a masked effect's patch.
std::shared_ptr<Surface> DabPixels()
{
    auto dab = CreateSurface(50, 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            const uint32_t alpha = uint32_t((x * 5 + y * 3) % 256);
            dab->Row(y)[x] = alpha << 24 | 0x808080;
        }
    }
    return dab;
}

class ClickSteps {
public:
    explicit ClickSteps(int64_t megapixels)
        : env_(SharedPicture(megapixels)), op_(&env_), dab_(DabPixels()), rng_(1)
    {
        // Take the picture's own copy now, so that the steps measure editing, not the first copy.
        env_.picture->BeginEdit();
        env_.picture->Commit();
    }

    void Step()
    {
        const gfx::Rect bounds = env_.picture->Bounds();
        const int32_t x = int32_t(rng_() % uint32_t(bounds.width - 50));
        const int32_t y = int32_t(rng_() % uint32_t(bounds.height - 50));
        auto picture = env_.picture;
        picture->BeginEdit();
        auto snapshot = picture->StartSnapshot();
        picture->CompositePatch({x, y, 50, 50, dab_});
        env_.PushHistory([op = &op_, e = &env_, snapshot] { op->ApplySurface(e, snapshot); });
        picture->Commit();
    }

    void Undo() { env_.history.Undo(); }
    void ClearHistory() { env_.history.Clear(); }

private:
    FakeEnvironment env_;
    Operation op_;
    std::shared_ptr<Surface> dab_;
    std::mt19937 rng_;
};

void BM_ClickStep(benchmark::State& state)
{
    ClickSteps steps(state.range(0));
    int count = 0;
    for (auto _ : state) {
        steps.Step();
        if (++count % 1000 == 0) {
            state.PauseTiming();
            steps.ClearHistory();
            state.ResumeTiming();
        }
    }
    state.SetLabel(std::to_string(state.range(0)) + " MP");
}

void BM_ClickStepAndUndo(benchmark::State& state)
{
    ClickSteps steps(state.range(0));
    for (auto _ : state) {
        steps.Step();
        steps.Undo();
    }
    state.SetLabel(std::to_string(state.range(0)) + " MP");
}

void BM_HistoryOfThousandClicks(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        ClickSteps steps(state.range(0));
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            steps.Step();
        }
        state.PauseTiming();
        const size_t held = mallinfo2().uordblks - before;
        state.counters["history_MB"] = double(held) / (1024.0 * 1024.0);
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(state.range(0)) + " MP");
}

} // namespace

BENCHMARK(BM_ClickStep)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickStepAndUndo)->Arg(1)->Arg(12)->Arg(48)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryOfThousandClicks)->Arg(48)->Iterations(1)->Unit(benchmark::kMillisecond);
