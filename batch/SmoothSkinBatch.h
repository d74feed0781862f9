#pragma once

#include "batch/SmoothSkinArguments.h"
#include "faces/FaceModel.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

class FaceFinder;
class MemoryGate;

// Smooths the skin of every face in a list of pictures and writes each as a JPEG into a
// folder, without a window: one line per picture on out, in the pictures' order, saying
// how many faces were smoothed or why the picture was skipped. Never writes over a
// picture of the list, nor over a file already there unless told to. Pictures are
// worked on by as many threads as there are processors, as far as memory allows.
class SmoothSkinBatch {
public:
    enum ExitStatus { AllWritten = 0, NotAllWritten = 1, WrongCommandLine = 2 };

    SmoothSkinBatch(SmoothSkinArguments arguments, std::ostream& out, std::ostream& err,
                    std::string modelPath = FaceModel::kDefaultPath);

    int Run();

private:
    struct Job {
        std::filesystem::path input;
        std::filesystem::path output;
        std::string skipped; // why, when known before the picture is read
        std::string line;
        bool written = false;
        bool done = false;
    };

    void Plan();
    void Work(Job& job, const FaceFinder& finder, MemoryGate& memory) const;
    void Finished(size_t index);

    SmoothSkinArguments arguments_;
    std::ostream& out_;
    std::ostream& err_;
    std::string modelPath_;
    std::vector<Job> jobs_;
    std::mutex printing_;
    size_t printed_ = 0;
};
