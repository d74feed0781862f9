#pragma once

#include <QImage>

class QPainter;

// The main window's face without its buttons: title band, canvas frame, side panel cards,
// slider tracks, the white help panel and the shortcut notes.
class MainWindowPainter {
public:
    static QImage Background();

private:
    static void PaintEmptyCanvas(QPainter& painter);
    static void PaintSidePanel(QPainter& painter);
    static void PaintSliderTrack(QPainter& painter, const QRect& track);
    static void PaintShortcuts(QPainter& painter, const QRect& card);
    static void PaintFootBar(QPainter& painter);
};
