#include "app/CQuillomatDlg.h"

#include "app/AboutBox.h"
#include "app/WindowLayout.h"
#include "compare/CCompareDlg.h"
#include "files/AppFiles.h"
#include "imageio/Messages.h"
#include "picturefiles/PictureFileDialogs.h"
#include "picturefiles/PictureFileNames.h"
#include "shell/BusyCursor.h"
#include "shell/UserDialogs.h"
#include "shell/CursorFile.h"
#include "shell/TextPainter.h"
#include "shell/VirtualKeys.h"
#include "shell/WebLinks.h"
#include "tools/BezierItem.h"
#include "tools/IdleOperation.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace Qimro::Behaviors;

namespace {

constexpr gfx::Argb kHelpBackground = 0xFFFFFFFF;
constexpr gfx::Argb kHelpText = 0xFF000080; // navy
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

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::shared_ptr<const QCursor> LoadToolCursor(const std::string& name)
{
    const std::string path = CursorFilePath(name).string();
    const std::optional<QCursor> cursor = shell::CursorFile::LoadCursor(QString::fromStdString(path));
    if (!cursor) {
        qWarning("miravo: cannot read the cursor file %s; the arrow shows instead", path.c_str());
        return nullptr;
    }
    return std::make_shared<const QCursor>(*cursor);
}

// The tool entry's parts, named.
std::shared_ptr<Operation>& EntryOperation(ToolEntry& entry) { return std::get<0>(entry); }
const std::shared_ptr<Operation>& EntryOperation(const ToolEntry& entry) { return std::get<0>(entry); }
const std::wstring& EntryHelp(const ToolEntry& entry) { return std::get<1>(entry); }
const CursorHandle& EntryCursor(const ToolEntry& entry) { return std::get<2>(entry); }
std::vector<std::shared_ptr<OperationScope>>& EntryScopes(ToolEntry& entry) { return std::get<3>(entry); }
const std::vector<std::shared_ptr<OperationScope>>& EntryScopes(const ToolEntry& entry) { return std::get<3>(entry); }

} // namespace

CQuillomatDlg::CQuillomatDlg(shell::UserDialogs& dialogs, QString pictureAtStart)
    : dialogs_(dialogs), pictureAtStart_(std::move(pictureAtStart)),
      idleOperation_(std::make_shared<::IdleOperation>(this))
{
    currentOperation_ = idleOperation_;
    // The eyelid line's limit message goes to a message box of this window.
    previousMessageHandler_ = SetUserMessageHandler(
        [this](const std::string& text) { dialogs_.ShowMessage(this, QString::fromStdString(text)); });
}

CQuillomatDlg::~CQuillomatDlg() { SetUserMessageHandler(std::move(previousMessageHandler_)); }

void CQuillomatDlg::OnInitDialog()
{
    setWindowIcon(QIcon(QString::fromStdString((AppDataDir() / "miravo.png").string())));
    setWindowTitle(QStringLiteral("Miravo"));
    dragBand_ = layout::kDragBand;
    LoadBackground("main.bmp");
    canvasBitmap_ = gfx::Bitmap(layout::kCanvas.width * Scale(), layout::kCanvas.height * Scale());
    BuildWidgets();
    canvasRect_ = layout::kCanvas;
    MoveWindow({0, 0, layout::kMainWindow.width, layout::kMainWindow.height});
    CenterOnScreen();
    toolBox_ = std::make_unique<ToolBox>(this);
    BuildToolEntries();
    BuildSliders();
    SetToolTipQuery([this](gfx::Point p) -> std::optional<shell::ToolTip> {
        const std::optional<size_t> slider = widgets_->EnabledSliderAt(p);
        if (!slider) {
            return std::nullopt;
        }
        return shell::ToolTip{widgets_->sliders[*slider]->Region(), QString::fromUtf8("左右拖动")};
    });
    if (!pictureAtStart_.isEmpty()) {
        // Once the window shows, so that a message about the file has the window behind it.
        QTimer::singleShot(0, this, [this] { OpenFile(pictureAtStart_); });
    }
}

