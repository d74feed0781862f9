// Opening and saving a 24-megapixel JPEG, next to libjpeg-turbo's own command-line
// tools doing the same work in the same run, and opening a 48-megapixel HEIC next to
// libheif's heif-convert (they run as child processes, so their
// figures include starting a process, a few milliseconds). Our save writes a temporary
// file, syncs it to the disk and renames it; "ours_encode_only" and "cjpeg" both encode
// into /dev/null, "cjpeg_to_disk_synced" writes and syncs a real file like our save.
//
// Each kind is also opened both ways the program can open it: in this process
// ("in_process") and through the decoder helper ("helper", a process started per file,
// the pixels coming back in shared memory). The program opens HEIC through the helper,
// whose cost must stay within 5 % of the in-process figure; JPEG, PNG and BMP stay in the
// process when the helper would cost them more than a few percent. Run with
// --benchmark_enable_random_interleaving=true and repetitions to share out the noise of
// a busy machine between the two ways.
#include "files/AppFiles.h"
#include "imageio/DecoderHelper.h"
#include "imageio/FileContents.h"
#include "imageio/InProcessDecoder.h"
#include "imageio/JpegWriter.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureFiles.h"

#include <QImage>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <cstdlib>
#include <memory>
#include <string>

using namespace picturefiles;

namespace {

constexpr int32_t Width = 6000;
constexpr int32_t Height = 4000;

// The photo, its JPEG and PPM files, made once per process.
struct Photo {
    TempFolder folder;
    gfx::Bitmap picture = PhotoLike(Width, Height);
    std::string jpeg = folder.File("photo.jpg");
    std::string ppm = folder.File("photo.ppm");
    std::string turnedJpeg = folder.File("phone.jpg"); // the same with EXIF orientation 6

    Photo()
    {
        JpegWriter().Write(picture, jpeg);
        WriteBytes(turnedJpeg, WithExifOrientation(ReadBytes(jpeg), 6));
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(ppm.c_str(), "wb"), std::fclose);
        std::fprintf(out.get(), "P6\n%d %d\n255\n", Width, Height);
        std::vector<uint8_t> row(size_t(Width) * 3);
        for (int32_t y = 0; y < Height; ++y) {
            const gfx::Argb* pixels = picture.Scanline(y);
            for (int32_t x = 0; x < Width; ++x) {
                row[3 * x] = uint8_t(gfx::RedOf(pixels[x]));
                row[3 * x + 1] = uint8_t(gfx::GreenOf(pixels[x]));
                row[3 * x + 2] = uint8_t(gfx::BlueOf(pixels[x]));
            }
            std::fwrite(row.data(), 1, row.size(), out.get());
        }
    }
};

const Photo& ThePhoto()
{
    static const Photo photo;
    return photo;
}

void RunTool(benchmark::State& state, const std::string& command)
{
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
    }
}

void Open(benchmark::State& state, const std::string& file)
{
    const std::string& path = file;
    for (auto _ : state) {
        DecodeResult result = PictureDecoder().Decode(path);
        if (!result.Ok()) {
            state.SkipWithError(result.message.c_str());
            return;
        }
        benchmark::DoNotOptimize(result.bitmap->Pixels());
    }
}

// The two ways to open a file, each reading it as the program does.
enum class Way { InProcess, Helper };

DecodeResult OpenWay(const std::string& path, Way way)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    ::fstat(descriptor, &status);
    const FileContents file(descriptor, uint64_t(status.st_size),
                            way == Way::Helper ? FileContents::Storage::Shared : FileContents::Storage::Private);
    ::close(descriptor);
    if (way == Way::Helper) {
        return DecoderHelper(MemoryBudget::FromSystem(), DecoderHelperPath()).Decode(*file.Shared());
    }
    return InProcessDecoder(MemoryBudget::FromSystem()).Decode(file.Bytes());
}

// Processor time of this process's threads and of its waited-for children: the work a
// decode costs whatever else the machine runs meanwhile.
double ProcessorSeconds()
{
    double seconds = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval& time : {usage.ru_utime, usage.ru_stime}) {
            seconds += double(time.tv_sec) + double(time.tv_usec) / 1e6;
        }
    }
    return seconds;
}

void OpenBothWays(benchmark::State& state, const std::string& path, Way way)
{
    double helperPeak = 0;
    const double processorBefore = ProcessorSeconds();
    for (auto _ : state) {
        DecodeResult result = OpenWay(path, way);
        if (!result.Ok()) {
            state.SkipWithError(result.message.c_str());
            return;
        }
        benchmark::DoNotOptimize(result.bitmap->Pixels());
        helperPeak = double(result.helperPeakBytes) / (1 << 20);
    }
    state.counters["all_cpu_ms"] = (ProcessorSeconds() - processorBefore) * 1000 / double(state.iterations());
    if (way == Way::Helper) {
        state.counters["helper_peak_MB"] = helperPeak;
    }
}

void OpenJpeg_Ours(benchmark::State& state)
{
    Open(state, ThePhoto().jpeg);
}

// A phone portrait: decoded and turned upright in strips.
void OpenTurnedJpeg_Ours(benchmark::State& state)
{
    Open(state, ThePhoto().turnedJpeg);
}

void OpenJpeg_Djpeg(benchmark::State& state)
{
    RunTool(state, "djpeg -outfile /dev/null '" + ThePhoto().jpeg + "'");
}

// A 48 MP phone photo as HEIC, coded once per process by heif-enc (x265's fastest preset).
const std::string& HeicPhoto()
{
    static const TempFolder folder;
    static const std::string heic = [] {
        const std::string jpeg = folder.File("photo48.jpg"), heic = folder.File("photo48.heic");
        JpegWriter().Write(PhotoLike(8480, 5664), jpeg);
        if (std::system(("heif-enc -q 80 -p preset=ultrafast -o '" + heic + "' '" + jpeg + "' > /dev/null").c_str()) != 0) {
            return std::string();
        }
        return heic;
    }();
    return heic;
}

