#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// The undo list: each entry restores the picture as it was before one step.
class History {
public:
    using Step = std::function<void()>;

    void Push(Step step) { steps_.push_back(std::move(step)); }
    // Runs the newest step, then removes it; false when there was none.
    bool Undo();
    void Clear() { steps_.clear(); }
    bool IsEmpty() const { return steps_.empty(); }
    size_t Size() const { return steps_.size(); }

private:
    std::vector<Step> steps_;
};
