// The cost of one mouse event of the brush tools on a 1 and a 48 megapixel picture
// (it should follow the brush, not the picture), and of each effect on its largest
// brush square next to a plain copy of the same rectangle.
#include "engine/MaskedEffect.h"
#include "engine/NullEffect.h"
#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"
#include "tools/BloatPinchEffect.h"
#include "tools/ClickEffectOperation.h"
#include "tools/ClickMoveEffectOperation.h"
#include "tools/HealEffect.h"
#include "tools/LumaCurveEffect.h"
#include "tools/MoveEffectOperation.h"
#include "tools/StretchWarpEffect.h"
#include "tools/TentBlurEffect.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// Pictures and their environments are built once per process: a 48 megapixel picture
// takes a good part of a second to make and three copies of 192 MB to hold.
enum class Content { Noise, Skin };

FakeEnvironment& SharedEnvironment(int64_t megapixels, Content content = Content::Noise)
{
    static std::map<std::pair<int64_t, Content>, std::unique_ptr<FakeEnvironment>> environments;
    auto& env = environments[{megapixels, content}];
    if (!env) {
        const int32_t width = megapixels == 1 ? 1000 : 8000;
        const int32_t height = megapixels == 1 ? 1000 : 6000;
        env = std::make_unique<FakeEnvironment>(content == Content::Noise ? testpictures::Noise(width, height, 42)
                                                                          : testpictures::Skin(width, height, 42));
        env->picture->BeginEdit(); // the layer's own working copy, made once
        env->picture->Commit();
    }
    env->history.Clear();
    return *env;
}

gfx::Point CentreOf(const FakeEnvironment& env)
{
    return {env.picture->Width() / 2, env.picture->Height() / 2};
}

std::shared_ptr<Effect> Brighten()
{
    return std::make_shared<MaskedEffect>(std::make_shared<LumaCurveEffect>(2, 8));
}

std::shared_ptr<Effect> SpotRemoval()
{
    return std::make_shared<MaskedEffect>(std::make_shared<TentBlurEffect>(5));
}

// A bc drag over the middle of the picture at the largest brush (radius 40). The
// interval is 2, so one iteration is two drag events, of which one dabs.
void BM_BcDragEvent(benchmark::State& state)
{
    FakeEnvironment& env = SharedEnvironment(state.range(0));
    auto size = std::make_shared<OperationScope>(10, 40);
    size->SetValue(40);
    ClickMoveEffectOperation bc(&env, 2, Brighten(), Brighten(), size);
    const gfx::Point centre = CentreOf(env);
    env.cursor = centre;
    bc.buttonState = 1;
    bc.OnLeftDown(&env);
    int32_t step = 0;
    for (auto _ : state) {
        env.cursor = {centre.x + (step % 64) * 3, centre.y + (step / 64 % 16) * 3};
        ++step;
        bc.OnDrag(&env);
        bc.OnDrag(&env);
    }
    bc.buttonState = 0;
    bc.OnButtonUp(&env);
}
BENCHMARK(BM_BcDragEvent)->Arg(1)->Arg(48)->Unit(benchmark::kMicrosecond);

// A stretch drag at radius 80: each event restores and warps a 480 x 480 area.
void BM_StretchDragEvent(benchmark::State& state)
{
    FakeEnvironment& env = SharedEnvironment(state.range(0));
    auto size = std::make_shared<OperationScope>(30, 80);
    size->SetValue(80);
    auto warp = std::make_shared<StretchWarpEffect>(1);
    MoveEffectOperation stretch(&env, warp, warp, NullEffect::Shared(), size);
    const gfx::Point centre = CentreOf(env);
    env.cursor = centre;
    stretch.buttonState = 1;
    stretch.OnLeftDown(&env);
    int32_t step = 0;
    for (auto _ : state) {
        env.cursor = {centre.x + step % 60, centre.y + step % 45};
        ++step;
        stretch.OnDrag(&env);
    }
    stretch.buttonState = 0;
    stretch.OnButtonUp(&env);
}
BENCHMARK(BM_StretchDragEvent)->Arg(1)->Arg(48)->Unit(benchmark::kMicrosecond);

