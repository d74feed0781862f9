#include "app/CQuillomatDlg.h"

#include "picturefiles/PictureFileNames.h"
#include "shell/VirtualKeys.h"

#include <QApplication>

#include <algorithm>
#include <utility>

// The main window's input: mouse and wheel to the current tool inside the canvas and
// to the widgets outside it, command keys, Space to pan, backslash to show the picture
// as opened, the cursor and dropped files.

using namespace Qimro::Behaviors;

namespace {

constexpr int32_t kScrollStep = 50;         // picture pixels per arrow key

// A command key: Ctrl with a letter or digit, with or without Shift as the row says.
struct Shortcut {
    enum class Shift { No, Yes, Either };
    int virtualKey;
    Shift shift;
    void (CQuillomatDlg::*command)();
    bool repeats; // whether the keyboard's auto-repeat runs it again
};

constexpr Shortcut kShortcuts[] = {
    {'O', Shortcut::Shift::Either, &CQuillomatDlg::Open, false},
    {'S', Shortcut::Shift::Either, &CQuillomatDlg::Save, false},
    {'Z', Shortcut::Shift::No, &CQuillomatDlg::Undo, true},
    {'Z', Shortcut::Shift::Yes, &CQuillomatDlg::Redo, true},
    {'Y', Shortcut::Shift::Either, &CQuillomatDlg::Redo, true},
    {'0', Shortcut::Shift::Either, &CQuillomatDlg::FitToCanvas, true},
    {'W', Shortcut::Shift::Either, &CQuillomatDlg::Close, false},
    {'Q', Shortcut::Shift::Either, &CQuillomatDlg::Close, false},
};

const Shortcut* FindShortcut(const shell::KeyStroke& key)
{
    if (!key.Holds(shell::kControlKey)) {
        return nullptr;
    }
    const auto shift = key.Holds(shell::kShiftKey) ? Shortcut::Shift::Yes : Shortcut::Shift::No;
    for (const Shortcut& shortcut : kShortcuts) {
        const bool shiftMatches = shortcut.shift == Shortcut::Shift::Either || shortcut.shift == shift;
        if (shortcut.virtualKey == key.virtualKey && shiftMatches) {
            return &shortcut;
        }
    }
    return nullptr;
}
} // namespace

bool CQuillomatDlg::CursorInsideCanvas()
{
    const gfx::Point p = CursorInCanvas();
    return 0 < p.x && p.x < canvasRect_.width && 0 < p.y && p.y < canvasRect_.height;
}

void CQuillomatDlg::OnLeftDown(gfx::Point client)
{
    if (CursorInsideCanvas()) {
        const std::shared_ptr<Operation> operation = currentOperation_;
        operation->buttonState = 1;
        operation->OnLeftDown(this);
        RefreshCanvas();
        return;
    }
    const bool plainButtonTookIt = widgets_->LeftDown(client);
    if (!plainButtonTookIt && 0 < client.x && client.x < dragBand_.width && 0 < client.y && client.y < dragBand_.height) {
        StartSystemDrag();
    }
}

void CQuillomatDlg::OnLeftUp(gfx::Point client)
{
    if (CursorInsideCanvas()) {
        const std::shared_ptr<Operation> operation = currentOperation_;
        if (operation->buttonState > 0) {
            operation->buttonState = 0;
            operation->OnButtonUp(this);
        }
        RefreshCanvas();
        return;
    }
    widgets_->LeftUp(client);
}

void CQuillomatDlg::OnRightDown(gfx::Point client)
{
    if (CursorInsideCanvas()) {
        const std::shared_ptr<Operation> operation = currentOperation_;
        operation->buttonState = 2;
        operation->OnRightDown(this);
        RefreshCanvas();
        return;
    }
    const bool onPlainButton = std::any_of(widgets_->plain.begin(), widgets_->plain.end(),
                                           [client](const auto& b) { return b.second->Contains(client.x, client.y); });
    if (!onPlainButton && 0 < client.x && client.x < dragBand_.width && 0 < client.y && client.y < dragBand_.height) {
        ShowSystemMenu(client);
    }
}

void CQuillomatDlg::OnRightUp(gfx::Point)
{
    if (!CursorInsideCanvas()) {
        return;
    }
    const std::shared_ptr<Operation> operation = currentOperation_;
    if (operation->buttonState > 0) {
        operation->buttonState = 0;
        operation->OnButtonUp(this);
    }
    RefreshCanvas();
}

void CQuillomatDlg::OnMouseMove(gfx::Point client)
{
    if (CursorInsideCanvas()) {
        const std::shared_ptr<Operation> operation = currentOperation_;
        if (operation->buttonState > 0) {
            operation->OnDrag(this);
        }
        RefreshCanvas();
        return;
    }
    widgets_->MouseMove(client);
}

