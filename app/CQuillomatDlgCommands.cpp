#include "app/AboutBox.h"
#include "app/CQuillomatDlg.h"

#include "compare/CCompareDlg.h"
#include "faces/FaceMessages.h"
#include "imageio/Messages.h"
#include "picturefiles/PictureFileDialogs.h"
#include "shell/BusyCursor.h"

#include <QMenu>

#include <utility>

// The commands of the main window's buttons, keys and system menu.

void CQuillomatDlg::Save()
{
    if (!session_) {
        dialogs_.ShowMessage(this, QString::fromUtf8(messages::NoPicture));
        return;
    }
    currentOperation_->Deactivate();
    {
        const std::shared_ptr<Surface> flat = session_->View()->Flatten();
        PictureFileDialogs(dialogs_).AskAndSave(this, WrapAsBitmap(std::as_const(*flat)), openedMetadata_);
    }
    currentOperation_->Activate();
    RefreshCanvas();
}

void CQuillomatDlg::Compare()
{
    if (!session_) {
        return;
    }
    CCompareDlg compare(this, dialogs_, session_->Picture(), *session_->View(), openedMetadata_);
    compare.RunModal();
}

// A gesture whose button went up outside the canvas is still open: the tool records
// its step later, from pixels that an undo or redo under it would have changed, so
// both wait until the gesture ends.
bool CQuillomatDlg::GestureOpen() const { return currentOperation_->buttonState > 0; }

void CQuillomatDlg::Undo()
{
    if (session_ && !GestureOpen()) {
        session_->Steps().Undo();
    }
    RefreshCanvas();
}

void CQuillomatDlg::Redo()
{
    if (session_ && !GestureOpen()) {
        session_->Steps().Redo();
    }
    RefreshCanvas();
}

void CQuillomatDlg::Reset()
{
    if (!openedImage_) {
        return;
    }
    const shell::BusyCursor busy(openedImage_->width, openedImage_->height);
    ResetTool();
    EndEditing();
    StartEditing();
    RefreshCanvas();
}

void CQuillomatDlg::Rotate()
{
    if (!openedImage_) {
        return;
    }
    const shell::BusyCursor busy(openedImage_->width, openedImage_->height);
    ResetTool();
    EndEditing();
    openedImage_ = MoveIntoSurface(WrapAsBitmap(std::as_const(*openedImage_)).RotatedClockwise());
    StartEditing();
    RefreshCanvas();
}

bool CQuillomatDlg::ZoomBy(double factor)
{
    CanvasView& view = *session_->View();
    return view.SetZoom(float(double(view.Zoom()) * factor));
}

void CQuillomatDlg::ZoomIn()
{
    if (!session_) {
        return;
    }
    ZoomBy(kZoomInFactor);
    RefreshCanvas();
    ResetTool();
    SelectTool(widgets_->Tool("move"));
}

void CQuillomatDlg::ZoomOut()
{
    if (!session_) {
        return;
    }
    ZoomBy(kZoomOutFactor);
    RefreshCanvas();
}

void CQuillomatDlg::FitToCanvas()
{
    if (session_) {
        session_->FitView();
        RefreshCanvas();
    }
}

void CQuillomatDlg::ShowAbout() { AboutBox(this).exec(); }

void CQuillomatDlg::ShowSystemMenu(gfx::Point client)
{
    QMenu menu(this);
    menu.addAction(QString::fromUtf8("最小化"), this, [this] { Minimize(); });
    menu.addAction(QString::fromUtf8("关闭"), this, [this] { close(); });
    menu.addSeparator();
    menu.addAction(QString::fromUtf8("关于 Quillomat(&A)..."), this, [this] { ShowAbout(); });
    menu.exec(mapToGlobal(QPoint(client.x, client.y)));
}

void CQuillomatDlg::AutoSmooth()
{
    if (!session_ || GestureOpen()) {
        return;
    }
    std::optional<FaceSearchResult> found = faces_.ResultIfReady();
    if (!found) {
        const shell::BusyCursor busy;
        found = faces_.Wait();
    }
    if (!found->problem.empty()) {
        // The model cannot be read: the command stays off for the rest of the run.
        widgets_->Command("autoSmooth").SetState(Qimro::Behaviors::Disabled{}, 1);
        dialogs_.ShowMessage(this, QString::fromStdString(found->problem));
        return;
    }
    if (autoSmooth_->Run(found->faces) == AutoSmoothCommand::Outcome::NoFace) {
        dialogs_.ShowMessage(this, QString::fromUtf8(facemessages::NoFace));
    }
    RefreshCanvas();
}