// Clicks of a click tool at the largest brush (radius 40), spread over the picture's
// middle: press, release with its undo snapshot, history step and commit. The history is
// cleared each time, as a long session's memory is not what is measured here.
void RunClicksAtLargestBrush(benchmark::State& state, FakeEnvironment& env, std::shared_ptr<Effect> effect)
{
    auto size = std::make_shared<OperationScope>(10, 40);
    size->SetValue(40);
    ClickEffectOperation tool(&env, std::move(effect), NullEffect::Shared(), size);
    const gfx::Point centre = CentreOf(env);
    int32_t step = 0;
    for (auto _ : state) {
        env.cursor = {centre.x + (step % 16) * 20, centre.y + (step / 16 % 16) * 20};
        ++step;
        tool.buttonState = 1;
        tool.OnLeftDown(&env);
        tool.buttonState = 0;
        tool.OnButtonUp(&env);
        env.history.Clear();
    }
}

void BM_BlurClick(benchmark::State& state)
{
    RunClicksAtLargestBrush(state, SharedEnvironment(state.range(0)), SpotRemoval());
}
BENCHMARK(BM_BlurClick)->Arg(1)->Arg(48)->Unit(benchmark::kMicrosecond);

// A heal click: the search for a spot round the click, the search of two diameters round
// the disc and the blend. On plain skin no spot stands out, so the whole disc is healed:
// the most a click can cost.
void BM_HealClick(benchmark::State& state)
{
    RunClicksAtLargestBrush(state, SharedEnvironment(state.range(0), Content::Skin), std::make_shared<HealEffect>());
}
BENCHMARK(BM_HealClick)->Arg(1)->Arg(48)->Unit(benchmark::kMillisecond);

const Surface& EffectPicture() { return SharedEnvironment(1).picture->Working(); }

void RunEffect(benchmark::State& state, Effect& effect, const gfx::Rect& brush)
{
    const Surface& picture = EffectPicture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(effect.Apply(picture, brush));
    }
    state.SetItemsProcessed(state.iterations() * brush.Area());
}

// The largest brush squares: radius 40 for blur and bc, 80 for zoom and stretch.
constexpr gfx::Rect SmallBrush{460, 460, 80, 80};
constexpr gfx::Rect LargeBrush{420, 420, 160, 160};

void BM_TentBlur(benchmark::State& state)
{
    TentBlurEffect effect(5);
    RunEffect(state, effect, SmallBrush);
}
BENCHMARK(BM_TentBlur)->Unit(benchmark::kMicrosecond);

void BM_MaskedTentBlur(benchmark::State& state)
{
    auto effect = SpotRemoval();
    RunEffect(state, *effect, SmallBrush);
}
BENCHMARK(BM_MaskedTentBlur)->Unit(benchmark::kMicrosecond);

void BM_MaskedLumaCurve(benchmark::State& state)
{
    auto effect = Brighten();
    RunEffect(state, *effect, SmallBrush);
}
BENCHMARK(BM_MaskedLumaCurve)->Unit(benchmark::kMicrosecond);

void BM_Bloat(benchmark::State& state)
{
    BloatPinchEffect effect(2);
    RunEffect(state, effect, LargeBrush);
}
BENCHMARK(BM_Bloat)->Unit(benchmark::kMicrosecond);

void BM_Pinch(benchmark::State& state)
{
    BloatPinchEffect effect(-2);
    RunEffect(state, effect, LargeBrush);
}
BENCHMARK(BM_Pinch)->Unit(benchmark::kMicrosecond);

// The warp writes three times the brush square each way: 480 x 480.
void BM_StretchWarp(benchmark::State& state)
{
    StretchWarpEffect effect(1);
    effect.SetTarget(LargeBrush.x + 110, LargeBrush.y + 60);
    RunEffect(state, effect, LargeBrush);
}
BENCHMARK(BM_StretchWarp)->Unit(benchmark::kMicrosecond);

// A plain copy of a rectangle into a new surface, as the effects return theirs.
void BM_CopyRect(benchmark::State& state)
{
    const Surface& picture = EffectPicture();
    const int32_t side = int32_t(state.range(0));
    const int32_t at = 500 - side / 2;
    for (auto _ : state) {
        auto copy = CreateSurface(side, side);
        CopyRegion(picture, at, at, *copy);
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_CopyRect)->Arg(80)->Arg(160)->Arg(480)->Unit(benchmark::kMicrosecond);

} // namespace
