#include "art/ButtonPainter.h"

#include "art/GlyphPainter.h"
#include "art/SkinTheme.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QColor Transparent() { return QColor(0, 0, 0, 0); }

QColor WithAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// The baseline that centres the font's ascent and descent on the given middle line.
qreal CentredBaseline(const QFontMetrics& metrics, qreal middle)
{
    return middle + (metrics.ascent() - metrics.descent()) / 2.0;
}

} // namespace

ButtonPainter::Look ButtonPainter::PrimaryLook(ButtonState state)
{
    switch (state) {
    case ButtonState::Normal:
        return {SkinTheme::AccentLight(), SkinTheme::Accent(), SkinTheme::AccentDark(), Qt::white, Qt::white, 0};
    case ButtonState::Hover:
        return {SkinTheme::AccentLight().lighter(110), SkinTheme::AccentLight(), SkinTheme::Accent(), Qt::white,
                Qt::white, 0};
    case ButtonState::Pressed:
        return {SkinTheme::AccentDark(), SkinTheme::Accent(), SkinTheme::AccentDark().darker(115), Qt::white,
                Qt::white, 1};
    case ButtonState::Disabled:
        break;
    }
    return {SkinTheme::DisabledFill(), SkinTheme::DisabledFill(), SkinTheme::DisabledBorder(),
            SkinTheme::TextDisabled(), SkinTheme::TextDisabled(), 0};
}

ButtonPainter::Look ButtonPainter::SecondaryLook(ButtonState state)
{
    switch (state) {
    case ButtonState::Normal:
        return {Qt::white, QColor(0xF9, 0xF6, 0xF4), SkinTheme::CardBorder(), SkinTheme::Text(), SkinTheme::Accent(),
                0};
    case ButtonState::Hover:
        return {SkinTheme::AccentTint(), SkinTheme::AccentTint(), SkinTheme::AccentLight(), SkinTheme::AccentDark(),
                SkinTheme::AccentDark(), 0};
    case ButtonState::Pressed:
        return {SkinTheme::AccentTintStrong().darker(104), SkinTheme::AccentTintStrong(), SkinTheme::Accent(),
                SkinTheme::AccentDark(), SkinTheme::AccentDark(), 1};
    case ButtonState::Disabled:
        break;
    }
    return {SkinTheme::DisabledFill(), SkinTheme::DisabledFill(), SkinTheme::DisabledBorder(),
            SkinTheme::TextDisabled(), SkinTheme::TextDisabled(), 0};
}

ButtonPainter::Look ButtonPainter::ToolLook(ButtonState state)
{
    if (state == ButtonState::Pressed) {
        // Pressed is also how the chosen tool stays shown, so it must read as "on".
        return {SkinTheme::Accent(), SkinTheme::AccentDark(), SkinTheme::AccentDark().darker(110), Qt::white,
                Qt::white, 0};
    }
    return SecondaryLook(state);
}

void ButtonPainter::Paint(QPainter& painter, const SkinButton& button, ButtonState state)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    switch (button.style) {
    case ButtonStyle::Primary:
        PaintBox(painter, button, PrimaryLook(state), 4);
        PaintContent(painter, button, PrimaryLook(state), 12);
        break;
    case ButtonStyle::Secondary:
        PaintBox(painter, button, SecondaryLook(state), button.rect.height() >= 28 ? 15 : 4);
        PaintContent(painter, button, SecondaryLook(state), 12);
        break;
    case ButtonStyle::Tool:
        PaintBox(painter, button, ToolLook(state), 4);
        PaintContent(painter, button, ToolLook(state), 12);
        break;
    case ButtonStyle::WindowControl:
        PaintWindowControl(painter, button, state);
        break;
    case ButtonStyle::Banner:
        PaintBanner(painter, button, state);
        break;
    case ButtonStyle::TextLink:
        PaintTextLink(painter, button, state);
        break;
    }
    painter.restore();
}

