#pragma once

#include "behaviors/PlainButton.h"
#include "compare/ComposedLayer.h"
#include "engine/CanvasView.h"
#include "engine/PictureLayer.h"
#include "engine/Surface.h"
#include "gfx/Bitmap.h"
#include "imageio/PictureMetadata.h"
#include "shell/CImageDlg.h"
#include "shell/UserDialogs.h"

#include <memory>

// The before-and-after window: the picture as editing started (opened, reset or rotated)
// and as it is now, each fitted into 275 x 275 with black margins, side by side, and
// rendered at the window's Scale(). It can save the pair as one JPEG. It shows the state
// at the moment it was opened and changes nothing in the main window.
class CCompareDlg : public shell::CImageDlg {
public:
    static constexpr int32_t kViewSide = 275;

    CCompareDlg(QWidget* parent, shell::UserDialogs& dialogs, const std::shared_ptr<PictureLayer>& picture,
                const CanvasView& mainView, PictureMetadata metadata);

    // Saves the before picture and the after picture side by side, as wide as both and
    // as high as the before picture, through the save dialog owned by this window.
    void SaveComparison();

    const CanvasView& BeforeView() const { return *beforeView_; }
    const CanvasView& AfterView() const { return *afterView_; }

protected:
    void OnInitDialog() override;
    void OnLeftDown(gfx::Point client) override;
    void OnLeftUp(gfx::Point client) override;
    void OnMouseMove(gfx::Point client) override;

private:
    std::shared_ptr<CanvasView> MakeView(std::shared_ptr<Layer> picture, int32_t width, int32_t height) const;
    void ShowView(CanvasView& view, const gfx::Rect& where);

    shell::UserDialogs& dialogs_;
    PictureMetadata metadata_;
    // The picture as editing started, and the main view whose composed picture is the
    // result: it cannot change while this modal window is open.
    std::shared_ptr<const Surface> before_;
    const CanvasView& mainView_;
    std::shared_ptr<CanvasView> beforeView_;
    std::shared_ptr<CanvasView> afterView_;
    std::shared_ptr<Qimro::Behaviors::PlainButton> closeButton_;
    std::shared_ptr<Qimro::Behaviors::PlainButton> saveButton_;
    gfx::Rect dragBand_;
};
