#pragma once

#include "art/ButtonState.h"
#include "art/SkinLayout.h"

#include <QColor>

class QPainter;

// Paints one button in one of its looks over the window background at its rectangle.
class ButtonPainter {
public:
    static void Paint(QPainter& painter, const SkinButton& button, ButtonState state);

private:
    struct Look {
        QColor fillTop;
        QColor fillBottom;
        QColor border;
        QColor text;
        QColor glyph;
        int shift = 0; // a pressed button's content sinks by a pixel
    };
    static Look PrimaryLook(ButtonState state);
    static Look SecondaryLook(ButtonState state);
    static Look ToolLook(ButtonState state);

    static void PaintBox(QPainter& painter, const SkinButton& button, const Look& look, qreal radius);
    static void PaintContent(QPainter& painter, const SkinButton& button, const Look& look, int fontSize);
    static void PaintWindowControl(QPainter& painter, const SkinButton& button, ButtonState state);
    static void PaintBanner(QPainter& painter, const SkinButton& button, ButtonState state);
    static void PaintTextLink(QPainter& painter, const SkinButton& button, ButtonState state);
};
