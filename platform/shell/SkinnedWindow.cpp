#include "shell/SkinnedWindow.h"

#include "shell/BitmapImage.h"
#include "shell/VirtualKeys.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <cstring>

namespace shell {

namespace {

gfx::Point ClientPoint(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

QRect ToQRect(const gfx::Rect& r) { return QRect(r.x, r.y, r.width, r.height); }

KeyStroke ToKeyStroke(const QKeyEvent* event)
{
    return {VirtualKeyFromQtKey(event->key()), ModifiersFromQt(int(event->modifiers())), event->isAutoRepeat()};
}

} // namespace

SkinnedWindow::SkinnedWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    // Every pixel comes from the back buffer, so Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    scale_ = devicePixelRatioF() > 1.0 ? 2 : 1;
    if (parent != nullptr) {
        setWindowModality(Qt::ApplicationModal);
    }
}

namespace {

// The one local file a drag carries; nothing for several files, text or remote links.
std::optional<QString> SingleLocalFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile()) {
        return std::nullopt;
    }
    return data->urls().front().toLocalFile();
}

} // namespace

SkinnedWindow::~SkinnedWindow()
{
    if (loop_ != nullptr) {
        loop_->exit(kModalCancel);
    }
}

int SkinnedWindow::RunModal()
{
    endRequested_ = false;
    endCode_ = 0;
    OnInitDialog();
    if (endRequested_) {
        return endCode_;
    }
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    loop_ = &loop;
    // A handler may delete the window while its loop runs; then it ends as cancelled.
    const QPointer<SkinnedWindow> alive(this);
    const int code = loop.exec(QEventLoop::DialogExec);
    if (!alive) {
        return code == 0 ? kModalCancel : code;
    }
    loop_ = nullptr;
    hide();
    return endCode_;
}

void SkinnedWindow::InitAndShow()
{
    OnInitDialog();
    show();
}

void SkinnedWindow::EndModal(int code)
{
    endCode_ = code;
    endRequested_ = true;
    if (loop_ != nullptr) {
        loop_->exit(code);
    }
}

void SkinnedWindow::MoveWindow(const gfx::Rect& screenRect)
{
    setFixedSize(screenRect.width, screenRect.height);
    move(screenRect.x, screenRect.y);
    FitBackBuffer(screenRect.width * scale_, screenRect.height * scale_);
    InvalidateAll();
}

void SkinnedWindow::CenterOnScreen()
{
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    move(available.x() + (available.width() - width()) / 2, available.y() + (available.height() - height()) / 2);
}

gfx::Rect SkinnedWindow::ScreenRect() const
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), width(), height()};
}

gfx::Point SkinnedWindow::CursorPosition() const
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

gfx::Rect SkinnedWindow::ToDevice(const gfx::Rect& client) const
{
    return {client.x * scale_, client.y * scale_, client.width * scale_, client.height * scale_};
}

void SkinnedWindow::Invalidate(const gfx::Rect& area)
{
    const QRect r = ToQRect(area).intersected(rect());
    if (r.isEmpty()) {
        return;
    }
    pendingArea_ += r;
    update(r);
}

void SkinnedWindow::InvalidateAll() { Invalidate({0, 0, width(), height()}); }

void SkinnedWindow::UpdateWindow()
{
    if (pendingArea_.isEmpty() || !isVisible()) {
        return;
    }
    repaint(pendingArea_);
}

void SkinnedWindow::StartSystemDrag()
{
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        return;
    }
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    // Without a window manager (or one that refuses) the window follows the mouse
    // itself until the button is released.
    manualDrag_ = true;
    dragStartMouse_ = QCursor::pos();
    dragStartWindow_ = pos();
}

void SkinnedWindow::Minimize() { showMinimized(); }

void SkinnedWindow::SetCursorShape(const QCursor& cursor) { setCursor(cursor); }

