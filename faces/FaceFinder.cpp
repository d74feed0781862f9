#include "faces/FaceFinder.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

Face ToPicture(const Face& found, const GrayPicture& gray)
{
    Face face;
    for (size_t i = 0; i < found.points.size(); ++i) {
        face.points[i] = gray.ToPicture(found.points[i]);
    }
    // Box edges, unlike points, scale without the half-pixel shift.
    const double s = gray.Scale();
    const auto left = int32_t(std::floor(found.box.x * s)), top = int32_t(std::floor(found.box.y * s));
    face.box = {left, top, int32_t(std::ceil(found.box.Right() * s)) - left,
                int32_t(std::ceil(found.box.Bottom() * s)) - top};
    return face;
}

} // namespace

FaceFinder::FaceFinder(std::shared_ptr<const FaceModel> model) : model_(std::move(model)) {}

std::vector<Face> FaceFinder::Find(const Surface& picture, std::stop_token stop) const
{
    const GrayPicture gray = GrayPicture::Reduced(picture, kDetectionSide, stop);
    if (gray.IsEmpty() || stop.stop_requested()) {
        return {};
    }
    const bool small = std::max(gray.Width(), gray.Height()) <= kDetectionSide / 2;
    std::vector<Face> found = model_->Find(gray, small);
    if (found.empty() && !small && !stop.stop_requested()) {
        found = model_->Find(gray, true);
    }
    if (stop.stop_requested()) {
        return {};
    }
    std::vector<Face> faces;
    for (const Face& face : found) {
        faces.push_back(ToPicture(face, gray));
    }
    std::sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) {
        return std::pair(a.box.x, a.box.y) < std::pair(b.box.x, b.box.y);
    });
    return faces;
}
