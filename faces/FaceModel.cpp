#include "faces/FaceModel.h"

#include "faces/FaceMessages.h"

#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_processing/shape_predictor.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <istream>
#include <streambuf>
#include <utility>
#include <vector>

struct FaceModel::Dlib {
    dlib::frontal_face_detector detector;
    dlib::shape_predictor landmarks;
};

namespace {

// Reads a file in large blocks, and stops giving bytes once stop is requested, which
// makes dlib's reading fail at once instead of running on for seconds.
class StoppableFileBuffer : public std::streambuf {
public:
    StoppableFileBuffer(const std::string& path, std::stop_token stop)
        : file_(std::fopen(path.c_str(), "rb")), stop_(std::move(stop)), block_(1 << 20)
    {
    }
    ~StoppableFileBuffer() override
    {
        if (file_) {
            std::fclose(file_);
        }
    }
    StoppableFileBuffer(const StoppableFileBuffer&) = delete;
    StoppableFileBuffer& operator=(const StoppableFileBuffer&) = delete;

    bool IsOpen() const { return file_ != nullptr; }

protected:
    int_type underflow() override
    {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        if (!file_ || stop_.stop_requested()) {
            return traits_type::eof();
        }
        const size_t count = std::fread(block_.data(), 1, block_.size(), file_);
        if (count == 0) {
            return traits_type::eof();
        }
        setg(block_.data(), block_.data(), block_.data() + count);
        return traits_type::to_int_type(*gptr());
    }

private:
    std::FILE* file_;
    std::stop_token stop_;
    std::vector<char> block_;
};

dlib::array2d<unsigned char> ToDlib(const GrayPicture& gray)
{
    dlib::array2d<unsigned char> image(gray.Height(), gray.Width());
    for (int32_t y = 0; y < gray.Height(); ++y) {
        std::copy_n(gray.Row(y), gray.Width(), &image[y][0]);
    }
    return image;
}

gfx::PointF ToPoint(const dlib::dpoint& p) { return {float(p.x()), float(p.y())}; }

} // namespace

FaceModel::FaceModel() : dlib_(std::make_unique<Dlib>()) {}

FaceModel::~FaceModel() = default;

FaceModel::Loaded FaceModel::Load(const std::string& path, std::stop_token stop)
{
    StoppableFileBuffer buffer(path, stop);
    if (!buffer.IsOpen()) {
        return {nullptr, facemessages::WithArgument(facemessages::ModelMissing, path)};
    }
    std::istream file(&buffer);
    std::shared_ptr<FaceModel> model(new FaceModel);
    try {
        dlib::deserialize(model->dlib_->landmarks, file);
    } catch (...) {
        if (stop.stop_requested()) {
            return {};
        }
        // A damaged file may also claim sizes that do not fit in memory.
        return {nullptr, facemessages::WithArgument(facemessages::ModelDamaged, path)};
    }
    if (model->dlib_->landmarks.num_parts() != Face::kPointCount || model->dlib_->landmarks.num_features() == 0) {
        return {nullptr, facemessages::WithArgument(facemessages::ModelDamaged, path)};
    }
    model->dlib_->detector = dlib::get_frontal_face_detector();
    return {std::move(model), {}};
}

std::vector<Face> FaceModel::Find(const GrayPicture& gray, bool enlarged) const
{
    if (gray.IsEmpty()) {
        return {};
    }
    dlib::array2d<unsigned char> image = ToDlib(gray);
    if (enlarged) {
        dlib::pyramid_up(image);
    }
    // The detector keeps the scanned picture's features while it runs: one per call.
    dlib::frontal_face_detector detector = dlib_->detector;
    std::vector<dlib::rect_detection> detections;
    detector(image, detections, kMinConfidence);

    const dlib::pyramid_down<2> halve;
    std::vector<Face> faces;
    for (const dlib::rect_detection& detection : detections) {
        const dlib::full_object_detection shape = dlib_->landmarks(image, detection.rect);
        dlib::drectangle box = detection.rect;
        Face face;
        for (int32_t i = 0; i < Face::kPointCount; ++i) {
            const dlib::dpoint p = shape.part(unsigned(i));
            face.points[size_t(i)] = ToPoint(enlarged ? halve.point_down(p) : p);
        }
        if (enlarged) {
            box = halve.rect_down(box);
        }
        // dlib's right and bottom are inclusive pixel indexes.
        const auto left = int32_t(std::floor(box.left())), top = int32_t(std::floor(box.top()));
        face.box = {left, top, int32_t(std::ceil(box.right())) + 1 - left, int32_t(std::ceil(box.bottom())) + 1 - top};
        faces.push_back(face);
    }
    return faces;
}
