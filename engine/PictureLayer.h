#pragma once

#include "engine/ChangedAreas.h"
#include "engine/Layer.h"
#include "engine/Patch.h"
#include "engine/Surface.h"
#include "engine/SurfaceSnapshot.h"

#include <memory>

// The picture being edited, and the canvas view's bottom layer.
//
// Edit cycle: BeginEdit opens an edit, tools change the working pixels through the
// write calls below, Commit closes it. All writes pass through OpenForWrite, which
// first saves the area's earlier pixels into the snapshot being recorded (for undo)
// and notes the area as changed (for the view), so neither undo nor drawing needs a
// copy of the whole picture. Working pixels are copied only when someone else still
// holds them (copy on write).
class PictureLayer : public Layer {
public:
    // Takes the surface as the committed picture and as the baseline without copying
    // it: the first edit works on a copy, so the surface itself never changes and the
    // caller may keep sharing it (the main window keeps it as the opened image).
    explicit PictureLayer(std::shared_ptr<Surface> picture);
    explicit PictureLayer(std::shared_ptr<const Surface> picture);
    explicit PictureLayer(const gfx::Bitmap& image);

    // Opens an edit (committing one already open) and returns the working pixels to read.
    const Surface& BeginEdit();
    // Replaces the working pixels in an open edit; throws std::logic_error otherwise.
    void UpdateEdit(std::shared_ptr<Surface> replacement);
    // Closes the edit: the working pixels become the committed picture.
    void Commit();
    bool IsEditing() const { return editing_; }

    // The one way to change the working pixels: saves the area for undo, notes it as
    // changed and returns the working surface, to be written inside the area only.
    // Requires an open edit; throws std::logic_error otherwise.
    Surface& OpenForWrite(const gfx::Rect& area);
    // Draws the patch's pixels at the patch's position, source-over or replacing as the
    // patch says; false without a surface.
    bool CompositePatch(const Patch& patch);
    // Copies the pixels, alpha included, with their top-left at the point.
    void CopyPixels(const Surface& pixels, gfx::Point at);

    // Starts recording the earlier pixels of every later write into a new snapshot,
    // which goes on while the returned pointer (or a copy of it) is held and until the
    // next call; the snapshot is what the picture was at this moment, wherever it changes.
    std::shared_ptr<SurfaceSnapshot> StartSnapshot();
    // Writes every tile of the snapshot back into the open edit, and returns the same
    // tiles as they were just before: the way back, as large as the snapshot.
    std::shared_ptr<SurfaceSnapshot> Restore(const SurfaceSnapshot& snapshot);

    const Surface& Working() const { return *working_; }
    // The picture as it was opened; never changes.
    std::shared_ptr<const Surface> Baseline() const { return baseline_; }
    int32_t Width() const { return working_->width; }
    int32_t Height() const { return working_->height; }
    gfx::Rect Bounds() const { return working_->Bounds(); }

    void Draw(gfx::Graphics& graphics) override;
    std::vector<gfx::Rect> TakeChangedAreas() override;

private:
    std::shared_ptr<Surface> working_;
    std::shared_ptr<const Surface> baseline_;
    std::weak_ptr<SurfaceSnapshot> recording_;
    ChangedAreas changed_;
    bool editing_ = false;
};
