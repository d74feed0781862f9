// Finding faces and smoothing skin on portraits of 1 and 48 megapixels: the same crop
// round the sample portrait's face, enlarged so that the face is about 360 and about
// 2,500 pixels wide. Also reading the model, the wait for a search the window would
// show, and the memory the one-click command adds at its peak.
#include "faces/FaceFinder.h"
#include "faces/FaceModel.h"
#include "faces/FaceSearch.h"
#include "faces/SkinRegion.h"
#include "gfx/Graphics.h"
#include "engine/PictureLayer.h"
#include "support/FakeEnvironment.h"
#include "support/SamplePortrait.h"
#include "tools/AutoSmoothCommand.h"
#include "tools/SmoothOperation.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <fstream>
#include <map>
#include <string>

namespace {

// The sample's face (about 90 pixels wide) in the middle of a 4:3 crop.
constexpr gfx::Rect kCropRoundFace{79, 20, 286, 214};

std::shared_ptr<const FaceModel> Model()
{
    static const std::shared_ptr<const FaceModel> model = FaceModel::Load().model;
    return model;
}

// 1 MP: 1,155 x 866; 48 MP: 8,000 x 6,000. Made once per process.
const std::shared_ptr<Surface>& Portrait(int64_t megapixels)
{
    static std::map<int64_t, std::shared_ptr<Surface>> made;
    auto& picture = made[megapixels];
    if (!picture) {
        const auto sample = sampleportrait::Load();
        const int32_t width = megapixels == 1 ? 1155 : 8000;
        picture = CreateSurface(width, width * 3 / 4);
        gfx::Bitmap target = WrapAsBitmap(*picture);
        gfx::Graphics graphics(target);
        graphics.SetCompositingMode(gfx::CompositingMode::SourceCopy);
        graphics.DrawBitmap(WrapAsBitmap(std::as_const(*sample)), picture->Bounds(), kCropRoundFace);
    }
    return picture;
}

const std::vector<Face>& FacesOf(int64_t megapixels)
{
    static std::map<int64_t, std::vector<Face>> found;
    auto& faces = found[megapixels];
    if (faces.empty()) {
        faces = FaceFinder(Model()).Find(*Portrait(megapixels));
    }
    return faces;
}

// The process's resident memory now and at its peak since the peak was last reset.
struct Resident {
    int64_t now = 0;
    int64_t peak = 0;
};

Resident ReadResident()
{
    Resident r;
    std::ifstream status("/proc/self/status");
    std::string key;
    int64_t kilobytes = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> kilobytes) {
            r.now = kilobytes * 1024;
        } else if (key == "VmHWM:" && status >> kilobytes) {
            r.peak = kilobytes * 1024;
        }
    }
    return r;
}

// Returns freed heap memory to the system first, so that memory the command takes
// shows as new resident memory even where the heap had room from earlier runs.
void ResetPeakResident()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_ReadModel(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(FaceModel::Load());
    }
}
BENCHMARK(BM_ReadModel)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_FindFaces(benchmark::State& state)
{
    const Surface& picture = *Portrait(state.range(0));
    const FaceFinder finder(Model());
    size_t faces = 0;
    for (auto _ : state) {
        faces = finder.Find(picture).size();
    }
    state.counters["faces"] = double(faces);
    // The face's width from ear to ear, as the smoothing measures it.
    state.counters["face_width"] = FacesOf(state.range(0)).empty() ? 0.0 : SkinRegion(FacesOf(state.range(0))[0]).FaceWidth();
}
BENCHMARK(BM_FindFaces)->Arg(1)->Arg(48)->Unit(benchmark::kMillisecond);

