#pragma once

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "shell/ToolTipHook.h"
#include "shell/VirtualKeys.h"

#include <QCursor>
#include <QPoint>
#include <QRegion>
#include <QWidget>

class QEventLoop;

namespace shell {

// End codes of a modal window.
enum ModalResult : int {
    kModalOk = 1,
    kModalCancel = 2,
};

// A frameless top-level window whose whole face is a bitmap drawn by the program.
//
// The window keeps a back buffer of its client size and always shows it: drawing goes
// into BackBuffer(), Invalidate() marks the area to show and UpdateWindow() shows it at
// once. Input arrives through small virtual handlers in client coordinates, keys as
// Windows virtual-key numbers (VirtualKeys.h). RunModal() shows the window and returns
// the code given to EndModal().
//
// On a high-density screen the back buffer holds Scale() device pixels per client pixel
// each way, so that what is drawn into it shows unscaled; client coordinates, hit tests
// and the window's size stay in client (logical) pixels.
class SkinnedWindow : public QWidget {
public:
    // A parent makes the window modal to the whole program while it runs.
    explicit SkinnedWindow(QWidget* parent = nullptr);
    ~SkinnedWindow() override;

    // Calls OnInitDialog(), shows the window and runs until EndModal(); hides it again.
    int RunModal();
    void EndModal(int code);
    // Calls OnInitDialog() and shows the window without waiting for it to end; for
    // tests and benchmarks that drive the window from outside.
    void InitAndShow();
    bool IsRunningModal() const { return loop_ != nullptr; }

    // Places the window on the screen: client area and window are the same rectangle.
    // The back buffer follows the size, keeping what it held where the sizes overlap.
    void MoveWindow(const gfx::Rect& screenRect);
    gfx::Rect ScreenRect() const;
    // Keeps the size and centres the window on the screen it is on (the primary one
    // before it is shown), within the part not taken by panels.
    void CenterOnScreen();
    // The mouse position now, in client coordinates (outside the window too).
    gfx::Point CursorPosition() const;

    // Device pixels per client pixel of the back buffer: 2 on a screen of device pixel
    // ratio above 1, else 1. Fixed when the window is made.
    int Scale() const { return scale_; }
    // A client rectangle in back-buffer pixels.
    gfx::Rect ToDevice(const gfx::Rect& client) const;

    gfx::Bitmap& BackBuffer() { return backBuffer_; }
    const gfx::Bitmap& BackBuffer() const { return backBuffer_; }
    // Marks a client area whose back-buffer pixels are to be shown.
    void Invalidate(const gfx::Rect& area);
    void InvalidateAll();
    // Shows every invalid area now instead of at the next turn of the event loop.
    void UpdateWindow();

    // Lets the user move the window while the left button stays down: the platform's
    // own window move where it offers one, otherwise the window follows the mouse.
    void StartSystemDrag();
    bool IsDragging() const { return manualDrag_; }
    void Minimize();

    void SetToolTipQuery(ToolTipHook::Query query) { toolTips_.SetQuery(std::move(query)); }

protected:
    virtual void OnInitDialog() {}
    virtual void OnLeftDown(gfx::Point) {}
    virtual void OnLeftUp(gfx::Point) {}
    virtual void OnRightDown(gfx::Point) {}
    virtual void OnRightUp(gfx::Point) {}
    virtual void OnMouseMove(gfx::Point) {}
    virtual void OnMouseLeave() {}
    // Wheel turns in units of 120 per notch; positive away from the user.
    virtual void OnWheel(int /*delta*/) {}
    // Offered every key press before the window's own handling (Enter and Escape end
    // the window); true consumes the key. By default the key alone, without its
    // modifiers, goes on to PreTranslateKeyDown.
    virtual bool PreTranslateKeyStroke(const KeyStroke& key) { return PreTranslateKeyDown(key.virtualKey); }
    virtual bool PreTranslateKeyDown(int /*virtualKey*/) { return false; }
    // A key let go; the releases of the keyboard's auto-repeat are not reported.
    virtual void OnKeyUp(const KeyStroke& /*key*/) {}
    // The window lost the keyboard: the release of a key held now will not be reported.
    virtual void OnKeyboardLost() {}
    // Alt+Space, the key that opens a window's system menu.
    virtual void OnSystemMenuKey() {}
    // Called whenever the mouse moves over the window: call SetCursorShape() and return
    // true, or return false for the default arrow.
    virtual bool OnSetCursor() { return false; }
    // Called before the area is copied from the back buffer to the screen.
    virtual void OnPaint(const gfx::Rect& /*area*/) {}
    virtual void OnOk() { EndModal(kModalOk); }
    virtual void OnCancel() { EndModal(kModalCancel); }
    // The window is asked to close (its close button, the system, a close() call).
    virtual void OnClose() { OnCancel(); }
    // A drag of exactly one local file over the window: whether a drop would be taken.
    virtual bool AcceptsDroppedFile(const QString& /*path*/) { return false; }
    // That file was dropped, after AcceptsDroppedFile said yes.
    virtual void OnFileDropped(const QString& /*path*/) {}

    void SetCursorShape(const QCursor& cursor);
    // Asks OnSetCursor() again, for a change of cursor without a mouse move.
    void UpdateCursor();

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FitBackBuffer(int width, int height);
    bool HandleKeyPress(QKeyEvent* event);

    int scale_ = 1;
    gfx::Bitmap backBuffer_;
    QRegion pendingArea_;
    ToolTipHook toolTips_;
    QEventLoop* loop_ = nullptr;
    int endCode_ = 0;
    bool endRequested_ = false;

    bool manualDrag_ = false;
    QPoint dragStartMouse_;
    QPoint dragStartWindow_;
};

} // namespace shell
