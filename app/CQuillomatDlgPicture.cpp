#include "app/CQuillomatDlg.h"

#include "picturefiles/PictureFileDialogs.h"
#include "shell/BusyCursor.h"

#include <utility>

// The picture the main window edits: opening it, the editing session built for it, the
// canvas drawn from it, and what the tools ask of the window (the Environment).

using namespace Qimro::Behaviors;

void CQuillomatDlg::PushHistory(std::function<void()> step)
{
    if (session_) {
        session_->Steps().Push(std::move(step));
    }
}

gfx::Point CQuillomatDlg::CursorInCanvas()
{
    const gfx::Point client = CursorPosition();
    return {client.x - canvasRect_.x, client.y - canvasRect_.y};
}

std::shared_ptr<PictureLayer> CQuillomatDlg::CurrentPicture() { return session_ ? session_->Picture() : nullptr; }

gfx::Rect CQuillomatDlg::PictureBounds()
{
    if (!session_) {
        return {-1, -1, 0, 0};
    }
    return {0, 0, session_->View()->PictureWidth(), session_->View()->PictureHeight()};
}

gfx::Point CQuillomatDlg::CursorInPicture()
{
    if (!session_) {
        return {-1, -1};
    }
    // The view renders in device pixels.
    const gfx::Point canvas = CursorInCanvas();
    return session_->View()->ToPicture({canvas.x * Scale(), canvas.y * Scale()});
}

void CQuillomatDlg::RefreshCanvas()
{
    if (!session_) {
        return;
    }
    ApplyRefreshRule();
    gfx::Graphics canvas(canvasBitmap_);
    if (showingBaseline_) {
        session_->Baseline().Render(*session_->View(), canvas);
    } else {
        session_->View()->Render(true, canvas);
    }
    DrawInRect(canvasRect_, canvasBitmap_);
    UpdateWindow();
}

void CQuillomatDlg::ApplyRefreshRule()
{
    const bool empty = session_->Steps().IsEmpty();
    widgets_->Command("undo").SetState(Disabled{}, empty ? 1 : 0);
    widgets_->Command("rotate").SetState(Disabled{}, empty ? 0 : 1);
}

// ---- Opening and editing ----

void CQuillomatDlg::Open()
{
    if (std::optional<OpenedPicture> opened = PictureFileDialogs(dialogs_).AskAndLoadPicture(this)) {
        ShowOpened(std::move(opened->bitmap), std::move(opened->metadata));
    }
}

bool CQuillomatDlg::OpenFile(const QString& path)
{
    std::optional<OpenedPicture> opened = PictureFileDialogs(dialogs_).LoadPicture(this, path);
    if (!opened) {
        return false;
    }
    ShowOpened(std::move(opened->bitmap), std::move(opened->metadata));
    return true;
}

void CQuillomatDlg::ShowOpened(gfx::Bitmap picture, PictureMetadata metadata)
{
    const shell::BusyCursor busy(picture.Width(), picture.Height());
    ResetTool();
    EndEditing();
    openedImage_ = MoveIntoSurface(std::move(picture));
    openedMetadata_ = std::move(metadata);
    StartEditing();
    widgets_->SetCommandsAndToolsDisabled(false);
    if (!faces_.ModelProblem().empty()) {
        widgets_->Command("autoSmooth").SetState(Disabled{}, 1);
    }
    RefreshCanvas();
}

void CQuillomatDlg::StartEditing()
{
    ResetTool();
    session_ = std::make_unique<EditingSession>(openedImage_, toolContext_, Scale());
    faces_.Start(openedImage_); // a reset keeps what was found; a turned picture is searched anew
    for (const auto& [name, tool] : session_->Tools()) {
        ToolEntry& entry = widgets_->Tool(name).Payload();
        EntryOperation(entry) = tool.operation;
        EntryScopes(entry) = tool.scopes;
    }
}

void CQuillomatDlg::EndEditing()
{
    if (!session_) {
        return;
    }
    // The tool entries hold the picture's tools, and through them the old view: let go
    // of them too, so that the old picture is freed before a new one is made.
    for (const auto& [name, tool] : session_->Tools()) {
        ToolEntry& entry = widgets_->Tool(name).Payload();
        EntryOperation(entry) = idleOperation_;
        EntryScopes(entry).clear();
    }
    session_.reset();
}
