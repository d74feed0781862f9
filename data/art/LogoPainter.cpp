#include "art/LogoPainter.h"

#include "art/SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

void LogoPainter::Paint(QPainter& painter, const QRectF& box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = box.width();
    QLinearGradient tile(box.topLeft(), box.bottomRight());
    tile.setColorAt(0, SkinTheme::AccentLight());
    tile.setColorAt(0.55, SkinTheme::Accent());
    tile.setColorAt(1, QColor(0x6E, 0x3A, 0x5E));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(box, s * 0.24, s * 0.24);

    // An eye with a winged lash line: what the program is for, in one mark.
    const QPointF c = box.center() + QPointF(0, s * 0.03);
    const qreal w = s * 0.34;
    const qreal lid = s * 0.2;
    // The upper lid is a filled crescent: thin at the inner corner, thick at the outer
    // one, ending in the upturned wing.
    const QPointF inner(c.x() - w, c.y());
    const QPointF outer(c.x() + w, c.y() - s * 0.005);
    const QPointF wingTip(c.x() + w + s * 0.12, c.y() - s * 0.16);
    QPainterPath upper;
    upper.moveTo(inner);
    upper.cubicTo(c.x() - w * 0.5, c.y() - lid * 1.75, c.x() + w * 0.45, c.y() - lid * 1.85, wingTip.x(), wingTip.y());
    upper.lineTo(outer);
    upper.cubicTo(c.x() + w * 0.5, c.y() - lid * 1.3, c.x() - w * 0.5, c.y() - lid * 1.3, inner.x(), inner.y());
    upper.closeSubpath();
    QPainterPath lower;
    lower.moveTo(inner);
    lower.cubicTo(c.x() - w * 0.5, c.y() + lid * 1.2, c.x() + w * 0.5, c.y() + lid * 1.2, outer.x(), outer.y());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, std::max(1.0, s * 0.05), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(lower);
    painter.setPen(QPen(Qt::white, std::max(0.8, s * 0.02), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(upper);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(c + QPointF(0, s * 0.01), s * 0.14, s * 0.14);
    painter.setBrush(SkinTheme::AccentDark().darker(130));
    painter.drawEllipse(c + QPointF(0, s * 0.01), s * 0.065, s * 0.065);
    painter.setBrush(Qt::white);
    painter.drawEllipse(c + QPointF(s * 0.035, -s * 0.025), s * 0.025, s * 0.025);
    painter.restore();
}
