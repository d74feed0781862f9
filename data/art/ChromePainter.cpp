#include "art/ChromePainter.h"

#include "art/LogoPainter.h"
#include "art/SkinTheme.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

void ChromePainter::WindowFace(QPainter& painter, const QRect& window)
{
    QLinearGradient face(window.topLeft(), window.bottomLeft());
    face.setColorAt(0, SkinTheme::Window());
    face.setColorAt(1, SkinTheme::WindowShade());
    painter.fillRect(window, face);
}

void ChromePainter::WindowOutline(QPainter& painter, const QRect& window)
{
    painter.setPen(QPen(QColor(0x9C, 0x8E, 0x96), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(window).adjusted(0.5, 0.5, -0.5, -0.5));
}

void ChromePainter::TitleBand(QPainter& painter, int width, const QString& subtitle)
{
    const QRect band(0, 0, width, 35);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, SkinTheme::TitleTop());
    fill.setColorAt(1, SkinTheme::TitleBottom());
    painter.fillRect(band, fill);
    painter.fillRect(QRect(0, 34, width, 1), SkinTheme::AccentDark());

    LogoPainter::Paint(painter, QRectF(11, 7, 21, 21));

    const QFont titleFont = SkinTheme::Font(18, QFont::Bold);
    const QString title = QStringLiteral("Miravo");
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(titleFont);
    painter.setPen(SkinTheme::TitleText());
    painter.drawText(QPointF(40, 24), title);
    const qreal afterTitle = 40 + QFontMetrics(titleFont).horizontalAdvance(title) + 10;

    painter.setPen(Qt::NoPen);
    painter.setBrush(SkinTheme::TitleSubtext());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(QPointF(afterTitle, 18.5), 1.6, 1.6);
    painter.setFont(SkinTheme::Font(12));
    painter.setPen(SkinTheme::TitleSubtext());
    painter.drawText(QPointF(afterTitle + 9, 23), subtitle);
}

void ChromePainter::Card(QPainter& painter, const QRect& card)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x6A, 0x4E, 0x58, 14));
    painter.drawRoundedRect(box.translated(0, 1.5), 7, 7);
    painter.setPen(QPen(SkinTheme::CardBorder(), 1));
    painter.setBrush(SkinTheme::Card());
    painter.drawRoundedRect(box, 6, 6);
    painter.restore();
}

void ChromePainter::SectionHeading(QPainter& painter, QPoint topLeft, const QString& text)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(SkinTheme::Accent());
    painter.drawRoundedRect(QRectF(topLeft.x(), topLeft.y() + 2, 3, 11), 1.5, 1.5);
    painter.setFont(SkinTheme::Font(12, QFont::Bold));
    painter.setPen(SkinTheme::Text());
    painter.drawText(QPointF(topLeft.x() + 8, topLeft.y() + 12), text);
    painter.restore();
}

void ChromePainter::PictureFrame(QPainter& painter, const QRect& picture)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int spread = 4; spread >= 1; --spread) {
        painter.setBrush(QColor(0x3A, 0x28, 0x30, 10));
        const QRectF shadow = QRectF(picture).adjusted(-spread, -spread + 1, spread, spread + 1);
        painter.drawRoundedRect(shadow, spread + 1, spread + 1);
    }
    painter.restore();
    painter.fillRect(picture.adjusted(-1, -1, 1, 1), SkinTheme::CanvasEdge());
    QLinearGradient fill(picture.topLeft(), picture.bottomLeft());
    fill.setColorAt(0, SkinTheme::Canvas().lighter(112));
    fill.setColorAt(1, SkinTheme::Canvas());
    painter.fillRect(picture, fill);
}
