#pragma once

#include "platform/shell/QtTestApp.h"

#include "app/CQuillomatDlg.h"
#include "gfx/Bitmap.h"
#include "support/ScriptedUserDialogs.h"

#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <memory>
#include <string>

// The real main window on Qt's offscreen platform, driven as the user would: the mouse
// pointer is moved before every mouse event, since the window reads it at the time of
// the message, and the dialogs answer from a script.
class MainWindowDriver {
public:
    explicit MainWindowDriver(std::string faceModel = FaceModel::kDefaultPath)
    {
        TestApplication();
        window = std::make_unique<CQuillomatDlg>(dialogs, QString(), std::move(faceModel));
        window->InitAndShow();
    }

    // A picture file in the driver's folder: a w x h picture whose every pixel differs.
    QString WritePicture(const char* name, int width, int height) const
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 5) & 0xFF, (x ^ y) & 0xFF));
            }
        }
        const QString path = folder.filePath(QString::fromUtf8(name));
        image.save(path);
        return path;
    }
    void OpenPicture(int width, int height)
    {
        dialogs.AnswerOpen(WritePicture("picture.png", width, height));
        window->Open();
    }

    void MoveTo(gfx::Point client)
    {
        QCursor::setPos(window->mapToGlobal(QPoint(client.x, client.y)));
        Mouse(QEvent::MouseMove, Qt::NoButton, client);
    }
    void Press(gfx::Point client, Qt::MouseButton button = Qt::LeftButton)
    {
        QCursor::setPos(window->mapToGlobal(QPoint(client.x, client.y)));
        Mouse(QEvent::MouseButtonPress, button, client);
    }
    void Release(gfx::Point client, Qt::MouseButton button = Qt::LeftButton)
    {
        QCursor::setPos(window->mapToGlobal(QPoint(client.x, client.y)));
        Mouse(QEvent::MouseButtonRelease, button, client);
    }
    void Click(gfx::Point client, Qt::MouseButton button = Qt::LeftButton)
    {
        MoveTo(client);
        Press(client, button);
        Release(client, button);
    }
    void ClickButton(const char* name) { Click(Centre(name)); }
    void Wheel(int delta)
    {
        const QPointF at(QCursor::pos() - window->mapToGlobal(QPoint(0, 0)));
        QWheelEvent event(at, QPointF(QCursor::pos()), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window.get(), &event);
    }
    // A press, or with autoRepeat one the keyboard repeats while the key stays down.
    void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(window.get(), &event);
    }
    void KeyUp(int qtKey)
    {
        QKeyEvent event(QEvent::KeyRelease, qtKey, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &event);
    }

    // The centre of a widget of the layout, in client pixels.
    static gfx::Point Centre(const char* name)
    {
        const gfx::Rect r = MainWidgets::PlaceOf(name);
        return {r.x + r.width / 2, r.y + r.height / 2};
    }
    // A client point at canvas coordinates.
    static gfx::Point OnCanvas(int x, int y) { return {layout::kCanvas.x + x, layout::kCanvas.y + y}; }

    bool Disabled(const std::string& name)
    {
        MainWidgets& widgets = window->Widgets();
        if (widgets.command.count(name) != 0) {
            return widgets.Command(name).Flag(Qimro::Behaviors::Disabled{}) == 1;
        }
        return widgets.Tool(name).Flag(Qimro::Behaviors::Disabled{}) == 1;
    }
    bool Selected(const std::string& name) { return window->Widgets().Tool(name).Flag(Qimro::Behaviors::Selected{}) == 1; }
    EditingSession& Session() { return const_cast<EditingSession&>(*window->Session()); }
    const gfx::Bitmap& Screen() { return window->BackBuffer(); }

    QTemporaryDir folder;
    shell::ScriptedUserDialogs dialogs;
    std::unique_ptr<CQuillomatDlg> window;

private:
    void Mouse(QEvent::Type type, Qt::MouseButton button, gfx::Point client)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, QPointF(client.x, client.y), window->mapToGlobal(QPointF(client.x, client.y)), button,
                          held, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &event);
    }
};
