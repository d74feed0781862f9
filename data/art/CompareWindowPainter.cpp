#include "art/CompareWindowPainter.h"

#include "art/BitmapConversion.h"
#include "art/ChromePainter.h"
#include "art/SkinLayout.h"
#include "art/SkinTheme.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

QImage CompareWindowPainter::Background(int scale)
{
    const QRect window = SkinLayout::CompareWindow();
    QImage image = BitmapConversion::PaintingImage(window.size(), scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ChromePainter::WindowFace(painter, window);
    ChromePainter::TitleBand(painter, window.width(), QStringLiteral("效果对比"));

    const QRect before = SkinLayout::BeforeFrame();
    const QRect after = SkinLayout::AfterFrame();
    ChromePainter::PictureFrame(painter, before);
    ChromePainter::PictureFrame(painter, after);

    // A small arrow between the frames reads "from this to that".
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF middle((before.right() + after.left()) / 2.0 + 0.5, before.center().y() + 0.5);
    painter.setPen(QPen(SkinTheme::CardBorder(), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(middle, 8, 8);
    QPainterPath chevron;
    chevron.moveTo(middle + QPointF(-2, -4));
    chevron.lineTo(middle + QPointF(2.5, 0));
    chevron.lineTo(middle + QPointF(-2, 4));
    painter.setPen(QPen(SkinTheme::Accent(), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);

    PaintCaption(painter, before, QStringLiteral("修饰前"), false);
    PaintCaption(painter, after, QStringLiteral("修饰后"), true);

    painter.setFont(SkinTheme::Font(12));
    painter.setPen(SkinTheme::TextMuted());
    painter.drawText(QPointF(17, 386), QStringLiteral("两幅图将左右并排保存为一张 JPEG 图片"));
    ChromePainter::WindowOutline(painter, window);
    return image;
}

void CompareWindowPainter::PaintCaption(QPainter& painter, const QRect& frame, const QString& text, bool highlighted)
{
    const QFont font = SkinTheme::Font(12, QFont::Bold);
    const qreal width = QFontMetrics(font).horizontalAdvance(text) + 24;
    const QRectF pill(frame.center().x() + 0.5 - width / 2, frame.bottom() + 11.5, width, 20);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(highlighted ? SkinTheme::AccentDark() : SkinTheme::CardBorder(), 1));
    painter.setBrush(highlighted ? SkinTheme::Accent() : QColor(Qt::white));
    painter.drawRoundedRect(pill, 10, 10);
    painter.setFont(font);
    painter.setPen(highlighted ? QColor(Qt::white) : SkinTheme::Text());
    painter.drawText(pill, Qt::AlignCenter, text);
    painter.restore();
}
