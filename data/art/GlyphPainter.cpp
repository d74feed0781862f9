#include "art/GlyphPainter.h"

#include <QPainter>
#include <QTransform>
#include <QtMath>

namespace {

constexpr qreal Grid = 24.0;

// Two short strokes meeting at the tip, opening backwards from the direction of travel.
void AddArrowHead(QPainterPath& path, QPointF tip, QPointF direction, qreal size)
{
    const qreal length = std::hypot(direction.x(), direction.y());
    const QPointF d = direction / length;
    auto rotated = [&](qreal degrees) {
        const qreal a = qDegreesToRadians(degrees);
        return QPointF(d.x() * std::cos(a) - d.y() * std::sin(a), d.x() * std::sin(a) + d.y() * std::cos(a));
    };
    path.moveTo(tip - size * rotated(40));
    path.lineTo(tip);
    path.lineTo(tip - size * rotated(-40));
}

void AddLine(QPainterPath& path, QPointF from, QPointF to)
{
    path.moveTo(from);
    path.lineTo(to);
}

void AddCircle(QPainterPath& path, QPointF centre, qreal radius) { path.addEllipse(centre, radius, radius); }

// A four-pointed sparkle with inward-curving sides.
void AddSparkle(QPainterPath& path, QPointF c, qreal r)
{
    path.moveTo(c.x(), c.y() - r);
    path.quadTo(c, QPointF(c.x() + r, c.y()));
    path.quadTo(c, QPointF(c.x(), c.y() + r));
    path.quadTo(c, QPointF(c.x() - r, c.y()));
    path.quadTo(c, QPointF(c.x(), c.y() - r));
    path.closeSubpath();
}

void AddMagnifier(QPainterPath& strokes)
{
    AddCircle(strokes, {10.5, 10.5}, 6.5);
    AddLine(strokes, {15.3, 15.3}, {20.5, 20.5});
    AddLine(strokes, {7.5, 10.5}, {13.5, 10.5});
}

} // namespace

