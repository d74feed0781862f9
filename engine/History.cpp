#include "engine/History.h"

bool History::Undo()
{
    if (steps_.empty()) {
        return false;
    }
    // Keep the step alive while it runs, then drop it.
    const Step newest = std::move(steps_.back());
    steps_.pop_back();
    if (newest) {
        newest();
    }
    return true;
}
