#pragma once

#include "art/Glyph.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Draws the glyphs as rounded line drawings designed on a 24-unit grid and scaled to
// any square box, so one drawing serves a 12-pixel button icon and a 32-pixel cursor.
class GlyphPainter {
public:
    static void Draw(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour, qreal strokeWidth);

    // The same drawing on a wider halo, so that it reads on dark and light pictures alike.
    static void DrawWithHalo(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour,
                             const QColor& halo, qreal strokeWidth, qreal haloWidth);

private:
    struct Shape {
        QPainterPath strokes;
        QPainterPath fills;
    };
    static Shape ShapeOf(Glyph glyph);
    static void Render(QPainter& painter, const Shape& shape, const QRectF& box, const QColor& colour,
                       qreal strokeWidth, qreal fillGrowth);
};
