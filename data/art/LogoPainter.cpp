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

    // The lens: a white ring a little below the centre.
    const QPointF centre = box.center() + QPointF(-s * 0.04, s * 0.05);
    painter.setPen(QPen(Qt::white, std::max(1.2, s * 0.085)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, s * 0.25, s * 0.25);

    // The sparkle at its upper right, with inward-curving sides.
    const QPointF c = box.center() + QPointF(s * 0.24, -s * 0.23);
    const qreal r = s * 0.17;
    QPainterPath sparkle;
    sparkle.moveTo(c.x(), c.y() - r);
    sparkle.quadTo(c, QPointF(c.x() + r, c.y()));
    sparkle.quadTo(c, QPointF(c.x(), c.y() + r));
    sparkle.quadTo(c, QPointF(c.x() - r, c.y()));
    sparkle.quadTo(c, QPointF(c.x(), c.y() - r));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(sparkle);
    painter.restore();
}
