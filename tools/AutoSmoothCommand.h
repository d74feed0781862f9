#pragma once

#include "engine/Operation.h"
#include "engine/OperationScope.h"
#include "engine/Surface.h"
#include "faces/Face.h"
#include "gfx/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class PictureLayer;

// The one-click skin smoothing ("一键磨皮", the command autoSmooth): the skin of every
// face found, at the strength of its scope, as one undo step. The step holds only the
// tiles whose pixels changed, and the command needs no copy of the picture of its own.
// It is an Operation for the undo step's sake only (ApplySurface); it is never a tool.
class AutoSmoothCommand : public Operation {
public:

    enum class Outcome { Smoothed, NoPicture, NoFace, Unchanged };

    // strength: 0 (no change) to 100; the smooth tool's upper slider shows it.
    AutoSmoothCommand(Environment* environment, std::shared_ptr<OperationScope> strength);

    // Smooths the current picture's faces through one edit. NoFace (the window then says
    // so) changes nothing; Unchanged is a strength of 0 or faces without skin.
    Outcome Run(const std::vector<Face>& faces);

    // Receives rows [area.y, area.Bottom()) of new pixels for the columns of area, each
    // row area.width pixels after the one before.
    using BandWriter = std::function<void(const gfx::Rect& area, const uint32_t* pixels)>;
    // Works out one face's smoothing on the picture and hands it over band by band (at
    // most kBandRows rows, starting on multiples of kBandRows); the picture may be
    // written between two bands, but only in the band just handed over.
    static void SmoothFace(const Surface& picture, const Face& face, int32_t strength, const BandWriter& write);
    // Smooths the faces in place, without undo (for pictures outside an editing session).
    static void SmoothFaces(Surface& picture, const std::vector<Face>& faces, int32_t strength);

    static constexpr int32_t kBandRows = 32; // the undo snapshot's tile size

    const std::shared_ptr<OperationScope>& Strength() const { return strength_; }
    // The bytes of earlier pixels the last run's undo step holds (0 when it made none).
    size_t LastStepBytes() const { return lastStepBytes_; }

private:
    std::shared_ptr<OperationScope> strength_;
    size_t lastStepBytes_ = 0;
};
