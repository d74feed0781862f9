#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// The undo and redo lists. Each step puts back the state on the other side of one edit,
// and records its own way back through Push while it runs: a step run by Undo records
// onto the redo list, a step run by Redo onto the undo list. Any other Push is a new
// edit, which makes what was undone unreachable, so it empties the redo list.
class History {
public:
    using Step = std::function<void()>;

    History() = default;
    // Steps bound to a history record into it while they run: it must stay where it is.
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    void Push(Step step);
    // Runs the newest step of the list, then drops it; false when there was none.
    bool Undo();
    bool Redo();
    void Clear();
    bool IsEmpty() const { return undo_.empty(); }
    size_t Size() const { return undo_.size(); }
    bool CanRedo() const { return !redo_.empty(); }
    size_t RedoSize() const { return redo_.size(); }

private:
    enum class Running { Nothing, Undo, Redo };

    bool Run(std::vector<Step>& from, std::vector<Step>& to, Running running);

    std::vector<Step> undo_;
    std::vector<Step> redo_;
    Running running_ = Running::Nothing;
};
