#pragma once

#include <QRect>
#include <QString>

class QPainter;

// The pieces both windows are built from: the window face, the title band, cards,
// section headings and the dark picture frames.
class ChromePainter {
public:
    static void WindowFace(QPainter& painter, const QRect& window);
    // Drawn last: a one-pixel line that keeps the frameless window apart from what lies behind it.
    static void WindowOutline(QPainter& painter, const QRect& window);
    static void TitleBand(QPainter& painter, int width, const QString& subtitle);
    static void Card(QPainter& painter, const QRect& card);
    static void SectionHeading(QPainter& painter, QPoint topLeft, const QString& text);
    // A recessed dark area with a shadow around the picture rectangle (which stays inside).
    static void PictureFrame(QPainter& painter, const QRect& picture);
};