void OpenHeic_Ours(benchmark::State& state) { Open(state, HeicPhoto()); }
void OpenHeic_InProcess(benchmark::State& state) { OpenBothWays(state, HeicPhoto(), Way::InProcess); }
void OpenHeic_Helper(benchmark::State& state) { OpenBothWays(state, HeicPhoto(), Way::Helper); }

void OpenJpeg_InProcess(benchmark::State& state) { OpenBothWays(state, ThePhoto().jpeg, Way::InProcess); }
void OpenJpeg_Helper(benchmark::State& state) { OpenBothWays(state, ThePhoto().jpeg, Way::Helper); }

// The 24 MP photo as PNG (Qt's writer, zlib's default level) and as a 24-bit BMP.
const std::string& PhotoAs(const char* format)
{
    static std::map<std::string, std::string> files;
    std::string& file = files[format];
    if (file.empty()) {
        file = ThePhoto().folder.File(std::string("photo.") + format);
        const gfx::Bitmap& picture = ThePhoto().picture;
        QImage(reinterpret_cast<const uchar*>(picture.Pixels()), picture.Width(), picture.Height(), QImage::Format_RGB32)
            .save(QString::fromStdString(file), format);
    }
    return file;
}
void OpenPng_InProcess(benchmark::State& state) { OpenBothWays(state, PhotoAs("png"), Way::InProcess); }
void OpenPng_Helper(benchmark::State& state) { OpenBothWays(state, PhotoAs("png"), Way::Helper); }
void OpenBmp_InProcess(benchmark::State& state) { OpenBothWays(state, PhotoAs("bmp"), Way::InProcess); }
void OpenBmp_Helper(benchmark::State& state) { OpenBothWays(state, PhotoAs("bmp"), Way::Helper); }

// heif-convert writes a picture file: Y4M, its cheapest (the decoded planes as they are),
// and JPEG, as a person converting the photo would.
void OpenHeic_HeifConvertY4m(benchmark::State& state)
{
    RunTool(state, "heif-convert '" + HeicPhoto() + "' /tmp/miravo-bench-heic.y4m > /dev/null");
    std::remove("/tmp/miravo-bench-heic.y4m");
}
void OpenHeic_HeifConvertJpeg(benchmark::State& state)
{
    RunTool(state, "heif-convert '" + HeicPhoto() + "' /tmp/miravo-bench-heic.jpg > /dev/null");
    std::remove("/tmp/miravo-bench-heic.jpg");
}

void SaveJpeg_Ours(benchmark::State& state)
{
    const Photo& photo = ThePhoto();
    const std::string path = photo.folder.File("saved.jpg");
    for (auto _ : state) {
        const SaveResult result = JpegWriter().Write(photo.picture, path);
        if (!result.saved) {
            state.SkipWithError(result.message.c_str());
            return;
        }
    }
}

// The encoding alone, into /dev/null like the tool below: no temporary file, no sync.
void EncodeJpeg_Ours(benchmark::State& state)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> sink(std::fopen("/dev/null", "wb"), std::fclose);
    for (auto _ : state) {
        if (!JpegWriter().Encode(sink.get(), ThePhoto().picture, {})) {
            state.SkipWithError("encoding failed");
            return;
        }
    }
}

void SaveJpeg_Cjpeg(benchmark::State& state)
{
    RunTool(state, "cjpeg -quality 92 -sample 1x1 -optimize -outfile /dev/null '" + ThePhoto().ppm + "'");
}

// The same work as our save: the file written to the disk, not to /dev/null.
void SaveJpeg_CjpegToDisk(benchmark::State& state)
{
    const std::string target = ThePhoto().folder.File("cjpeg.jpg");
    RunTool(state, "cjpeg -quality 92 -sample 1x1 -optimize -outfile '" + target + "' '" + ThePhoto().ppm + "' && sync '"
                       + target + "'");
}

} // namespace

BENCHMARK(OpenJpeg_Ours)->Name("OpenJpeg24MP/ours")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenTurnedJpeg_Ours)->Name("OpenJpeg24MP/ours_turned")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenJpeg_Djpeg)->Name("OpenJpeg24MP/djpeg")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenHeic_Ours)->Name("OpenHeic48MP/ours")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(OpenHeic_InProcess)->Name("OpenHeic48MP/in_process")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(OpenHeic_Helper)->Name("OpenHeic48MP/helper")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(OpenJpeg_InProcess)->Name("OpenJpeg24MP/in_process")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenJpeg_Helper)->Name("OpenJpeg24MP/helper")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenPng_InProcess)->Name("OpenPng24MP/in_process")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenPng_Helper)->Name("OpenPng24MP/helper")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenBmp_InProcess)->Name("OpenBmp24MP/in_process")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenBmp_Helper)->Name("OpenBmp24MP/helper")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(OpenHeic_HeifConvertY4m)->Name("OpenHeic48MP/heif-convert_y4m")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(OpenHeic_HeifConvertJpeg)->Name("OpenHeic48MP/heif-convert_jpeg")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(SaveJpeg_Ours)->Name("SaveJpeg24MP/ours")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(EncodeJpeg_Ours)->Name("SaveJpeg24MP/ours_encode_only")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(SaveJpeg_Cjpeg)->Name("SaveJpeg24MP/cjpeg")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(SaveJpeg_CjpegToDisk)->Name("SaveJpeg24MP/cjpeg_to_disk_synced")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
