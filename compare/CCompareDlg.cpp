#include "compare/CCompareDlg.h"

#include "layout/WindowLayout.h"
#include "gfx/Graphics.h"
#include "imageio/PictureRows.h"
#include "picturefiles/PictureFileDialogs.h"

#include <utility>

using Qimro::Behaviors::PlainButton;
using Qimro::Behaviors::SkinImage;

CCompareDlg::CCompareDlg(QWidget* parent, shell::UserDialogs& dialogs, const std::shared_ptr<PictureLayer>& picture,
                         const CanvasView& mainView, PictureMetadata metadata)
    : CImageDlg(parent), dialogs_(dialogs), metadata_(std::move(metadata)), before_(picture->Baseline()),
      mainView_(mainView), beforeView_(MakeView(std::make_shared<PictureLayer>(before_), before_->width, before_->height)),
      afterView_(MakeView(std::make_shared<ComposedLayer>(mainView), mainView.PictureWidth(), mainView.PictureHeight()))
{
}

// A view of the picture fitted into the window's square. The after view composes the
// main view's layers band by band as it builds its small copies, which shows exactly the
// main view's Flatten without making that picture-sized copy until the pair is saved.
std::shared_ptr<CanvasView> CCompareDlg::MakeView(std::shared_ptr<Layer> picture, int32_t width, int32_t height) const
{
    const int32_t side = kViewSide * Scale();
    auto view = std::make_shared<CanvasView>(width, height, side, side);
    view->AddLayer(std::move(picture));
    return view;
}

void CCompareDlg::OnInitDialog()
{
    setWindowTitle(QString::fromUtf8("前后对比"));
    MoveWindow(layout::kCompareWindow);
    LoadBackground("compare.bmp");
    auto makeButton = [this](std::string_view name, std::function<void()> click) {
        auto button = std::make_shared<PlainButton>();
        button->Setup(layout::PlaceOf(layout::kCompareWidgets, name),
                      [this](const SkinImage& image, const auto& holder) { DrawWidget(image, holder.Region()); },
                      std::string(name), Scale());
        button->SetClickCallback(std::move(click));
        return button;
    };
    closeButton_ = makeButton("compclose", [this] { close(); });
    saveButton_ = makeButton("compsave", [this] { SaveComparison(); });
    dragBand_ = layout::kDragBand;
    // The views never change while the window is open, so each is drawn once.
    ShowView(*beforeView_, layout::kBeforeView);
    ShowView(*afterView_, layout::kAfterView);
}

void CCompareDlg::ShowView(CanvasView& view, const gfx::Rect& where)
{
    gfx::Bitmap shown(view.ViewWidth(), view.ViewHeight());
    gfx::Graphics graphics(shown);
    view.Render(true, graphics);
    DrawInRect(where, shown);
}

void CCompareDlg::OnMouseMove(gfx::Point client)
{
    closeButton_->Hover(client.x, client.y);
    saveButton_->Hover(client.x, client.y);
}

void CCompareDlg::OnLeftDown(gfx::Point client)
{
    if (closeButton_->MouseDown(client.x, client.y)) {
        return;
    }
    if (0 < client.x && client.x < dragBand_.width && 0 < client.y && client.y < dragBand_.height) {
        StartSystemDrag();
        return;
    }
    saveButton_->MouseDown(client.x, client.y);
}

void CCompareDlg::OnLeftUp(gfx::Point client)
{
    closeButton_->MouseUp(client.x, client.y);
    saveButton_->MouseUp(client.x, client.y);
}

void CCompareDlg::SaveComparison()
{
    // The before view holds the baseline as its only layer, and drawing one layer onto
    // transparent pixels changes nothing that a JPEG shows, so it is read as it is.
    const std::shared_ptr<const Surface> result = mainView_.Flatten();
    const gfx::Bitmap before = WrapAsBitmap(*before_);
    const gfx::Bitmap after = WrapAsBitmap(*result);
    PictureFileDialogs(dialogs_).AskAndSave(this, SideBySideRows(before, after), metadata_);
}
