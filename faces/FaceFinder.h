#pragma once

#include "engine/Surface.h"
#include "faces/Face.h"
#include "faces/FaceModel.h"

#include <memory>
#include <stop_token>
#include <vector>

// Finds the faces of a picture of any size in about the same time: the detector looks
// at a grey copy whose longer side is at most kDetectionSide pixels, and the points
// found there are mapped back to the picture. A small picture, or one in which no face
// of the detector's smallest size shows, is looked at once more enlarged twice.
class FaceFinder {
public:
    static constexpr int32_t kDetectionSide = 1200;

    explicit FaceFinder(std::shared_ptr<const FaceModel> model);

    // The faces, in the picture's pixel coordinates, ordered left to right; none when
    // stop was requested before the search ended.
    std::vector<Face> Find(const Surface& picture, std::stop_token stop = {}) const;

private:
    std::shared_ptr<const FaceModel> model_;
};
