#pragma once

#include "app/EditingSession.h"
#include "app/MainWidgets.h"
#include "engine/Environment.h"
#include "engine/Operation.h"
#include "engine/Surface.h"
#include "engine/UserMessages.h"
#include "faces/FaceSearch.h"
#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"
#include "imageio/PictureMetadata.h"
#include "shell/CImageDlg.h"
#include "shell/UserDialogs.h"
#include "tools/AutoSmoothCommand.h"
#include "tools/ToolTable.h"

#include <QCursor>
#include <QString>

#include <map>
#include <memory>
#include <optional>

// The main window: the skin with its buttons, tools and sliders, the canvas showing the
// picture being edited, and the help panel. It routes every mouse and key event either
// to the current tool (inside the canvas) or to the widgets, runs the commands, and is
// the tools' Environment. Closing it discards the edits without a question.
//
// Its members are defined in four files by concern: CQuillomatDlg.cpp (start-up, widgets,
// tools and sliders), CQuillomatDlgInput.cpp (mouse, wheel, keys, cursor, dropped files),
// CQuillomatDlgPicture.cpp (opening, the editing session, the canvas, the Environment)
// and CQuillomatDlgCommands.cpp (the commands).
class CQuillomatDlg : public shell::CImageDlg, public Environment {
public:
    // A picture path opens that picture once the window is built, as the open command
    // would (an empty path opens nothing).
    // faceModel is the landmark model the face search reads.
    explicit CQuillomatDlg(shell::UserDialogs& dialogs, QString pictureAtStart = QString(),
                           std::string faceModel = FaceModel::kDefaultPath);
    ~CQuillomatDlg() override;

    // Environment.
    void PushHistory(std::function<void()> step) override;
    gfx::Point CursorInCanvas() override;
    std::shared_ptr<PictureLayer> CurrentPicture() override;
    gfx::Rect PictureBounds() override;
    gfx::Point CursorInPicture() override;

    // The commands of the buttons.
    void Open();
    // Opens a picture without the dialog; false, after telling the user why, when the
    // file cannot be opened (the picture being edited then stays as it was).
    bool OpenFile(const QString& path);
    void Save();
    void Compare();
    void Undo();
    void Redo();
    void Reset();
    void Rotate();
    void ZoomIn();
    void ZoomOut();
    // "一键磨皮": smooths the skin of every face of the picture, as one step, at the
    // strength of the smooth tool's upper slider; waits for the faces, with the wait
    // cursor, when they are not found yet.
    void AutoSmooth();
    // Zooms so that the whole picture shows in the canvas; edits, steps and tool stay.
    void FitToCanvas();
    // Ends the window; the edits are discarded without a question.
    void Close() { close(); }
    void ShowAbout();
    void ShowSystemMenu(gfx::Point client);

    // Draws the canvas anew and applies the undo and rotate rule.
    void RefreshCanvas();

    // What the window holds, for tests and benchmarks.
    const EditingSession* Session() const { return session_.get(); }
    const std::shared_ptr<Operation>& CurrentOperation() const { return currentOperation_; }
    const std::shared_ptr<Operation>& IdleOperation() const { return idleOperation_; }
    MainWidgets& Widgets() { return *widgets_; }
    const gfx::Bitmap& CanvasBitmap() const { return canvasBitmap_; }
    const std::shared_ptr<Surface>& OpenedImage() const { return openedImage_; }
    const FaceSearch& Faces() const { return faces_; }
    // The tip over a point of the window: the sliders', the new tools' and the one-click
    // smoothing's (which says why it is off when it is).
    std::optional<shell::ToolTip> ToolTipAt(gfx::Point p) const;

    static constexpr double kZoomInFactor = 61.0 / 51.0;  // 1.196078431372549
    static constexpr double kZoomOutFactor = 51.0 / 61.0; // 0.8360655737704918

protected:
    void OnInitDialog() override;
    void OnLeftDown(gfx::Point client) override;
    void OnLeftUp(gfx::Point client) override;
    void OnRightDown(gfx::Point client) override;
    void OnRightUp(gfx::Point client) override;
    void OnMouseMove(gfx::Point client) override;
    void OnWheel(int delta) override;
    bool PreTranslateKeyStroke(const shell::KeyStroke& key) override;
    bool PreTranslateKeyDown(int virtualKey) override;
    void OnKeyUp(const shell::KeyStroke& key) override;
    void OnKeyboardLost() override;
    void OnSystemMenuKey() override;
    bool OnSetCursor() override;
    // Enter and Escape would end the window and lose every edit at one key press.
    void OnOk() override {}
    void OnCancel() override {}
    void OnClose() override { EndModal(shell::kModalCancel); }
    bool AcceptsDroppedFile(const QString& path) override;
    void OnFileDropped(const QString& path) override { OpenFile(path); }

private:
    void BuildWidgets();
    void BuildToolEntries();
    void BuildSliders();
    void ShowHelp(const QString& text);

    void ResetTool();
    void SelectTool(MainWidgets::ToolButton& button);
    void OnToolSelected(int selected, const MainWidgets::ToolButton& button);
    void SetCurrentOperation(std::shared_ptr<Operation> operation);
    void OnSliderPosition(size_t index, int knobCentreX);
    void OnSliderDisabled(int hidden, const gfx::Rect& track);
    void OpenLink(const char* page);
    void OnLinkHover(int over, const char* cursorName);

    bool RunShortcut(const shell::KeyStroke& key);
    void BeginSpacePan();
    void EndSpacePan();
    void ShowBaseline(bool show);

    bool GestureOpen() const;
    bool CursorInsideCanvas();
    bool ZoomBy(double factor);
    void StartEditing();
    void EndEditing();
    void ApplyRefreshRule();
    void ShowOpened(gfx::Bitmap picture, PictureMetadata metadata);

    shell::UserDialogs& dialogs_;
    QString pictureAtStart_;
    UserMessageHandler previousMessageHandler_;

    gfx::Rect canvasRect_;
    gfx::Rect dragBand_;
    std::optional<QCursor> hoverCursor_;
    std::shared_ptr<const QCursor> toolCursor_;
    std::unique_ptr<MainWidgets> widgets_;
    FaceSearch faces_; // of the picture being edited, found in the background
    ToolContext toolContext_; // what the tools are built with; the eyelid texture once loaded
    std::shared_ptr<AutoSmoothCommand> autoSmooth_;
    gfx::Bitmap canvasBitmap_;
    std::shared_ptr<Surface> openedImage_;
    PictureMetadata openedMetadata_;
    std::unique_ptr<EditingSession> session_;
    std::map<const void*, std::shared_ptr<gfx::Bitmap>> hiddenRegions_;
    std::shared_ptr<Operation> currentOperation_;
    std::shared_ptr<Operation> idleOperation_;

    // While Space is held the move tool stands in for the selected tool, which comes
    // back, with its cursor, when Space is let go.
    struct SpacePan {
        std::shared_ptr<Operation> selected;
        std::shared_ptr<const QCursor> cursor;
    };
    std::optional<SpacePan> spacePan_;
    bool showingBaseline_ = false; // while the backslash key is held
};
