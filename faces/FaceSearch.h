#pragma once

#include "engine/Surface.h"
#include "faces/Face.h"
#include "faces/FaceModel.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

// What a face search found: the faces, or, when the model could not be read, why none
// can ever be found (a UTF-8 text for the user).
struct FaceSearchResult {
    std::vector<Face> faces;
    std::string problem;
};

// Finds faces in a background thread, so the window never waits for them unless it
// asks to. The thread reads the model first (once for the life of the search, about a
// second) and then finds the faces of each picture it is given, the newest only: a
// picture given while another is searched replaces it, and that search is stopped.
//
// All calls come from one thread (the window's); the results are copies.
class FaceSearch {
public:
    explicit FaceSearch(std::string modelPath = FaceModel::kDefaultPath);
    // Stops the search in progress and waits for the thread to end (at most the
    // detector's run on one picture, a fraction of a second).
    ~FaceSearch();
    FaceSearch(const FaceSearch&) = delete;
    FaceSearch& operator=(const FaceSearch&) = delete;

    // Searches this picture, which must not change while it is shared. The same
    // picture again (a reset shows the opened picture again) keeps its search or result.
    void Start(std::shared_ptr<const Surface> picture);
    // Forgets the picture and stops its search; the result is then empty and ready.
    void Cancel();

    // True when the result for the picture last started is known.
    bool IsReady() const;
    // The result once it is ready, or nothing; never waits.
    std::optional<FaceSearchResult> ResultIfReady() const;
    // Waits until the result is ready and returns it.
    FaceSearchResult Wait() const;

    // Whether the model has been read (successfully or not) yet.
    bool IsModelRead() const;
    // Why faces cannot be found (the model file is missing or damaged); empty while the
    // model is read or when it works.
    std::string ModelProblem() const;

private:
    void Run(std::stop_token threadStop);
    void ReadModel(std::stop_token threadStop);

    const std::string modelPath_;
    mutable std::mutex mutex_;
    mutable std::condition_variable_any changed_;
    std::shared_ptr<const FaceModel> model_;
    std::string modelProblem_;
    bool modelRead_ = false;

    uint64_t generation_ = 0;        // counts Start and Cancel calls that changed the picture
    uint64_t resultGeneration_ = 0;  // the generation result_ belongs to
    std::shared_ptr<const Surface> pending_; // given, not yet taken by the thread
    std::weak_ptr<const Surface> searched_;  // the picture of the current generation
    std::stop_source jobStop_;
    FaceSearchResult result_;

    std::jthread thread_; // last: it starts once everything above exists
};
