#pragma once

#include <QImage>

class QPainter;

// The main window's face without its buttons: title band, canvas frame, side panel cards,
// slider tracks, the white help panel and the shortcut notes.
class MainWindowPainter {
public:
    // Drawn with scale pixels per window pixel each way.
    static QImage Background(int scale = 1);

private:
    static void PaintEmptyCanvas(QPainter& painter);
    static void PaintSidePanel(QPainter& painter);
    static void PaintSliderTrack(QPainter& painter, const QRect& track);
    static void PaintShortcuts(QPainter& painter, const QRect& card);
    static void PaintFootBar(QPainter& painter);
};
