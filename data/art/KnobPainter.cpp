#include "art/KnobPainter.h"

#include "art/BitmapConversion.h"
#include "art/SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

QImage KnobPainter::Paint(Pointing pointing, int scale)
{
    QImage image = BitmapConversion::PaintingImage(QSize(Width, Height), scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A tag whose point faces the other track.
    const QPolygonF tag({{0.5, 0.5}, {8.5, 0.5}, {8.5, 3.6}, {4.5, 6.6}, {0.5, 3.6}});
    QLinearGradient fill(0, 0, 0, Height);
    fill.setColorAt(0, SkinTheme::AccentLight());
    fill.setColorAt(1, SkinTheme::Accent());
    painter.setPen(QPen(SkinTheme::AccentDark(), 1));
    painter.setBrush(fill);
    painter.drawPolygon(tag);
    painter.end();
    return pointing == Pointing::Up ? image.mirrored(false, true) : image;
}
