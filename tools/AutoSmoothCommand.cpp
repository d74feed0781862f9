#include "tools/AutoSmoothCommand.h"

#include "engine/PictureLayer.h"
#include "engine/SurfaceSnapshot.h"
#include "faces/SkinRegion.h"
#include "tools/SkinMask.h"
#include "tools/SkinSmoothing.h"
#include "tools/WorkCopy.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

static_assert(AutoSmoothCommand::kBandRows == SurfaceSnapshot::TileSize);

// Writes the tiles of the band whose pixels differ from the picture's, each through
// OpenForWrite, so that the undo step saves those tiles and no others.
bool WriteChangedTiles(PictureLayer& picture, const gfx::Rect& band, const uint32_t* pixels)
{
    constexpr int32_t tile = SurfaceSnapshot::TileSize;
    bool changed = false;
    for (int32_t left = band.x / tile * tile; left < band.Right(); left += tile) {
        const gfx::Rect part = band.Intersected({left, band.y, tile, band.height});
        const Surface& working = picture.Working();
        bool differs = false;
        for (int32_t y = part.y; y < part.Bottom() && !differs; ++y) {
            const uint32_t* fresh = pixels + size_t(y - band.y) * size_t(band.width) + (part.x - band.x);
            differs = std::memcmp(fresh, working.Row(y) + part.x, size_t(part.width) * 4) != 0;
        }
        if (!differs) {
            continue;
        }
        Surface& target = picture.OpenForWrite(part);
        for (int32_t y = part.y; y < part.Bottom(); ++y) {
            const uint32_t* fresh = pixels + size_t(y - band.y) * size_t(band.width) + (part.x - band.x);
            std::memcpy(target.Row(y) + part.x, fresh, size_t(part.width) * 4);
        }
        changed = true;
    }
    return changed;
}

} // namespace

AutoSmoothCommand::AutoSmoothCommand(Environment* environment, std::shared_ptr<OperationScope> strength)
    : Operation(environment), strength_(std::move(strength))
{
}

AutoSmoothCommand::Outcome AutoSmoothCommand::Run(const std::vector<Face>& faces)
{
    lastStepBytes_ = 0;
    const std::shared_ptr<PictureLayer> picture = environment->CurrentPicture();
    if (!picture) {
        return Outcome::NoPicture;
    }
    if (faces.empty()) {
        return Outcome::NoFace;
    }
    const auto strength = int32_t(strength_->Value());
    if (strength == 0) {
        return Outcome::Unchanged;
    }
    picture->BeginEdit();
    auto snapshot = picture->StartSnapshot();
    bool changed = false;
    for (const Face& face : faces) {
        SmoothFace(picture->Working(), face, strength, [&](const gfx::Rect& area, const uint32_t* pixels) {
            changed = WriteChangedTiles(*picture, area, pixels) || changed;
        });
    }
    if (changed) {
        lastStepBytes_ = snapshot->ByteSize();
        Environment* env = environment;
        env->PushHistory([this, env, snapshot] { ApplySurface(env, snapshot); });
    }
    picture->Commit();
    return changed ? Outcome::Smoothed : Outcome::Unchanged;
}

void AutoSmoothCommand::SmoothFace(const Surface& picture, const Face& face, int32_t strength, const BandWriter& write)
{
    const SkinRegion region(face);
    const float width = region.FaceWidth();
    const gfx::Rect area = region.Bounds().Intersected(picture.Bounds());
    if (area.IsEmpty() || strength <= 0) {
        return;
    }
    // The mask is 0 outside the region, so the smoothing needs little context beyond it;
    // the copy goes as soon as the smoothing has taken its window of it.
    std::optional<WorkCopy> copy;
    copy.emplace(picture, area.Inflated(SkinSmoothing::FineMarginFor(width)), SkinSmoothing::FactorFor(width));
    SkinSmoothing smoothing(*copy, area, width, strength);
    copy.reset();
    smoothing.SetMask(skinmask::ForFace(region, smoothing.Base()));

    std::vector<uint32_t> pixels;
    for (int32_t top = area.y; top < area.Bottom();) {
        const int32_t bottom = std::min(area.Bottom(), (top / kBandRows + 1) * kBandRows);
        const gfx::Rect band{area.x, top, area.width, bottom - top};
        pixels.resize(size_t(band.width) * size_t(band.height));
        for (int32_t y = top; y < bottom; ++y) {
            smoothing.SmoothRow(picture, y, pixels.data() + size_t(y - top) * size_t(band.width));
        }
        write(band, pixels.data());
        top = bottom;
    }
}

void AutoSmoothCommand::SmoothFaces(Surface& picture, const std::vector<Face>& faces, int32_t strength)
{
    for (const Face& face : faces) {
        SmoothFace(picture, face, strength, [&picture](const gfx::Rect& area, const uint32_t* pixels) {
            for (int32_t y = area.y; y < area.Bottom(); ++y) {
                std::memcpy(picture.Row(y) + area.x, pixels + size_t(y - area.y) * size_t(area.width),
                            size_t(area.width) * 4);
            }
        });
    }
}
