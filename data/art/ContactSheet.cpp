#include "art/ContactSheet.h"

#include "art/BitmapConversion.h"
#include "art/EyelidTexture.h"
#include "art/SkinLayout.h"
#include "art/SkinTheme.h"

#include "gfx/BmpFile.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int Gap = 24;
constexpr int CaptionHeight = 28;

void Caption(QPainter& painter, QPoint at, const QString& text)
{
    painter.setFont(SkinTheme::Font(16, QFont::Bold));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawText(at + QPoint(0, 19), text);
}

void Checkerboard(QPainter& painter, const QRect& area, int cell)
{
    for (int y = area.top(); y <= area.bottom(); y += cell) {
        for (int x = area.left(); x <= area.right(); x += cell) {
            const bool dark = ((x - area.left()) / cell + (y - area.top()) / cell) % 2;
            painter.fillRect(QRect(x, y, cell, cell).intersected(area), dark ? QColor(200, 200, 200) : Qt::white);
        }
    }
}

} // namespace

ContactSheet::ContactSheet(QString dataDir) : dataDir_(std::move(dataDir)) {}

QImage ContactSheet::LoadBmp(const QString& fileName)
{
    const auto bitmap = gfx::ReadBmpFile((dataDir_ + "/" + fileName).toStdString());
    if (!bitmap) {
        missing_.append(fileName);
        return {};
    }
    return BitmapConversion::ToImage(*bitmap);
}

