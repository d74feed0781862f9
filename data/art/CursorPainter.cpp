#include "art/CursorPainter.h"

#include "art/GlyphPainter.h"
#include "art/SkinLayout.h"
#include "art/SkinTheme.h"
#include "tools/ToolTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>


namespace {

const QColor Ink(0x1E, 0x1A, 0x20);

QImage BlankCursor()
{
    QImage image(CursorPainter::Size, CursorPainter::Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A white outline first, then the ink, so the shape reads on any picture.
void StrokeWithHalo(QPainter& painter, const QPainterPath& path, qreal width)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

void FillOutlined(QPainter& painter, const QPainterPath& path)
{
    painter.setPen(QPen(Ink, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

void DrawBadge(QPainter& painter, Glyph glyph, QPointF centre, qreal radius)
{
    painter.setPen(QPen(Ink, 1.1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, radius, radius);
    const qreal g = radius * 1.3;
    GlyphPainter::Draw(painter, glyph, QRectF(centre.x() - g / 2, centre.y() - g / 2, g, g), SkinTheme::AccentDark(),
                       1.3);
}

QImage ToArgb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

} // namespace

std::vector<CursorPainter::Cursor> CursorPainter::All()
{
    std::vector<Cursor> cursors;
    // The move tool's cursor is the open hand; every other tool's is a crosshair with its badge.
    for (const ToolRow& tool : ToolTable::Rows()) {
        cursors.push_back(tool.name == "move" ? PanCursor() : ToolCursor(std::string(tool.name)));
    }
    cursors.push_back(HelpCursor());
    cursors.push_back(HandCursor());
    return cursors;
}

CursorPainter::Cursor CursorPainter::ToolCursor(const std::string& name)
{
    QImage image = BlankCursor();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Crosshair arms around the aiming pixel (9, 9), leaving its centre open to see through.
    const qreal c = 9.5;
    QPainterPath arms;
    arms.moveTo(c, 1.5);
    arms.lineTo(c, 6.5);
    arms.moveTo(c, 12.5);
    arms.lineTo(c, 17.5);
    arms.moveTo(1.5, c);
    arms.lineTo(6.5, c);
    arms.moveTo(12.5, c);
    arms.lineTo(17.5, c);
    StrokeWithHalo(painter, arms, 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(c, c), 1.6, 1.6);
    painter.setBrush(Ink);
    painter.drawEllipse(QPointF(c, c), 0.8, 0.8);
    DrawBadge(painter, SkinLayout::ToolGlyph(name), QPointF(22.5, 22.5), 8.5);
    painter.end();
    return {name, ToArgb(image), QPoint(9, 9)};
}

CursorPainter::Cursor CursorPainter::PanCursor()
{
    QImage image = BlankCursor();
    QPainter painter(&image);
    GlyphPainter::DrawWithHalo(painter, Glyph::Pan, QRectF(2, 2, 28, 28), Ink, Qt::white, 1.6, 1.2);
    painter.end();
    return {"move", ToArgb(image), QPoint(16, 16)};
}

CursorPainter::Cursor CursorPainter::HelpCursor()
{
    QImage image = BlankCursor();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.addPolygon(QPolygonF({{1.5, 1.5}, {1.5, 18.5}, {5.5, 14.8}, {8.5, 21.5}, {11.3, 20.3},
                                {8.4, 13.7}, {13.8, 13.7}}));
    arrow.closeSubpath();
    FillOutlined(painter, arrow);
    // The question mark on a rose disc, in the lower right.
    const QPointF centre(22.5, 21.5);
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(SkinTheme::Accent());
    painter.drawEllipse(centre, 8, 8);
    QPainterPath mark;
    mark.moveTo(centre + QPointF(-2.6, -2.2));
    mark.cubicTo(centre + QPointF(-2.6, -5.4), centre + QPointF(2.8, -5.4), centre + QPointF(2.8, -2.2));
    mark.cubicTo(centre + QPointF(2.8, -0.3), centre + QPointF(0, -0.2), centre + QPointF(0, 1.8));
    painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre + QPointF(0, 4.6), 1.1, 1.1);
    painter.end();
    return {"help", ToArgb(image), QPoint(1, 1)};
}

CursorPainter::Cursor CursorPainter::HandCursor()
{
    QImage image = BlankCursor();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9.5, 1.5, 5, 16), 2.5, 2.5);   // index finger, pointing up
    hand.addRoundedRect(QRectF(14.5, 9, 4.6, 10), 2.3, 2.3);  // middle
    hand.addRoundedRect(QRectF(19.1, 10, 4.4, 9), 2.2, 2.2);  // ring
    hand.addRoundedRect(QRectF(23.5, 11.5, 4, 8), 2, 2);      // little
    hand.addRoundedRect(QRectF(9.5, 14, 18, 12.5), 4, 4);     // palm
    hand.addRoundedRect(QRectF(11.5, 24, 14, 6.5), 1.5, 1.5); // wrist
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-4, -2.4, 9.5, 4.8), 2.4, 2.4);
    hand.addPath(QTransform().translate(8, 18.5).rotate(50).map(thumb));
    hand.setFillRule(Qt::WindingFill);
    FillOutlined(painter, hand.simplified());
    QPainterPath creases;
    creases.moveTo(14.5, 14);
    creases.lineTo(14.5, 18);
    creases.moveTo(19.1, 14.5);
    creases.lineTo(19.1, 18);
    creases.moveTo(23.5, 15);
    creases.lineTo(23.5, 18.5);
    painter.setPen(QPen(Ink, 1, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(creases);
    painter.end();
    return {"hand", ToArgb(image), QPoint(12, 1)};
}