GlyphPainter::Shape GlyphPainter::ShapeOf(Glyph glyph)
{
    Shape s;
    QPainterPath& p = s.strokes;
    switch (glyph) {
    case Glyph::None:
        break;
    case Glyph::Open:
        p.moveTo(3, 6);
        p.lineTo(9, 6);
        p.lineTo(11, 8.5);
        p.lineTo(21, 8.5);
        p.lineTo(21, 19);
        p.lineTo(3, 19);
        p.closeSubpath();
        AddLine(p, {3, 11.5}, {21, 11.5});
        break;
    case Glyph::Save:
        AddLine(p, {12, 3.5}, {12, 14});
        AddArrowHead(p, {12, 14}, {0, 1}, 6);
        p.moveTo(4, 14.5);
        p.lineTo(4, 20);
        p.lineTo(20, 20);
        p.lineTo(20, 14.5);
        break;
    case Glyph::Compare:
        p.addRoundedRect(QRectF(3, 5, 18, 14), 2, 2);
        AddLine(p, {12, 2.5}, {12, 21.5});
        s.fills.addRect(QRectF(3.5, 5.5, 8.5, 13));
        break;
    case Glyph::Eyeliner:
        p.moveTo(2, 12.5);
        p.cubicTo(6, 6.5, 18, 6.5, 22, 12.5);
        p.moveTo(2, 12.5);
        p.cubicTo(6, 18, 18, 18, 22, 12.5);
        AddLine(p, {6.5, 8.6}, {5.2, 6.2});
        AddLine(p, {12, 7.6}, {12, 4.8});
        AddLine(p, {17.5, 8.6}, {18.8, 6.2});
        AddCircle(s.fills, {12, 12.4}, 3.2);
        break;
    case Glyph::Stretch:
        // A ring whose content is pulled sideways by the arrow.
        AddCircle(p, {12, 12}, 9);
        p.moveTo(5.5, 15);
        p.cubicTo(9, 15, 10, 9.5, 17, 9.5);
        AddArrowHead(p, {17.5, 9.5}, {1, 0}, 4.2);
        AddCircle(s.fills, {5.5, 15}, 1.6);
        break;
    case Glyph::Brightness: {
        AddCircle(p, {12, 12}, 4.8);
        QPainterPath half;
        half.moveTo(12, 12);
        half.arcTo(QRectF(7.2, 7.2, 9.6, 9.6), 90, 180);
        half.closeSubpath();
        s.fills = half;
        for (int i = 0; i < 8; ++i) {
            const qreal a = qDegreesToRadians(45.0 * i);
            const QPointF d(std::cos(a), std::sin(a));
            AddLine(p, QPointF(12, 12) + 7.8 * d, QPointF(12, 12) + 10.2 * d);
        }
        break;
    }
    case Glyph::SpotRemoval:
        AddSparkle(s.fills, {10, 14}, 8.5);
        AddSparkle(s.fills, {18.5, 5.5}, 4);
        break;
    case Glyph::CloneStamp:
        AddCircle(p, {12, 5.2}, 2.8);
        p.moveTo(10.6, 7.8);
        p.lineTo(10, 12.5);
        p.moveTo(13.4, 7.8);
        p.lineTo(14, 12.5);
        p.addRoundedRect(QRectF(4.5, 12.5, 15, 5), 1.5, 1.5);
        AddLine(p, {4.5, 20.8}, {19.5, 20.8});
        break;
    case Glyph::Bloat:
        AddCircle(p, {12, 12}, 3.6);
        for (const QPointF d : {QPointF(0, -1), QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0)}) {
            const QPointF tip = QPointF(12, 12) + 9.8 * d;
            AddLine(p, QPointF(12, 12) + 6 * d, tip);
            AddArrowHead(p, tip, d, 3.4);
        }
        break;
    case Glyph::Pan:
        AddLine(p, {12, 2.5}, {12, 21.5});
        AddLine(p, {2.5, 12}, {21.5, 12});
        for (const QPointF d : {QPointF(0, -1), QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0)}) {
            AddArrowHead(p, QPointF(12, 12) + 9.5 * d, d, 4);
        }
        break;
    case Glyph::Undo:
        p.moveTo(4.5, 9.5);
        p.lineTo(14, 9.5);
        p.cubicTo(22, 9.5, 22, 20, 14, 20);
        p.lineTo(8.5, 20);
        AddArrowHead(p, {4.5, 9.5}, {-1, 0}, 5);
        break;
    case Glyph::Reset: {
        const QRectF ring(4.5, 4.5, 15, 15);
        p.arcMoveTo(ring, 60);
        p.arcTo(ring, 60, 280);
        const qreal end = qDegreesToRadians(340.0);
        const QPointF tip(12 + 7.5 * std::cos(end), 12 - 7.5 * std::sin(end));
        AddArrowHead(p, tip, {-std::sin(end), -std::cos(end)}, 5);
        break;
    }
    case Glyph::Rotate:
        p.addRoundedRect(QRectF(3.5, 10.5, 10.5, 10), 1.5, 1.5);
        p.moveTo(7.5, 6.5);
        p.cubicTo(12, 2.5, 19.5, 4, 19.5, 12);
        AddArrowHead(p, {19.5, 12.5}, {0, 1}, 4.5);
        break;
    case Glyph::ZoomIn:
        AddMagnifier(p);
        AddLine(p, {10.5, 7.5}, {10.5, 13.5});
        break;
    case Glyph::ZoomOut:
        AddMagnifier(p);
        break;
    case Glyph::Minimise:
        AddLine(p, {6.5, 13}, {17.5, 13});
        break;
    case Glyph::Close:
        AddLine(p, {7, 7}, {17, 17});
        AddLine(p, {17, 7}, {7, 17});
        break;
    case Glyph::Help:
        AddCircle(p, {12, 12}, 9.5);
        p.moveTo(9, 9.5);
        p.cubicTo(9, 6.2, 15, 6.2, 15, 9.5);
        p.cubicTo(15, 11.8, 12, 11.8, 12, 14.2);
        AddCircle(s.fills, {12, 17.4}, 1.3);
        break;
    case Glyph::Globe:
        AddCircle(p, {12, 12}, 9.2);
        p.addEllipse(QPointF(12, 12), 4, 9.2);
        AddLine(p, {2.8, 12}, {21.2, 12});
        break;
    case Glyph::Home:
        p.moveTo(3, 11.5);
        p.lineTo(12, 3.5);
        p.lineTo(21, 11.5);
        p.moveTo(6, 9.5);
        p.lineTo(6, 20.5);
        p.lineTo(18, 20.5);
        p.lineTo(18, 9.5);
        p.moveTo(10, 20.5);
        p.lineTo(10, 14.5);
        p.lineTo(14, 14.5);
        p.lineTo(14, 20.5);
        break;
    case Glyph::Portrait:
        AddCircle(p, {12, 8.5}, 4.2);
        p.moveTo(3.5, 21.5);
        p.cubicTo(3.5, 14, 20.5, 14, 20.5, 21.5);
        break;
    case Glyph::SkinSmooth:
        // A soft brush whose stroke below it runs smooth.
        AddLine(p, {15.5, 8.5}, {21, 3});
        s.fills.moveTo(15.5, 8.5);
        s.fills.cubicTo(11, 8, 6.5, 11.5, 5, 17.5);
        s.fills.cubicTo(10.5, 16.5, 15, 13, 15.5, 8.5);
        s.fills.closeSubpath();
        p.moveTo(3, 21);
        p.cubicTo(8, 19.2, 14, 22.2, 21, 20.2);
        break;
    case Glyph::Heal: {
        // A bandage at 45 degrees with its pad dotted.
        QTransform turn;
        turn.translate(12, 12);
        turn.rotate(-45);
        QPainterPath band;
        band.addRoundedRect(QRectF(-10, -4.2, 20, 8.4), 4.2, 4.2);
        band.addRect(QRectF(-3.6, -4.2, 7.2, 8.4));
        p.addPath(turn.map(band));
        for (const QPointF dot : {QPointF(-1.4, -1.6), QPointF(1.4, -1.6), QPointF(-1.4, 1.6), QPointF(1.4, 1.6)}) {
            AddCircle(s.fills, turn.map(dot), 0.7);
        }
        break;
    }
    case Glyph::FaceSmooth:
        p.addEllipse(QPointF(10.5, 13), 7, 8.5);
        AddLine(p, {8, 11.5}, {8, 12.5});
        AddLine(p, {13, 11.5}, {13, 12.5});
        p.moveTo(8, 16.5);
        p.cubicTo(9.5, 18, 11.5, 18, 13, 16.5);
        AddSparkle(s.fills, {19.5, 4.5}, 4);
        break;
    }
    return s;
}

void GlyphPainter::Render(QPainter& painter, const Shape& shape, const QRectF& box, const QColor& colour,
                          qreal strokeWidth, qreal fillGrowth)
{
    const qreal scale = std::min(box.width(), box.height()) / Grid;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center() - QPointF(Grid, Grid) * scale / 2);
    painter.scale(scale, scale);
    QPen pen(colour, strokeWidth / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape.strokes);
    if (!shape.fills.isEmpty()) {
        painter.setBrush(colour);
        painter.setPen(fillGrowth > 0 ? QPen(colour, fillGrowth / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                      : QPen(Qt::NoPen));
        painter.drawPath(shape.fills);
    }
    painter.restore();
}

void GlyphPainter::Draw(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour, qreal strokeWidth)
{
    Render(painter, ShapeOf(glyph), box, colour, strokeWidth, 0);
}

void GlyphPainter::DrawWithHalo(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour,
                                const QColor& halo, qreal strokeWidth, qreal haloWidth)
{
    const Shape shape = ShapeOf(glyph);
    Render(painter, shape, box, halo, strokeWidth + 2 * haloWidth, 2 * haloWidth);
    Render(painter, shape, box, colour, strokeWidth, 0);
}
