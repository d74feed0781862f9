#include "app/CQuillomatDlg.h"

#include "files/AppFiles.h"
#include "shell/CursorFile.h"
#include "shell/TextPainter.h"
#include "shell/WebLinks.h"
#include "tools/BezierItem.h"
#include "tools/IdleOperation.h"

#include <QIcon>
#include <QTimer>

#include <utility>

// The main window's start-up: its widgets, the tools on their buttons and the sliders
// that follow the selected tool. Input, the picture and the commands have files of
// their own (CQuillomatDlgInput, CQuillomatDlgPicture, CQuillomatDlgCommands).

using namespace Qimro::Behaviors;

namespace {

constexpr gfx::Argb kHelpBackground = 0xFFFFFFFF;
constexpr gfx::Argb kHelpText = 0xFF000080; // navy
constexpr std::string_view kNoToolHelp = "请选择操作";
constexpr std::string_view kAutoSmoothTip = "一键磨皮: 磨好照片里所有人脸的皮肤, 力度是磨皮工具的上控制条";
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
} // namespace

CQuillomatDlg::CQuillomatDlg(shell::UserDialogs& dialogs, QString pictureAtStart, std::string faceModel)
    : dialogs_(dialogs), pictureAtStart_(std::move(pictureAtStart)), faces_(std::move(faceModel)), toolContext_(this),
      idleOperation_(std::make_shared<::IdleOperation>(this))
{
    toolContext_.knownFaces = [this] {
        const std::optional<FaceSearchResult> found = faces_.ResultIfReady();
        return found ? found->faces : std::vector<Face>{};
    };
    autoSmooth_ = std::make_shared<AutoSmoothCommand>(this, toolContext_.skinStrength);
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
    BuildToolEntries();
    BuildSliders();
    SetToolTipQuery([this](gfx::Point p) { return ToolTipAt(p); });
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
    widgets_->Command("autoSmooth").SetClickCallback([this] { AutoSmooth(); });
    for (auto& [name, button] : widgets_->tool) {
        MainWidgets::ToolButton& tool = *button;
        const std::string_view help = ToolTable::Find(name)->helpText;
        tool.SetPayload(ToolEntry{idleOperation_, Utf8(help).toStdWString(), LoadToolCursor(name), {}});
        tool.SetClickCallback([this, &tool] { SelectTool(tool); });
        tool.AddListener(Selected{}, [this, &tool](int selected, const auto&) { OnToolSelected(selected, tool); });
    }
    widgets_->SetCommandsAndToolsDisabled(true);
}

void CQuillomatDlg::BuildToolEntries()
{
    for (auto& [name, tool] : ToolTable::Build(ToolLifetime::Window, toolContext_)) {
        ToolEntry& entry = widgets_->Tool(name).Payload();
        EntryOperation(entry) = std::move(tool.operation);
        EntryScopes(entry) = std::move(tool.scopes);
    }
    const std::shared_ptr<gfx::Bitmap> texture = LoadAppImage("x.bmp");
    toolContext_.eyelidTexture = texture ? BezierItem::MakeEyelidTexture(*texture) : nullptr;
    SetCurrentOperation(idleOperation_);
}

void CQuillomatDlg::BuildSliders()
{
    widgets_->BuildSliders([this](size_t index, int x) { OnSliderPosition(index, x); },
                           [this](int hidden, const gfx::Rect& track) { OnSliderDisabled(hidden, track); });
}

std::optional<shell::ToolTip> CQuillomatDlg::ToolTipAt(gfx::Point p) const
{
    if (const std::optional<size_t> slider = widgets_->EnabledSliderAt(p)) {
        return shell::ToolTip{widgets_->sliders[*slider]->Region(), QString::fromUtf8("左右拖动")};
    }
    const gfx::Rect autoSmooth = MainWidgets::PlaceOf("autoSmooth");
    if (autoSmooth.Contains(p.x, p.y)) {
        const std::string problem = faces_.ModelProblem();
        return shell::ToolTip{autoSmooth, problem.empty() ? Utf8(kAutoSmoothTip) : QString::fromStdString(problem)};
    }
    for (const ToolRow& tool : ToolTable::Rows()) {
        if (!tool.toolTip.empty() && tool.button.Contains(p.x, p.y)) {
            return shell::ToolTip{tool.button, Utf8(tool.toolTip)};
        }
    }
    return std::nullopt;
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
    ShowHelp(Utf8(kNoToolHelp));
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
