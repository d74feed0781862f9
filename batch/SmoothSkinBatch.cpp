#include "batch/SmoothSkinBatch.h"

#include "batch/BatchPictureFiles.h"
#include "batch/MemoryGate.h"
#include "faces/FaceFinder.h"
#include "tools/AutoSmoothCommand.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// What one picture takes while it is worked on: its pixels, and as much again for the
// decoder's buffers, the face search's grey copy and the smoothing's work.
constexpr uint64_t kBytesPerPixel = 8;

// Two paths name the same file, whether or not it exists yet.
bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        return fs::equivalent(a, b, error);
    }
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

std::string FacesWord(size_t count) { return std::to_string(count) + (count == 1 ? " face" : " faces"); }

} // namespace

SmoothSkinBatch::SmoothSkinBatch(SmoothSkinArguments arguments, std::ostream& out, std::ostream& err,
                                 std::string modelPath)
    : arguments_(std::move(arguments)), out_(out), err_(err), modelPath_(std::move(modelPath))
{
}

int SmoothSkinBatch::Run()
{
    if (arguments_.help) {
        out_ << SmoothSkinArguments::kHelpText;
        return AllWritten;
    }
    if (!arguments_.error.empty()) {
        err_ << arguments_.error << "\n\n" << SmoothSkinArguments::kHelpText;
        return WrongCommandLine;
    }
    std::error_code error;
    fs::create_directories(arguments_.outputDir, error);
    if (!fs::is_directory(arguments_.outputDir, error)) {
        err_ << "无法创建输出文件夹 " << arguments_.outputDir.string() << "\n";
        return WrongCommandLine;
    }
    const FaceModel::Loaded loaded = FaceModel::Load(modelPath_);
    if (!loaded.model) {
        err_ << loaded.problem << "\n";
        return NotAllWritten;
    }
    Plan();

    const FaceFinder finder(loaded.model);
    MemoryGate memory(BatchPictureFiles::AvailableMemory() / 2);
    std::atomic<size_t> next = 0;
    auto worker = [&] {
        for (size_t i = next++; i < jobs_.size(); i = next++) {
            Work(jobs_[i], finder, memory);
            Finished(i);
        }
    };
    const size_t threads = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), jobs_.size());
    std::vector<std::jthread> pool;
    for (size_t t = 1; t < threads; ++t) {
        pool.emplace_back(worker);
    }
    worker();
    pool.clear();

    const bool all = std::all_of(jobs_.begin(), jobs_.end(), [](const Job& job) { return job.written; });
    return all ? AllWritten : NotAllWritten;
}

// Outputs that would replace a picture of the list, or one written earlier in this run,
// are known to be skipped before anything is read.
void SmoothSkinBatch::Plan()
{
    for (const fs::path& input : arguments_.pictures) {
        Job job{input, arguments_.outputDir / input.filename().replace_extension(".jpg"), {}, {}, false, false};
        for (const fs::path& other : arguments_.pictures) {
            if (SameFile(job.output, other)) {
                job.skipped = "output would replace a picture of the list";
            }
        }
        for (const Job& earlier : jobs_) {
            if (job.skipped.empty() && SameFile(job.output, earlier.output)) {
                job.skipped = "same output as " + earlier.input.filename().string();
            }
        }
        jobs_.push_back(std::move(job));
    }
}

void SmoothSkinBatch::Work(Job& job, const FaceFinder& finder, MemoryGate& memory) const
{
    auto skip = [&job](const std::string& why) { job.line = why + ", skipped"; };
    std::error_code error;
    if (!job.skipped.empty()) {
        return skip(job.skipped);
    }
    if (!arguments_.overwrite && fs::exists(job.output, error)) {
        return skip("output exists");
    }
    uint64_t taken = 0;
    BatchPictureFiles::Picture picture = BatchPictureFiles::Read(job.input, [&](int64_t width, int64_t height) {
        taken = uint64_t(width) * uint64_t(height) * kBytesPerPixel;
        memory.Take(taken);
    });
    struct Release {
        MemoryGate& memory;
        const uint64_t& bytes;
        ~Release() { memory.Give(bytes); }
    } release{memory, taken};
    if (!picture.pixels) {
        return skip("unreadable (" + picture.problem + ")");
    }
    const std::vector<Face> faces = finder.Find(*picture.pixels);
    if (faces.empty()) {
        return skip("no face");
    }
    AutoSmoothCommand::SmoothFaces(*picture.pixels, faces, arguments_.strength);
    // Looked at again: another program may have made the file in the meantime.
    if (!arguments_.overwrite && fs::exists(job.output, error)) {
        return skip("output exists");
    }
    const std::string problem = BatchPictureFiles::Write(picture, job.output);
    if (!problem.empty()) {
        job.line = FacesWord(faces.size()) + ", not written (" + problem + ")";
        return;
    }
    job.written = true;
    job.line = FacesWord(faces.size()) + ", written";
}

// Lines come out in the pictures' order, each as soon as those before it are out.
void SmoothSkinBatch::Finished(size_t index)
{
    const std::lock_guard lock(printing_);
    jobs_[index].done = true;
    for (; printed_ < jobs_.size() && jobs_[printed_].done; ++printed_) {
        const Job& job = jobs_[printed_];
        out_ << "[" << printed_ + 1 << "/" << jobs_.size() << "] " << job.input.filename().string() << ": " << job.line
             << std::endl;
    }
}
