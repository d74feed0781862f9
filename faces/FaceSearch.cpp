#include "faces/FaceSearch.h"

#include "faces/FaceFinder.h"

#include <utility>

namespace {

bool SameOwner(const std::weak_ptr<const Surface>& a, const std::shared_ptr<const Surface>& b)
{
    return !a.owner_before(b) && !b.owner_before(a);
}

} // namespace

FaceSearch::FaceSearch(std::string modelPath)
    : modelPath_(std::move(modelPath)), thread_([this](std::stop_token stop) { Run(stop); })
{
}

FaceSearch::~FaceSearch()
{
    {
        const std::lock_guard lock(mutex_);
        jobStop_.request_stop();
    }
    thread_.request_stop();
    thread_.join();
}

void FaceSearch::Start(std::shared_ptr<const Surface> picture)
{
    if (!picture) {
        Cancel();
        return;
    }
    const std::lock_guard lock(mutex_);
    if (SameOwner(searched_, picture)) {
        return;
    }
    ++generation_;
    jobStop_.request_stop();
    jobStop_ = std::stop_source();
    searched_ = picture;
    pending_ = std::move(picture);
    changed_.notify_all();
}

void FaceSearch::Cancel()
{
    const std::lock_guard lock(mutex_);
    ++generation_;
    jobStop_.request_stop();
    pending_.reset();
    searched_.reset();
    result_ = {};
    resultGeneration_ = generation_;
    changed_.notify_all();
}

bool FaceSearch::IsReady() const
{
    const std::lock_guard lock(mutex_);
    return resultGeneration_ == generation_;
}

std::optional<FaceSearchResult> FaceSearch::ResultIfReady() const
{
    const std::lock_guard lock(mutex_);
    if (resultGeneration_ != generation_) {
        return std::nullopt;
    }
    return result_;
}

FaceSearchResult FaceSearch::Wait() const
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return resultGeneration_ == generation_; });
    return result_;
}

bool FaceSearch::IsModelRead() const
{
    const std::lock_guard lock(mutex_);
    return modelRead_;
}

std::string FaceSearch::ModelProblem() const
{
    const std::lock_guard lock(mutex_);
    return modelProblem_;
}

void FaceSearch::ReadModel(std::stop_token threadStop)
{
    FaceModel::Loaded loaded = FaceModel::Load(modelPath_, threadStop);
    const std::lock_guard lock(mutex_);
    model_ = std::move(loaded.model);
    modelProblem_ = std::move(loaded.problem);
    modelRead_ = true;
    changed_.notify_all();
}

void FaceSearch::Run(std::stop_token threadStop)
{
    ReadModel(threadStop);
    const std::optional<FaceFinder> finder = model_ ? std::optional<FaceFinder>(FaceFinder(model_)) : std::nullopt;
    while (true) {
        std::shared_ptr<const Surface> picture;
        uint64_t generation = 0;
        std::stop_token jobStop;
        {
            std::unique_lock lock(mutex_);
            if (!changed_.wait(lock, threadStop, [this] { return pending_ != nullptr; })) {
                return;
            }
            picture = std::move(pending_);
            generation = generation_;
            jobStop = jobStop_.get_token();
        }
        FaceSearchResult result;
        if (finder) {
            try {
                result.faces = finder->Find(*picture, jobStop);
            } catch (const std::bad_alloc&) {
                // Too little memory left for the grey copy: the picture has no faces to offer.
            }
        } else {
            result.problem = modelProblem_;
        }
        {
            const std::lock_guard lock(mutex_);
            if (generation == generation_) {
                result_ = std::move(result);
                resultGeneration_ = generation;
                changed_.notify_all();
            }
        }
    }
}
