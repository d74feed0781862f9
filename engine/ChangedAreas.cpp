#include "engine/ChangedAreas.h"

void ChangedAreas::Add(const gfx::Rect& area)
{
    if (area.IsEmpty()) {
        return;
    }
    gfx::Rect merged = area;
    // Absorb every rectangle the new one overlaps; repeat, since the union may reach others.
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < areas_.size(); ++i) {
            if (!areas_[i].Intersected(merged).IsEmpty()) {
                merged = merged.United(areas_[i]);
                areas_.erase(areas_.begin() + std::ptrdiff_t(i));
                grew = true;
                break;
            }
        }
    }
    areas_.push_back(merged);
    if (areas_.size() > MaxAreas) {
        gfx::Rect bounds;
        for (const gfx::Rect& r : areas_) {
            bounds = bounds.United(r);
        }
        areas_.assign(1, bounds);
    }
}

std::vector<gfx::Rect> ChangedAreas::Take()
{
    std::vector<gfx::Rect> taken;
    taken.swap(areas_);
    return taken;
}