void ButtonPainter::PaintBox(QPainter& painter, const SkinButton& button, const Look& look, qreal radius)
{
    // Half-pixel inset keeps the one-pixel border on whole pixels.
    const QRectF box = QRectF(button.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, look.fillTop);
    fill.setColorAt(1, look.fillBottom);
    painter.setPen(QPen(look.border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, radius, radius);
    if (look.shift > 0) {
        // Pressed: a soft shadow under the top edge makes the face look pushed in.
        QPainterPath face;
        face.addRoundedRect(box, radius, radius);
        painter.save();
        painter.setClipPath(face);
        QLinearGradient shade(box.topLeft(), box.topLeft() + QPointF(0, 4));
        shade.setColorAt(0, QColor(0x50, 0x20, 0x30, 46));
        shade.setColorAt(1, QColor(0x50, 0x20, 0x30, 0));
        painter.fillRect(QRectF(box.left(), box.top(), box.width(), 4), shade);
        painter.restore();
    } else if (look.fillTop.lightness() > look.fillBottom.lightness()) {
        // A faint highlight under the top edge gives the raised buttons some depth.
        painter.setPen(QPen(WithAlpha(Qt::white, 90), 1));
        painter.drawLine(QPointF(box.left() + radius, box.top() + 1), QPointF(box.right() - radius, box.top() + 1));
    }
}

void ButtonPainter::PaintContent(QPainter& painter, const SkinButton& button, const Look& look, int fontSize)
{
    const QFont font = SkinTheme::Font(fontSize);
    const QFontMetrics metrics(font);
    const qreal glyphSize = std::min(13.0, button.rect.height() - 7.0);
    const qreal gap = button.glyph == Glyph::None ? 0 : 4;
    const qreal textWidth = metrics.horizontalAdvance(button.label);
    const qreal contentWidth = (button.glyph == Glyph::None ? 0 : glyphSize) + gap + textWidth;
    const QRectF rect(button.rect);
    const qreal left = rect.left() + (rect.width() - contentWidth) / 2;
    const qreal middle = rect.top() + rect.height() / 2.0 + look.shift;
    if (button.glyph != Glyph::None) {
        const QRectF glyphBox(left, middle - glyphSize / 2, glyphSize, glyphSize);
        GlyphPainter::Draw(painter, button.glyph, glyphBox, look.glyph, 1.25);
    }
    painter.setFont(font);
    painter.setPen(look.text);
    painter.drawText(QPointF(left + contentWidth - textWidth, CentredBaseline(metrics, middle)), button.label);
}

void ButtonPainter::PaintWindowControl(QPainter& painter, const SkinButton& button, ButtonState state)
{
    const bool closes = button.glyph == Glyph::Close;
    // Inset sideways: the minimise and close rectangles share a column.
    const QRectF box = QRectF(button.rect).adjusted(1.5, 0.5, -1.5, -0.5);
    QColor fill = Transparent();
    QColor glyph = WithAlpha(SkinTheme::TitleText(), 200);
    if (state == ButtonState::Hover) {
        fill = closes ? SkinTheme::CloseHover() : WithAlpha(Qt::white, 44);
        glyph = Qt::white;
    } else if (state == ButtonState::Pressed) {
        fill = closes ? SkinTheme::ClosePressed() : WithAlpha(Qt::white, 24);
        glyph = Qt::white;
    } else if (state == ButtonState::Disabled) {
        glyph = WithAlpha(SkinTheme::TitleText(), 70);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 4, 4);
    const qreal size = 13;
    const QRectF glyphBox(box.center().x() - size / 2, box.center().y() - size / 2, size, size);
    GlyphPainter::Draw(painter, button.glyph, glyphBox, glyph, 1.4);
}

void ButtonPainter::PaintBanner(QPainter& painter, const SkinButton& button, ButtonState state)
{
    const QRectF box = QRectF(button.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor top = SkinTheme::AccentTint();
    QColor bottom = Qt::white;
    QColor border = SkinTheme::AccentTintStrong();
    QColor title = SkinTheme::Text();
    QColor accent = SkinTheme::Accent();
    QColor muted = SkinTheme::TextMuted();
    int shift = 0;
    if (state == ButtonState::Hover) {
        top = SkinTheme::AccentTintStrong();
        bottom = SkinTheme::AccentTint();
        border = SkinTheme::AccentLight();
        title = SkinTheme::AccentDark();
    } else if (state == ButtonState::Pressed) {
        top = SkinTheme::AccentTintStrong();
        bottom = SkinTheme::AccentTintStrong();
        border = SkinTheme::Accent();
        title = SkinTheme::AccentDark();
        shift = 1;
    } else if (state == ButtonState::Disabled) {
        top = bottom = SkinTheme::DisabledFill();
        border = SkinTheme::DisabledBorder();
        title = accent = muted = SkinTheme::TextDisabled();
    }
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 6, 6);

    const QRectF glyphBox(box.left() + 8, box.center().y() - 10 + shift, 20, 20);
    GlyphPainter::Draw(painter, button.glyph, glyphBox, accent, 1.5);

    const QFont titleFont = SkinTheme::Font(13, QFont::Bold);
    const QFont noteFont = SkinTheme::Font(11);
    const qreal textLeft = glyphBox.right() + 8;
    painter.setFont(titleFont);
    painter.setPen(title);
    painter.drawText(QPointF(textLeft, box.top() + 17 + shift), button.label);
    painter.setFont(noteFont);
    painter.setPen(muted);
    painter.drawText(QPointF(textLeft, box.top() + 32 + shift), QStringLiteral("入门与技巧"));

    // A chevron on the right says "this opens something".
    QPainterPath chevron;
    const qreal cx = box.right() - 10;
    const qreal cy = box.center().y() + shift;
    chevron.moveTo(cx - 2.5, cy - 4.5);
    chevron.lineTo(cx + 2, cy);
    chevron.lineTo(cx - 2.5, cy + 4.5);
    painter.setPen(QPen(accent, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
}

void ButtonPainter::PaintTextLink(QPainter& painter, const SkinButton& button, ButtonState state)
{
    QColor colour = SkinTheme::TextMuted();
    bool underline = false;
    int shift = 0;
    if (state == ButtonState::Hover) {
        colour = SkinTheme::AccentDark();
        underline = true;
    } else if (state == ButtonState::Pressed) {
        colour = SkinTheme::AccentDark().darker(120);
        underline = true;
        shift = 1;
    } else if (state == ButtonState::Disabled) {
        colour = SkinTheme::TextDisabled();
    }
    const QFont font = SkinTheme::Font(12);
    const QFontMetrics metrics(font);
    const QRectF rect(button.rect);
    const qreal glyphSize = 13;
    const qreal textWidth = metrics.horizontalAdvance(button.label);
    const qreal left = rect.left() + (rect.width() - glyphSize - 4 - textWidth) / 2;
    const qreal middle = rect.center().y() + shift;
    GlyphPainter::Draw(painter, button.glyph, QRectF(left, middle - glyphSize / 2, glyphSize, glyphSize), colour, 1.2);
    const qreal textLeft = left + glyphSize + 4;
    const qreal baseline = CentredBaseline(metrics, middle);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(textLeft, baseline), button.label);
    if (underline) {
        painter.setPen(QPen(colour, 1));
        painter.drawLine(QPointF(textLeft, baseline + 2.5), QPointF(textLeft + textWidth, baseline + 2.5));
    }
}