void CQuillomatDlg::OnWheel(int delta)
{
    const std::shared_ptr<Operation> operation = currentOperation_;
    if (delta <= 0) {
        operation->OnWheelDown(this);
    } else {
        operation->OnWheelUp(this);
    }
    RefreshCanvas();
}

bool CQuillomatDlg::PreTranslateKeyStroke(const shell::KeyStroke& key)
{
    return RunShortcut(key) || PreTranslateKeyDown(key.virtualKey);
}

// Command keys, Space and backslash never reach the tool, so that Ctrl+Z is no line
// tool's Z; a command key repeated by the keyboard is taken even when it does not run.
bool CQuillomatDlg::RunShortcut(const shell::KeyStroke& key)
{
    if (const Shortcut* shortcut = FindShortcut(key)) {
        if (shortcut->repeats || !key.autoRepeat) {
            (this->*shortcut->command)();
        }
        return true;
    }
    if (key.Holds(shell::kControlKey) || key.Holds(shell::kAltKey)) {
        return false;
    }
    if (key.virtualKey == vk::Space) {
        if (!key.autoRepeat) {
            BeginSpacePan();
        }
        return true;
    }
    if (key.virtualKey == vk::Backslash) {
        ShowBaseline(true);
        return true;
    }
    return false;
}

void CQuillomatDlg::OnKeyUp(const shell::KeyStroke& key)
{
    if (key.virtualKey == vk::Space) {
        EndSpacePan();
    } else if (key.virtualKey == vk::Backslash) {
        ShowBaseline(false);
    }
}

void CQuillomatDlg::OnKeyboardLost()
{
    EndSpacePan();
    ShowBaseline(false);
}

// A press that is already a gesture of the selected tool finishes with that tool.
void CQuillomatDlg::BeginSpacePan()
{
    if (!session_ || spacePan_ || GestureOpen()) {
        return;
    }
    const std::shared_ptr<Operation> selected = currentOperation_;
    const std::shared_ptr<const QCursor> cursor = toolCursor_;
    SetCurrentOperation(session_->MoveTool());
    spacePan_ = SpacePan{selected, cursor};
    toolCursor_ = std::static_pointer_cast<const QCursor>(EntryCursor(widgets_->Tool("move").Payload()));
    UpdateCursor();
}

void CQuillomatDlg::EndSpacePan()
{
    if (!spacePan_) {
        return;
    }
    const SpacePan pan = std::move(*spacePan_);
    spacePan_.reset();
    const std::shared_ptr<Operation> mover = currentOperation_;
    if (mover->buttonState > 0) {
        mover->buttonState = 0;
        mover->OnButtonUp(this);
    }
    SetCurrentOperation(pan.selected);
    toolCursor_ = pan.cursor;
    UpdateCursor();
}

void CQuillomatDlg::ShowBaseline(bool show)
{
    if (showingBaseline_ != show) {
        showingBaseline_ = show;
        RefreshCanvas();
    }
}

bool CQuillomatDlg::PreTranslateKeyDown(int virtualKey)
{
    if (!session_) {
        return false;
    }
    CanvasView& view = *session_->View();
    switch (virtualKey) {
    case vk::PageUp: ZoomBy(kZoomOutFactor); break;
    case vk::PageDown: ZoomBy(kZoomInFactor); break;
    case vk::Left: view.Scroll(0, -kScrollStep); break;
    case vk::Up: view.Scroll(-kScrollStep, 0); break;
    case vk::Right: view.Scroll(0, kScrollStep); break;
    case vk::Down: view.Scroll(kScrollStep, 0); break;
    default: {
        const std::shared_ptr<Operation> operation = currentOperation_;
        if (operation->OnKeyDown(this, virtualKey) == 0) {
            return false;
        }
        break;
    }
    }
    RefreshCanvas();
    return true;
}

void CQuillomatDlg::OnSystemMenuKey() { ShowSystemMenu({0, 0}); }

// A picture file dropped on the window opens as the open command opens it, unless the
// compare window or a dialog is open over this one.
bool CQuillomatDlg::AcceptsDroppedFile(const QString& path)
{
    return QApplication::activeModalWidget() == nullptr && IsPictureFileName(path);
}

bool CQuillomatDlg::OnSetCursor()
{
    if (CursorInsideCanvas() && currentOperation_ != idleOperation_ && toolCursor_) {
        SetCursorShape(*toolCursor_);
        return true;
    }
    if (hoverCursor_) {
        SetCursorShape(*hoverCursor_);
        return true;
    }
    return false;
}
