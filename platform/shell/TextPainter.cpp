#include "shell/TextPainter.h"

#include "shell/BitmapImage.h"

#include <QPainter>

namespace shell {

namespace {

// 96 dots per inch in the dots-per-metre unit QImage keeps.
constexpr int kDotsPerMetreAt96Dpi = 3780;

} // namespace

TextPainter::TextPainter(int pointSize)
{
    font_.setFamilies(FontFamilies());
    font_.setPointSize(pointSize);
    font_.setStyleHint(QFont::Serif);
}

QStringList TextPainter::FontFamilies()
{
    return {QString::fromUtf8("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
            QStringLiteral("AR PL UMing TW")};
}

void TextPainter::Draw(gfx::Bitmap& target, const gfx::Rect& rect, const QString& text, gfx::Argb colour) const
{
    const gfx::Rect area = rect.Intersected(target.Bounds());
    if (area.IsEmpty() || text.isEmpty()) {
        return;
    }
    QImage image = WrapBitmap(target);
    image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);

    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QPainter painter(&image);
    painter.setClipRect(QRect(area.x, area.y, area.width, area.height));
    painter.setFont(font_);
    painter.setPen(QColor::fromRgba(colour));
    painter.drawText(QRect(rect.x, rect.y, rect.width, rect.height), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     lines);
}

} // namespace shell
