#include "engine/History.h"

#include <utility>

void History::Push(Step step)
{
    switch (running_) {
    case Running::Undo:
        redo_.push_back(std::move(step));
        break;
    case Running::Redo:
        undo_.push_back(std::move(step));
        break;
    case Running::Nothing:
        undo_.push_back(std::move(step));
        redo_.clear();
        break;
    }
}

bool History::Undo() { return Run(undo_, redo_, Running::Undo); }

bool History::Redo() { return Run(redo_, undo_, Running::Redo); }

void History::Clear()
{
    undo_.clear();
    redo_.clear();
}

bool History::Run(std::vector<Step>& from, std::vector<Step>& to, Running running)
{
    if (from.empty()) {
        return false;
    }
    // Keep the step alive while it runs, then drop it.
    const Step newest = std::move(from.back());
    from.pop_back();
    const size_t recorded = to.size();
    struct Restore {
        Running& running;
        ~Restore() { running = Running::Nothing; }
    } restore{running_};
    running_ = running;
    if (newest) {
        newest();
    }
    // A step that changed nothing records no way back; it comes back as it was, so that
    // undo and redo always move one step each.
    if (to.size() == recorded) {
        to.push_back([this, newest] { Push(newest); });
    }
    return true;
}
