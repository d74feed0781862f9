#pragma once

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

// The compare window's face without its buttons: title band, the before and after frames
// with their captions, and a note beside the save button.
class CompareWindowPainter {
public:
    // Drawn with scale pixels per window pixel each way.
    static QImage Background(int scale = 1);

private:
    static void PaintCaption(QPainter& painter, const QRect& frame, const QString& text, bool highlighted);
};
