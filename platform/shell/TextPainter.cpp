#include "shell/TextPainter.h"

#include "shell/BitmapImage.h"

#include <QFontMetrics>
#include <QPainter>

namespace shell {

namespace {

// 96 dots per inch in the dots-per-metre unit QImage keeps.
constexpr int kDotsPerMetreAt96Dpi = 3780;

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Line breaks as Qt draws them: "\r\n" and a lone "\r" become "\n".
QString QtLineBreaks(const QString& text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

QImage At96Dpi(QImage image)
{
    image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
    return image;
}

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

void TextPainter::Draw(gfx::Bitmap& target, const gfx::Rect& rect, const QString& text, gfx::Argb colour,
                       int scale) const
{
    const gfx::Rect area = rect.Intersected({0, 0, target.Width() / scale, target.Height() / scale});
    if (area.IsEmpty() || text.isEmpty()) {
        return;
    }
    QImage image = At96Dpi(WrapBitmap(target));
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    painter.setClipRect(QRect(area.x, area.y, area.width, area.height));
    painter.setFont(font_);
    painter.setPen(QColor::fromRgba(colour));
    painter.drawText(QRect(rect.x, rect.y, rect.width, rect.height), kTextFlags, QtLineBreaks(text));
}

int TextPainter::FittingPointSize(const QString& text, const gfx::Rect& rect, int largest, int smallest)
{
    const QImage device = At96Dpi(QImage(1, 1, QImage::Format_ARGB32));
    const QString lines = QtLineBreaks(text);
    for (int size = largest; size > smallest; --size) {
        const QFontMetrics metrics(TextPainter(size).Font(), &device);
        const QRect needed = metrics.boundingRect(QRect(0, 0, rect.width, rect.height), kTextFlags, lines);
        if (needed.width() <= rect.width && needed.height() <= rect.height) {
            return size;
        }
    }
    return smallest;
}

} // namespace shell
