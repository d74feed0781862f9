#include "art/MainWindowPainter.h"

#include "art/BitmapConversion.h"
#include "art/ChromePainter.h"
#include "art/GlyphPainter.h"
#include "art/SkinLayout.h"
#include "art/SkinTheme.h"
#include "imageio/PictureKinds.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

void DrawCentredText(QPainter& painter, const QFont& font, const QColor& colour, qreal centreX, qreal baseline,
                     const QString& text)
{
    const qreal width = QFontMetrics(font).horizontalAdvance(text);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(centreX - width / 2, baseline), text);
}

constexpr int kPanelLeft = 458;
constexpr int kHeadingHeight = 24; // a card's heading above its first widget

// The lowest edge of the side panel's buttons that lie between the two heights; `from`
// when there is none.
int LowestButtonBetween(int from, int to)
{
    int lowest = from;
    for (const SkinButton& button : SkinLayout::MainButtons()) {
        if (button.rect.left() >= kPanelLeft && button.rect.top() >= from && button.rect.bottom() < to) {
            lowest = std::max(lowest, button.rect.bottom() + 1);
        }
    }
    return lowest;
}

} // namespace

QImage MainWindowPainter::Background(int scale)
{
    const QRect window = SkinLayout::MainWindow();
    QImage image = BitmapConversion::PaintingImage(window.size(), scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ChromePainter::WindowFace(painter, window);
    ChromePainter::TitleBand(painter, window.width(), QStringLiteral("人像精修"));
    ChromePainter::PictureFrame(painter, SkinLayout::Canvas());
    PaintEmptyCanvas(painter);
    PaintSidePanel(painter);
    PaintFootBar(painter);
    ChromePainter::WindowOutline(painter, window);
    return image;
}

void MainWindowPainter::PaintEmptyCanvas(QPainter& painter)
{
    const QRect canvas = SkinLayout::Canvas();
    const QPointF centre(canvas.center().x() + 0.5, canvas.top() + canvas.height() * 0.44);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF plate(centre.x() - 52, centre.y() - 64, 104, 116);
    QPen dashed(QColor(0x6A, 0x5F, 0x68), 1.4, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    dashed.setDashPattern({4, 3});
    painter.setPen(dashed);
    painter.setBrush(QColor(255, 255, 255, 8));
    painter.drawRoundedRect(plate, 14, 14);
    GlyphPainter::Draw(painter, Glyph::Portrait, plate.adjusted(16, 14, -16, -22), QColor(0x7E, 0x71, 0x7A), 2.2);

    const qreal textTop = plate.bottom() + 34;
    DrawCentredText(painter, SkinTheme::Font(16), QColor(0xD8, 0xCC, 0xD0), centre.x(), textTop,
                    QStringLiteral("点击「打开」载入一张人像照片"));
    DrawCentredText(painter, SkinTheme::Font(12), SkinTheme::CanvasHint(), centre.x(), textTop + 24,
                    QStringLiteral("支持 %1, 也可把照片拖到这里").arg(QString::fromStdString(PictureKindList())));
    painter.restore();
}

// Three cards: the buttons above the sliders, the sliders with any button below them,
// and the help panel. Each card grows with the buttons in it; a card keeps its heading
// only while there is room for it above its first widget.
void MainWindowPainter::PaintSidePanel(QPainter& painter)
{
    const QRect upper = SkinLayout::UpperSlider();
    const QRect help = SkinLayout::HelpPanel();
    const int commandsBottom = LowestButtonBetween(41, upper.top()) + 7;
    const QRect commands(kPanelLeft, 41, 138, std::min(commandsBottom, upper.top() - 5) - 41);
    ChromePainter::Card(painter, commands);
    painter.fillRect(QRect(465, 103, 124, 1), SkinTheme::Hairline());

    const int slidersTop = commands.bottom() + 1 + std::min(7, upper.top() - commands.bottom() - 4);
    const int slidersBottom = LowestButtonBetween(SkinLayout::LowerSlider().bottom() + 1, help.top()) + 9;
    ChromePainter::Card(painter, QRect(kPanelLeft, slidersTop, 138, slidersBottom - slidersTop));
    if (upper.top() - slidersTop >= kHeadingHeight + 3) {
        ChromePainter::SectionHeading(painter, QPoint(466, slidersTop + 6), QStringLiteral("控制条"));
        painter.setFont(SkinTheme::Font(11));
        painter.setPen(SkinTheme::TextMuted());
        const QString hint = QStringLiteral("左右拖动");
        painter.drawText(QPointF(588 - QFontMetrics(painter.font()).horizontalAdvance(hint), slidersTop + 17), hint);
    }
    PaintSliderTrack(painter, upper);
    PaintSliderTrack(painter, SkinLayout::LowerSlider());

    const int helpTop = slidersBottom + std::min(7, help.top() - slidersBottom - 6);
    ChromePainter::Card(painter, QRect(kPanelLeft, helpTop, 138, 505 - helpTop));
    if (help.top() - helpTop >= kHeadingHeight + 7) {
        ChromePainter::SectionHeading(painter, QPoint(466, helpTop + 7), QStringLiteral("操作提示"));
    }
    painter.setPen(QPen(SkinTheme::Hairline(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(help).adjusted(-1.5, -1.5, 1.5, 1.5));
    painter.fillRect(help, Qt::white);

    PaintShortcuts(painter, QRect(458, 568, 138, 58));
}

void MainWindowPainter::PaintSliderTrack(QPainter& painter, const QRect& track)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF groove(track.left(), track.top() + 2, track.width(), 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xE2, 0xD6, 0xD2));
    painter.drawRoundedRect(groove, 1.5, 1.5);
    // Quarter marks make the scale readable without numbers.
    painter.setBrush(QColor(0xC8, 0xB8, 0xB5));
    for (int i = 0; i <= 4; ++i) {
        const qreal x = track.left() + track.width() * i / 4.0;
        painter.drawEllipse(QPointF(x, groove.center().y()), 1.5, 1.5);
    }
    painter.restore();
}

void MainWindowPainter::PaintShortcuts(QPainter& painter, const QRect& card)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(SkinTheme::CardBorder(), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.restore();

    const QFont keyFont = SkinTheme::Font(11);
    const QFontMetrics metrics(keyFont);
    struct Line {
        QString keys;
        QString action;
    };
    const Line lines[] = {
        {QStringLiteral("PgUp/PgDn"), QStringLiteral("缩放画面")},
        {QStringLiteral("方向键"), QStringLiteral("移动画面")},
        {QStringLiteral("滚轮"), QStringLiteral("画笔大小")},
    };
    qreal baseline = card.top() + 17;
    for (const Line& line : lines) {
        painter.setFont(keyFont);
        painter.setPen(SkinTheme::Text());
        painter.drawText(QPointF(card.left() + 9, baseline), line.keys);
        painter.setPen(SkinTheme::TextMuted());
        painter.drawText(QPointF(card.right() - 8 - metrics.horizontalAdvance(line.action), baseline), line.action);
        baseline += 16;
    }
}

void MainWindowPainter::PaintFootBar(QPainter& painter)
{
    painter.fillRect(QRect(336, 680, 1, 14), SkinTheme::CardBorder());
    painter.setFont(SkinTheme::Font(11));
    painter.setPen(SkinTheme::TextMuted());
    const QString version = QStringLiteral("v1.0");
    painter.drawText(QPointF(454 - QFontMetrics(painter.font()).horizontalAdvance(version), 692), version);
}