bool SkinnedWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        toolTips_.Handle(this, static_cast<QHelpEvent*>(event));
        return true;
    case QEvent::KeyPress:
        // Handled here rather than in keyPressEvent so that Tab reaches the window too
        // instead of moving the focus.
        if (HandleKeyPress(static_cast<QKeyEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::KeyRelease:
        if (const auto* key = static_cast<QKeyEvent*>(event); !key->isAutoRepeat()) {
            OnKeyUp(ToKeyStroke(key));
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool SkinnedWindow::HandleKeyPress(QKeyEvent* event)
{
    const KeyStroke key = ToKeyStroke(event);
    const int virtualKey = key.virtualKey;
    if (virtualKey == vk::Space && key.Holds(kAltKey)) {
        OnSystemMenuKey();
        return true;
    }
    if (virtualKey != 0 && PreTranslateKeyStroke(key)) {
        event->accept();
        return true;
    }
    if (virtualKey == vk::Return) {
        OnOk();
        return true;
    }
    if (virtualKey == vk::Escape) {
        OnCancel();
        return true;
    }
    return false;
}

void SkinnedWindow::paintEvent(QPaintEvent* event)
{
    const QRect bounds = event->rect();
    OnPaint({bounds.x(), bounds.y(), bounds.width(), bounds.height()});
    pendingArea_ -= event->region();

    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (backBuffer_.IsEmpty()) {
        painter.fillRect(bounds, Qt::black);
        return;
    }
    // The window is opaque: the colour bytes are shown as they are, alpha is not used.
    QImage face(reinterpret_cast<const uchar*>(backBuffer_.Pixels()), backBuffer_.Width(), backBuffer_.Height(),
                backBuffer_.Stride(), QImage::Format_RGB32);
    face.setDevicePixelRatio(scale_);
    for (const QRect& r : event->region()) {
        painter.drawImage(r, face, QRect(r.topLeft() * scale_, r.size() * scale_));
    }
}

void SkinnedWindow::resizeEvent(QResizeEvent* event)
{
    FitBackBuffer(width() * scale_, height() * scale_);
    QWidget::resizeEvent(event);
}

void SkinnedWindow::FitBackBuffer(int width, int height)
{
    if (backBuffer_.Width() == width && backBuffer_.Height() == height) {
        return;
    }
    gfx::Bitmap resized(width, height);
    std::fill(resized.Pixels(), resized.Pixels() + size_t(width) * size_t(height), gfx::colors::Black);
    const int rows = std::min(height, backBuffer_.Height());
    const int columns = std::min(width, backBuffer_.Width());
    for (int y = 0; y < rows; ++y) {
        std::memcpy(resized.Scanline(y), backBuffer_.Scanline(y), size_t(columns) * sizeof(gfx::Argb));
    }
    backBuffer_ = std::move(resized);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        OnLeftDown(ClientPoint(event));
    } else if (event->button() == Qt::RightButton) {
        OnRightDown(ClientPoint(event));
    }
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && manualDrag_) {
        // The release ends the move; like a move by the title bar it is not a click.
        manualDrag_ = false;
        return;
    }
    if (event->button() == Qt::LeftButton) {
        OnLeftUp(ClientPoint(event));
    } else if (event->button() == Qt::RightButton) {
        OnRightUp(ClientPoint(event));
    }
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (manualDrag_) {
        if (!(event->buttons() & Qt::LeftButton)) {
            manualDrag_ = false;
        } else {
            move(dragStartWindow_ + (event->globalPosition().toPoint() - dragStartMouse_));
            return;
        }
    }
    OnMouseMove(ClientPoint(event));
    // After the handler, so that a cursor the move itself chose (over a link) shows at once.
    UpdateCursor();
}

void SkinnedWindow::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0) {
        OnWheel(delta);
    }
    event->accept();
}

void SkinnedWindow::enterEvent(QEnterEvent* event)
{
    UpdateCursor();
    QWidget::enterEvent(event);
}

void SkinnedWindow::leaveEvent(QEvent* event)
{
    OnMouseLeave();
    QWidget::leaveEvent(event);
}

void SkinnedWindow::closeEvent(QCloseEvent* event)
{
    if (IsRunningModal()) {
        OnClose();
    }
    event->accept();
}

void SkinnedWindow::focusOutEvent(QFocusEvent* event)
{
    OnKeyboardLost();
    QWidget::focusOutEvent(event);
}

void SkinnedWindow::UpdateCursor()
{
    if (!OnSetCursor()) {
        unsetCursor();
    }
}

void SkinnedWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const std::optional<QString> file = SingleLocalFile(event->mimeData());
    if (file && AcceptsDroppedFile(*file)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void SkinnedWindow::dragMoveEvent(QDragMoveEvent* event)
{
    // The whole window takes the drop, wherever the pointer is over it.
    event->acceptProposedAction();
}

void SkinnedWindow::dropEvent(QDropEvent* event)
{
    const std::optional<QString> file = SingleLocalFile(event->mimeData());
    if (!file || !AcceptsDroppedFile(*file)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    OnFileDropped(*file);
}

} // namespace shell
