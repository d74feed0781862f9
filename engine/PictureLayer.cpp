#include "engine/PictureLayer.h"

#include "gfx/Graphics.h"

#include <stdexcept>
#include <utility>

namespace {
const char* const NotEditing = "Can Accept Update during Editing Only";
}

PictureLayer::PictureLayer(std::shared_ptr<Surface> picture)
    : working_(std::move(picture)), baseline_(working_)
{
    changed_.Add(working_->Bounds());
}

// The shared surface is never written: the working pixels are copied before the first
// write whenever someone else holds them, and the baseline always does.
PictureLayer::PictureLayer(std::shared_ptr<const Surface> picture)
    : PictureLayer(std::const_pointer_cast<Surface>(std::move(picture)))
{
}

PictureLayer::PictureLayer(const gfx::Bitmap& image) : PictureLayer(SurfaceFromImage(image)) {}

const Surface& PictureLayer::BeginEdit()
{
    if (editing_) {
        Commit();
    }
    if (working_.use_count() > 1) {
        working_ = CopySurface(*working_); // the old pixels stay with whoever holds them
    }
    editing_ = true;
    return *working_;
}

void PictureLayer::UpdateEdit(std::shared_ptr<Surface> replacement)
{
    if (!editing_) {
        throw std::logic_error(NotEditing);
    }
    if (!replacement || replacement->width != working_->width || replacement->height != working_->height) {
        throw std::invalid_argument("replacement picture has another size");
    }
    OpenForWrite(working_->Bounds());
    working_ = std::move(replacement);
}

void PictureLayer::Commit() { editing_ = false; }

Surface& PictureLayer::OpenForWrite(const gfx::Rect& area)
{
    if (!editing_) {
        throw std::logic_error(NotEditing);
    }
    const gfx::Rect inside = area.Intersected(working_->Bounds());
    if (auto snapshot = recording_.lock()) {
        snapshot->SaveBefore(*working_, inside);
    }
    changed_.Add(inside);
    return *working_;
}

bool PictureLayer::CompositePatch(const Patch& patch)
{
    if (!patch.HasSurface()) {
        return false;
    }
    Surface& working = OpenForWrite(patch.Area());
    gfx::Bitmap target = WrapAsBitmap(working);
    gfx::Graphics graphics(target);
    if (patch.blend == PatchBlend::Replace) {
        graphics.SetCompositingMode(gfx::CompositingMode::SourceCopy);
    }
    graphics.DrawBitmap(WrapAsBitmap(std::as_const(*patch.surface)), {patch.x, patch.y});
    return true;
}

void PictureLayer::CopyPixels(const Surface& pixels, gfx::Point at)
{
    Surface& working = OpenForWrite({at.x, at.y, pixels.width, pixels.height});
    gfx::Bitmap target = WrapAsBitmap(working);
    gfx::Graphics graphics(target);
    graphics.SetCompositingMode(gfx::CompositingMode::SourceCopy);
    graphics.DrawBitmap(WrapAsBitmap(pixels), at);
}

std::shared_ptr<SurfaceSnapshot> PictureLayer::StartSnapshot()
{
    auto snapshot = std::make_shared<SurfaceSnapshot>(working_->width, working_->height);
    recording_ = snapshot;
    return snapshot;
}

std::shared_ptr<SurfaceSnapshot> PictureLayer::Restore(const SurfaceSnapshot& snapshot)
{
    auto replaced = std::make_shared<SurfaceSnapshot>(working_->width, working_->height);
    snapshot.ForEachTile([&](const Surface& pixels, const gfx::Rect& place) {
        replaced->SaveBefore(*working_, place);
        CopyPixels(pixels, {place.x, place.y});
    });
    return replaced;
}

void PictureLayer::Draw(gfx::Graphics& graphics)
{
    graphics.DrawBitmap(WrapAsBitmap(std::as_const(*working_)), {0, 0});
}

std::vector<gfx::Rect> PictureLayer::TakeChangedAreas() { return changed_.Take(); }