// What the window waits for (with the wait cursor) when the command comes before the
// search has ended: a whole search of a newly opened picture, the model already read.
void BM_SearchUntilReady(benchmark::State& state)
{
    FaceSearch search;
    const std::shared_ptr<const Surface> pictures[] = {Portrait(state.range(0)), CopySurface(*Portrait(state.range(0)))};
    search.Start(pictures[1]);
    search.Wait();
    size_t turn = 0;
    for (auto _ : state) {
        search.Start(pictures[turn++ % 2]);
        benchmark::DoNotOptimize(search.Wait());
    }
}
BENCHMARK(BM_SearchUntilReady)->Arg(1)->Arg(48)->Unit(benchmark::kMillisecond)->UseRealTime();

// The one-click command through the edit cycle, undone between runs (not timed).
// peak_added_copies: the most resident memory a run added, in copies of the picture.
// With Arg 1 the picture has been edited before, so its working copy is its own, as
// in a session; with Arg 0 each run is the picture's first edit, whose copy-on-write
// copies the picture once, whatever the tool.
void BM_AutoSmooth(benchmark::State& state)
{
    const int64_t megapixels = state.range(0);
    const bool editedBefore = state.range(1) != 0;
    const std::shared_ptr<Surface> opened = CopySurface(*Portrait(megapixels));
    std::unique_ptr<FakeEnvironment> fresh = std::make_unique<FakeEnvironment>(opened);
    FakeEnvironment& env = *fresh;
    if (editedBefore) {
        env.picture->BeginEdit();
        env.picture->Commit();
    }
    AutoSmoothCommand command(&env, SmoothOperation::StrengthScope());
    const std::vector<Face>& faces = FacesOf(megapixels);
    const double pictureBytes = double(env.picture->Working().ByteSize());
    double peakCopies = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakResident();
        const Resident before = ReadResident();
        state.ResumeTiming();
        command.Run(faces);
        state.PauseTiming();
        peakCopies = std::max(peakCopies, double(ReadResident().peak - before.now) / pictureBytes);
        env.history.Undo();
        env.history.Clear();
        if (!editedBefore) {
            env.picture = std::make_shared<PictureLayer>(opened);
        }
        state.ResumeTiming();
    }
    state.counters["faces"] = double(faces.size());
    state.counters["undo_MB"] = double(command.LastStepBytes()) / 1e6;
    state.counters["picture_MB"] = pictureBytes / 1e6;
    state.counters["peak_added_copies"] = peakCopies;
}
BENCHMARK(BM_AutoSmooth)->Args({1, 1})->Args({48, 1})->Args({48, 0})->Unit(benchmark::kMillisecond);

// One drag event of the smooth brush (radius 80) across the cheek and back: each event
// dabs once. The gesture's first dab, which reads the picture round the face at the
// face's scale, is made before the timing starts.
void BM_SmoothBrushDragEvent(benchmark::State& state)
{
    const int64_t megapixels = state.range(0);
    FakeEnvironment env(CopySurface(*Portrait(megapixels)));
    env.picture->BeginEdit();
    env.picture->Commit();
    const std::vector<Face> faces = FacesOf(megapixels);
    const auto size = SmoothOperation::SizeScope();
    SmoothOperation smooth(&env, SmoothOperation::StrengthScope(), size, [&faces] { return faces; });
    const gfx::Rect box = faces.empty() ? env.picture->Bounds() : faces[0].box;
    const gfx::Point cheek{box.x + box.width / 4, box.y + box.height * 2 / 3};
    const int32_t reach = box.width / 2;
    env.cursor = cheek;
    smooth.buttonState = 1;
    smooth.OnLeftDown(&env);
    smooth.OnDrag(&env);
    int32_t step = 0;
    for (auto _ : state) {
        const int32_t along = step++ % 64;
        env.cursor = {cheek.x + (along < 32 ? along : 64 - along) * reach / 32, cheek.y};
        smooth.OnDrag(&env);
    }
    smooth.buttonState = 0;
    smooth.OnButtonUp(&env);
}
BENCHMARK(BM_SmoothBrushDragEvent)->Arg(1)->Arg(48)->Unit(benchmark::kMicrosecond);

} // namespace