QImage ContactSheet::LoadCursor(const QString& name, QPoint* hotspot)
{
    QFile file(dataDir_ + "/" + name + ".cur");
    if (!file.open(QIODevice::ReadOnly)) {
        missing_.append(name + ".cur");
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (bytes.size() >= 14) {
        // The hotspot sits in the first entry where an icon keeps planes and bit count.
        const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
        *hotspot = QPoint(d[10] | d[11] << 8, d[12] | d[13] << 8);
    }
    QImage image = QImage::fromData(bytes, "CUR");
    if (image.isNull()) {
        missing_.append(name + ".cur");
    }
    return image;
}

void ContactSheet::PasteButtons(QImage& window, const std::vector<SkinButton>& buttons, const char* suffix)
{
    QPainter painter(&window);
    for (const SkinButton& button : buttons) {
        const QImage state = LoadBmp(QString::fromStdString(button.name) + suffix + ".bmp");
        if (!state.isNull()) {
            painter.drawImage(button.rect, state);
        }
    }
}

QImage ContactSheet::WindowStates(const QString& backgroundFile, const std::vector<SkinButton>& buttons)
{
    const QImage background = LoadBmp(backgroundFile);
    if (background.isNull()) {
        return {};
    }
    const struct {
        const char* suffix;
        QString title;
    } looks[] = {{nullptr, "normal"}, {"_1", "hover (_1)"}, {"_2", "pressed / selected (_2)"}, {"_3", "disabled (_3)"}};
    const int w = background.width();
    const int h = background.height();
    QImage sheet(4 * w + 5 * Gap, h + CaptionHeight + 2 * Gap, QImage::Format_ARGB32);
    sheet.fill(QColor(0xD0, 0xD0, 0xD0));
    for (int i = 0; i < 4; ++i) {
        QImage window = background.copy();
        if (looks[i].suffix) {
            PasteButtons(window, buttons, looks[i].suffix);
        }
        QPainter painter(&sheet);
        const QPoint at(Gap + i * (w + Gap), Gap);
        Caption(painter, at, looks[i].title);
        painter.drawImage(at + QPoint(0, CaptionHeight), window);
    }
    return sheet;
}

QImage ContactSheet::Extras()
{
    const std::vector<std::string> cursors = SkinLayout::CursorNames();
    QImage sheet(std::max(1100, 2 * Gap + int(cursors.size()) * 116), 640, QImage::Format_ARGB32);
    sheet.fill(QColor(0xD0, 0xD0, 0xD0));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing);

    Caption(painter, {Gap, 10}, "cursors x3 (red dot = hotspot), on light and dark");
    for (int i = 0; i < int(cursors.size()); ++i) {
        QPoint hotspot;
        const QImage cursor = LoadCursor(QString::fromStdString(cursors[i]), &hotspot);
        for (int row = 0; row < 2; ++row) {
            const QRect cell(Gap + i * 116, 44 + row * 110, 96, 96);
            if (row == 0) {
                Checkerboard(painter, cell, 8);
            } else {
                painter.fillRect(cell, QColor(0x3A, 0x30, 0x36));
            }
            painter.drawImage(cell, cursor);
            painter.fillRect(QRect(cell.left() + hotspot.x() * 3, cell.top() + hotspot.y() * 3, 3, 3), Qt::red);
        }
        painter.setFont(SkinTheme::Font(13));
        painter.setPen(Qt::black);
        painter.drawText(QPoint(Gap + i * 116, 272), QString("%1 (%2,%3)").arg(QString::fromStdString(cursors[i])).arg(hotspot.x()).arg(hotspot.y()));
    }

    Caption(painter, {Gap, 290}, "knobs x6 on a track, icon, texture as loaded (x2) and laid on skin");
    const QImage down = LoadBmp("arrow_down.bmp");
    const QImage up = LoadBmp("arrow_up.bmp");
    const QImage main = LoadBmp("main.bmp");
    if (!main.isNull()) {
        const QImage tracks = main.copy(QRect(462, 226, 126, 26));
        QImage withKnobs = tracks.copy();
        QPainter knobs(&withKnobs);
        knobs.drawImage(QPoint(8 + 40 - down.width() / 2, 4), down);
        knobs.drawImage(QPoint(8 + 95 - up.width() / 2, 15), up);
        knobs.end();
        painter.drawImage(QRect(Gap, 324, 126 * 3, 26 * 3), withKnobs);
    }
    painter.drawImage(QRect(Gap + 400, 320, 54, 42), down);
    painter.drawImage(QRect(Gap + 470, 320, 54, 42), up);
    QImage icon(dataDir_ + "/miravo.png");
    if (icon.isNull()) {
        missing_.append("miravo.png");
    } else {
        painter.drawImage(QRect(Gap + 560, 316, 96, 96), icon);
        painter.drawImage(QRect(Gap + 670, 316, 32, 32), icon);
    }

    const QImage stored = LoadBmp("x.bmp");
    if (!stored.isNull()) {
        QImage loaded = stored.copy();
        for (int y = 0; y < loaded.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(loaded.scanLine(y));
            for (int x = 0; x < loaded.width(); ++x) {
                row[x] = qRgba(EyelidTexture::LoadedByte(uint8_t(qRed(row[x]))),
                               EyelidTexture::LoadedByte(uint8_t(qGreen(row[x]))),
                               EyelidTexture::LoadedByte(uint8_t(qBlue(row[x]))), qAlpha(row[x]));
            }
        }
        painter.drawImage(QRect(Gap, 420, loaded.width() * 2, loaded.height() * 2), loaded);
        // The line blend at three heights and the default opacity, along a gentle arc.
        const QColor skin(0xE9, 0xC3, 0xAE);
        const int heights[] = {4, 8, 14};
        for (int k = 0; k < 3; ++k) {
            QImage strip(280, 40, QImage::Format_ARGB32);
            strip.fill(skin);
            const QImage scaled = loaded.scaled(loaded.width(), heights[k], Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            for (int x = 0; x < scaled.width(); ++x) {
                const int base = 26 - int(std::lround(12 * std::sin(std::numbers::pi * x / scaled.width())));
                for (int j = 0; j < scaled.height(); ++j) {
                    const int yy = base - heights[k] / 2 + j;
                    const QRgb t = scaled.pixel(x, j);
                    const QRgb o = strip.pixel(x + 12, yy);
                    auto blend = [](int ov, int tv) {
                        const int c = std::max(ov + tv - 255, 0);
                        return (c * 64 + ov * (255 - 64)) / 255;
                    };
                    strip.setPixel(x + 12, yy, qRgb(blend(qRed(o), qRed(t)), blend(qGreen(o), qGreen(t)),
                                                    blend(qBlue(o), qBlue(t))));
                }
            }
            painter.drawImage(QRect(Gap + 540 + 0 * k, 420 + k * 70, 560, 80).adjusted(0, 0, -20, -20), strip);
        }
    }
    return sheet;
}

QImage ContactSheet::MainInUse(const QImage& portrait)
{
    QImage window = LoadBmp("main.bmp");
    if (window.isNull()) {
        return {};
    }
    QPainter painter(&window);
    const QRect canvas = SkinLayout::Canvas();
    if (!portrait.isNull()) {
        painter.fillRect(canvas, Qt::black);
        const QSize fitted = portrait.size().scaled(canvas.size(), Qt::KeepAspectRatio);
        const QRect target(canvas.left() + (canvas.width() - fitted.width()) / 2,
                           canvas.top() + (canvas.height() - fitted.height()) / 2, fitted.width(), fitted.height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, portrait);
    }
    for (const char* name : {"undo"}) {
        painter.drawImage(QPoint(11, 676), LoadBmp(QString(name) + "_3.bmp"));
    }
    painter.drawImage(QPoint(465, 108), LoadBmp("line_2.bmp"));
    painter.drawImage(QPoint(532, 138), LoadBmp("copy_1.bmp"));
    const QImage down = LoadBmp("arrow_down.bmp");
    const QImage up = LoadBmp("arrow_up.bmp");
    painter.drawImage(QPoint(470 + 55 - down.width() / 2, 230), down);
    painter.drawImage(QPoint(470 + 86 - up.width() / 2, 241), up);
    const QRect help = SkinLayout::HelpPanel();
    painter.fillRect(help, Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(SkinTheme::Font(16));
    painter.setPen(QColor(0, 0, 128));
    painter.drawText(help, Qt::TextWordWrap,
                     QStringLiteral("鼠标左键: 增加一个点, 或选择一个已有点.\n\n拖动控制点: 改变眼皮弧度.\n\n鼠标右键: "
                                    "在操作左眼皮, 右眼皮或隐藏控制点之间切换.\n\n控制条: 上滑杆高度, 下滑杆透明度"));
    // The tool cursor over the picture, where the pointer would be.
    QPoint hotspot;
    const QImage cursor = LoadCursor("line", &hotspot);
    painter.drawImage(QPoint(240, 300) - hotspot, cursor);
    painter.end();
    return window;
}

QImage ContactSheet::MainAtStart()
{
    QImage window = LoadBmp("main.bmp");
    if (window.isNull()) {
        return {};
    }
    QPainter painter(&window);
    for (const SkinButton& button : SkinLayout::MainButtons()) {
        const bool alwaysEnabled = button.style == ButtonStyle::WindowControl || button.name == "open" ||
                                   button.name.rfind("link", 0) == 0;
        if (!alwaysEnabled) {
            painter.drawImage(button.rect.topLeft(), LoadBmp(QString::fromStdString(button.name) + "_3.bmp"));
        }
    }
    painter.drawImage(QPoint(465, 48), LoadBmp("open_1.bmp"));
    const QRect help = SkinLayout::HelpPanel();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(SkinTheme::Font(16));
    painter.setPen(QColor(0, 0, 128));
    painter.drawText(help, Qt::TextWordWrap, QStringLiteral("请选择操作"));
    painter.end();
    return window;
}
