#pragma once

#include "gfx/Geometry.h"

#include <vector>

// Collects the rectangles a layer changed since someone last took them. Overlapping
// rectangles are merged; past a few dozen, all are merged into their bounds so that
// the list stays short however many writes happen between two renders.
class ChangedAreas {
public:
    void Add(const gfx::Rect& area);
    std::vector<gfx::Rect> Take();
    bool IsEmpty() const { return areas_.empty(); }

private:
    static constexpr size_t MaxAreas = 32;
    std::vector<gfx::Rect> areas_;
};