void CQuillomatDlg::BuildWidgets()
{
    widgets_ = std::make_unique<MainWidgets>(
        [this](const SkinImage& image, const gfx::Rect& region) { DrawWidget(image, region); }, Scale());
    widgets_->Plain("open").SetClickCallback([this] { Open(); });
    widgets_->Plain("close").SetClickCallback([this] { close(); });
    widgets_->Plain("min").SetClickCallback([this] { Minimize(); });
    widgets_->Plain("link3").SetClickCallback([this] { OpenLink("about.html"); });
    widgets_->Plain("link2").SetClickCallback([this] { OpenLink("about.html"); });
    widgets_->Plain("link1").SetClickCallback([this] { OpenLink("help.html"); });
    widgets_->Plain("link1").AddListener(Over{}, [this](int over, const auto&) { OnLinkHover(over, "help"); });
    widgets_->Plain("link2").AddListener(Over{}, [this](int over, const auto&) { OnLinkHover(over, "hand"); });
    widgets_->Plain("link3").AddListener(Over{}, [this](int over, const auto&) { OnLinkHover(over, "hand"); });
    widgets_->Command("save").SetClickCallback([this] { Save(); });
    widgets_->Command("comp").SetClickCallback([this] { Compare(); });
    widgets_->Command("undo").SetClickCallback([this] { Undo(); });
    widgets_->Command("reset").SetClickCallback([this] { Reset(); });
    widgets_->Command("zoomIn").SetClickCallback([this] { ZoomIn(); });
    widgets_->Command("zoomOut").SetClickCallback([this] { ZoomOut(); });
    widgets_->Command("rotate").SetClickCallback([this] { Rotate(); });
    for (auto& [name, button] : widgets_->tool) {
        MainWidgets::ToolButton& tool = *button;
        tool.SetPayload(ToolEntry{idleOperation_, Utf8(ToolBox::HelpText(name)).toStdWString(), LoadToolCursor(name), {}});
        tool.SetClickCallback([this, &tool] { SelectTool(tool); });
        tool.AddListener(Selected{}, [this, &tool](int selected, const auto&) { OnToolSelected(selected, tool); });
    }
    widgets_->SetCommandsAndToolsDisabled(true);
}

void CQuillomatDlg::BuildToolEntries()
{
    for (const char* name : {"blur", "zoom", "bc", "copy", "stretch"}) {
        ToolEntry& entry = widgets_->Tool(name).Payload();
        const ToolBox::Tool tool = toolBox_->For(name);
        EntryOperation(entry) = tool.operation;
        EntryScopes(entry) = tool.scopes;
    }
    const std::shared_ptr<gfx::Bitmap> texture = LoadAppImage("x.bmp");
    eyelidTexture_ = texture ? BezierItem::MakeEyelidTexture(*texture) : nullptr;
    SetCurrentOperation(idleOperation_);
}

void CQuillomatDlg::BuildSliders()
{
    widgets_->BuildSliders([this](size_t index, int x) { OnSliderPosition(index, x); },
                           [this](int hidden, const gfx::Rect& track) { OnSliderDisabled(hidden, track); });
}

void CQuillomatDlg::ShowHelp(const QString& text)
{
    const gfx::Rect panel = layout::kHelpPanel;
    gfx::Graphics(BackBuffer()).FillRectangle(kHelpBackground, ToDevice(panel));
    // The longest help text does not fit at 12 points; it is shrunk rather than cut off.
    shell::TextPainter(shell::TextPainter::FittingPointSize(text, panel))
        .Draw(BackBuffer(), panel, text, kHelpText, Scale());
    Invalidate(panel);
    UpdateWindow();
}

// ---- Tools and sliders ----

void CQuillomatDlg::ResetTool()
{
    spacePan_.reset(); // a tool chosen while Space is held stays when it is let go
    SetCurrentOperation(idleOperation_);
    ShowHelp(Utf8(ToolBox::kNoToolHelp));
    toolCursor_ = nullptr;
    for (auto& [name, button] : widgets_->tool) {
        button->Unselect();
    }
}

void CQuillomatDlg::SelectTool(MainWidgets::ToolButton& button)
{
    ResetTool();
    static_cast<ISelectable&>(button).Select();
}

void CQuillomatDlg::OnToolSelected(int selected, const MainWidgets::ToolButton& button)
{
    if (selected == 0) {
        return;
    }
    const ToolEntry& entry = button.Payload();
    SetCurrentOperation(EntryOperation(entry));
    ShowHelp(QString::fromStdWString(EntryHelp(entry)));
    toolCursor_ = std::static_pointer_cast<const QCursor>(EntryCursor(entry));
    for (const auto& slider : widgets_->sliders) {
        slider->SetState(Disabled{}, 1);
    }
    const auto& scopes = EntryScopes(entry);
    for (size_t k = 0; k < scopes.size() && k < widgets_->sliders.size(); ++k) {
        widgets_->sliders[k]->SetState(Disabled{}, 0);
        widgets_->sliders[k]->SetModel(scopes[k]);
    }
}

