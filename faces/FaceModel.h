#pragma once

#include "faces/Face.h"
#include "faces/GrayPicture.h"

#include <memory>
#include <stop_token>
#include <string>
#include <vector>

// The face detector and the 68-point landmark model: the only class that sees dlib.
// Reading the model file (about 100 MB) takes a second or more, so it is done once and
// the model shared; finding faces only reads it, from any number of threads at once.
class FaceModel {
public:
    static constexpr char kDefaultPath[] = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";
    // Detections the detector is less sure of are left out: printed badges, patterns
    // and textures that look a little like a face score below this, faces well above.
    static constexpr double kMinConfidence = 0.25;

    // The model, or why there is none (a UTF-8 text for the user).
    struct Loaded {
        std::shared_ptr<const FaceModel> model;
        std::string problem;
    };
    // Stopping ends the reading early, with neither a model nor a problem.
    static Loaded Load(const std::string& path = kDefaultPath, std::stop_token stop = {});

    ~FaceModel();
    FaceModel(const FaceModel&) = delete;
    FaceModel& operator=(const FaceModel&) = delete;

    // The faces in the grey picture, boxes and points in its pixel indexes. The
    // detector's smallest face is about 80 pixels wide; enlarged looks at the picture
    // enlarged twice, which finds faces half that size in four times the time.
    std::vector<Face> Find(const GrayPicture& gray, bool enlarged) const;

private:
    struct Dlib;
    FaceModel();

    std::unique_ptr<Dlib> dlib_;
};
