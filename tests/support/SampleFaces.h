#pragma once

#include "engine/Surface.h"
#include "faces/FaceFinder.h"
#include "faces/FaceModel.h"
#include "support/SamplePortrait.h"

#include <memory>
#include <stdexcept>
#include <vector>

// The landmark model read once per test program, and the faces of test pictures.
namespace samplefaces {

inline const std::shared_ptr<const FaceModel>& Model()
{
    static const std::shared_ptr<const FaceModel> model = [] {
        FaceModel::Loaded loaded = FaceModel::Load();
        if (!loaded.model) {
            throw std::runtime_error(loaded.problem);
        }
        return loaded.model;
    }();
    return model;
}

inline std::vector<Face> FindIn(const Surface& picture) { return FaceFinder(Model()).Find(picture); }

// The sample portrait on a wider, lighter grey canvas with its top-left at `at`, so that
// nothing lines up with the undo tiles or the picture's middle.
inline std::shared_ptr<Surface> PortraitOnCanvas(int32_t width, int32_t height, gfx::Point at)
{
    const auto portrait = sampleportrait::Load();
    auto canvas = CreateSurface(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const bool inside = x >= at.x && y >= at.y && x < at.x + portrait->width && y < at.y + portrait->height;
            canvas->Row(y)[x] = inside ? portrait->At(x - at.x, y - at.y) : 0xFFD8D4D0u;
        }
    }
    return canvas;
}

} // namespace samplefaces