void CQuillomatDlg::SetCurrentOperation(std::shared_ptr<Operation> operation)
{
    currentOperation_->Deactivate();
    currentOperation_ = operation ? std::move(operation) : idleOperation_;
    currentOperation_->Activate();
    if (session_) {
        session_->View()->SetOperation(currentOperation_);
        RefreshCanvas();
    }
}

void CQuillomatDlg::OnSliderPosition(size_t index, int knobCentreX)
{
    const gfx::Rect track = widgets_->sliders[index]->Region();
    EraseRect({track.x - 5, track.y, track.width + 10, track.height});
    if (const std::shared_ptr<gfx::Bitmap>& knob = widgets_->sliders[index]->Payload()) {
        const int32_t width = knob->Width() / Scale();
        DrawInRect({knobCentreX - width / 2, track.y, width, knob->Height() / Scale()}, *knob);
    }
    UpdateWindow();
    RefreshCanvas();
}

void CQuillomatDlg::OnSliderDisabled(int hidden, const gfx::Rect& track)
{
    if (hidden != 0) {
        const gfx::Rect device = ToDevice(track);
        auto saved = std::make_shared<gfx::Bitmap>(device.width, device.height);
        gfx::Graphics copy(*saved);
        copy.SetCompositingMode(gfx::CompositingMode::SourceCopy);
        copy.DrawBitmap(BackBuffer(), saved->Bounds(), device);
        hiddenRegions_[&track] = std::move(saved);
        EraseRect(track);
    } else if (const auto found = hiddenRegions_.find(&track); found != hiddenRegions_.end() && found->second) {
        DrawInRect(track, *found->second);
    }
    UpdateWindow();
}

void CQuillomatDlg::OpenLink(const char* page)
{
    shell::WebLinks::OpenLocalPage(QString::fromStdString((AppDataDir() / "pages" / page).string()));
}

void CQuillomatDlg::OnLinkHover(int over, const char* cursorName)
{
    hoverCursor_ = over != 0 ? shell::CursorFile::LoadCursor(QString::fromStdString(CursorFilePath(cursorName).string()))
                             : std::nullopt;
}

// ---- Input ----

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
    if (key.virtualKey == shell::vk::Space) {
        if (!key.autoRepeat) {
            BeginSpacePan();
        }
        return true;
    }
    if (key.virtualKey == shell::vk::Backslash) {
        ShowBaseline(true);
        return true;
    }
    return false;
}

void CQuillomatDlg::OnKeyUp(const shell::KeyStroke& key)
{
    if (key.virtualKey == shell::vk::Space) {
        EndSpacePan();
    } else if (key.virtualKey == shell::vk::Backslash) {
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
    case shell::vk::PageUp: ZoomBy(kZoomOutFactor); break;
    case shell::vk::PageDown: ZoomBy(kZoomInFactor); break;
    case shell::vk::Left: view.Scroll(0, -kScrollStep); break;
    case shell::vk::Up: view.Scroll(-kScrollStep, 0); break;
    case shell::vk::Right: view.Scroll(0, kScrollStep); break;
    case shell::vk::Down: view.Scroll(kScrollStep, 0); break;
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

// ---- Environment ----

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

// ---- Commands ----

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
    RefreshCanvas();
}

void CQuillomatDlg::StartEditing()
{
    ResetTool();
    session_ = std::make_unique<EditingSession>(openedImage_, this, eyelidTexture_, Scale());
    ToolEntry& line = widgets_->Tool("line").Payload();
    EntryOperation(line) = session_->LineTool();
    EntryScopes(line) = session_->LineScopes();
    EntryOperation(widgets_->Tool("move").Payload()) = session_->MoveTool();
}

void CQuillomatDlg::EndEditing()
{
    // The tool entries hold the line and move tools, and through them the old view:
    // let go of them too, so that the old picture is freed before a new one is made.
    EntryOperation(widgets_->Tool("line").Payload()) = idleOperation_;
    EntryScopes(widgets_->Tool("line").Payload()).clear();
    EntryOperation(widgets_->Tool("move").Payload()) = idleOperation_;
    session_.reset();
}

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
