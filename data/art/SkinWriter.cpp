#include "art/SkinWriter.h"

#include "art/BitmapConversion.h"
#include "art/ButtonPainter.h"
#include "art/CompareWindowPainter.h"
#include "art/CursorPainter.h"
#include "art/EyelidTexture.h"
#include "art/KnobPainter.h"
#include "art/LogoPainter.h"
#include "art/MainWindowPainter.h"
#include "art/WindowsIconFile.h"

#include "files/AppFiles.h"
#include "gfx/BmpFile.h"

#include <QDir>
#include <QPainter>
#include <QSvgGenerator>

#include <iostream>

namespace {

const char* SuffixOf(ButtonState state)
{
    switch (state) {
    case ButtonState::Hover:
        return "_1";
    case ButtonState::Pressed:
        return "_2";
    case ButtonState::Disabled:
        return "_3";
    case ButtonState::Normal:
        break;
    }
    return "";
}

QImage Logo(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    LogoPainter::Paint(painter, QRectF(0, 0, size, size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

SkinWriter::SkinWriter(QString directory) : directory_(std::move(directory)) {}

QString SkinWriter::PathOf(const QString& fileName) const { return directory_ + "/" + fileName; }

bool SkinWriter::WriteAll()
{
    for (const int scale : {1, 2}) {
        if (!WriteWindow("main.bmp", MainWindowPainter::Background(scale), SkinLayout::MainButtons(), scale) ||
            !WriteWindow("compare.bmp", CompareWindowPainter::Background(scale), SkinLayout::CompareButtons(),
                         scale) ||
            !WriteKnobs(scale)) {
            return false;
        }
    }
    return WriteTexture() && WriteCursors() && WriteIcons();
}

QImage SkinWriter::ComposeWindow(const QImage& background, const std::vector<SkinButton>& buttons,
                                 const SkinButton* shown, ButtonState state)
{
    QImage image = background;
    QPainter painter(&image);
    for (const SkinButton& button : buttons) {
        ButtonPainter::Paint(painter, button, &button == shown ? state : ButtonState::Normal);
    }
    painter.end();
    return image;
}

bool SkinWriter::WriteWindow(const QString& fileName, const QImage& background, const std::vector<SkinButton>& buttons,
                             int scale)
{
    if (!WriteBmp(fileName, ComposeWindow(background, buttons, nullptr, ButtonState::Normal), scale)) {
        return false;
    }
    // Each state image is cut from a window drawn with only that button changed, so its
    // rounded corners and anti-aliased edges blend into exactly the pixels around it.
    for (const SkinButton& button : buttons) {
        for (ButtonState state : {ButtonState::Hover, ButtonState::Pressed, ButtonState::Disabled}) {
            const QImage window = ComposeWindow(background, buttons, &button, state);
            const QString name = QString::fromStdString(button.name) + SuffixOf(state) + ".bmp";
            const QRect pixels(button.rect.topLeft() * scale, button.rect.size() * scale);
            if (!WriteBmp(name, window.copy(pixels), scale)) {
                return false;
            }
        }
    }
    return true;
}

bool SkinWriter::WriteKnobs(int scale)
{
    return WriteBmp("arrow_down.bmp", KnobPainter::Paint(KnobPainter::Pointing::Down, scale), scale) &&
           WriteBmp("arrow_up.bmp", KnobPainter::Paint(KnobPainter::Pointing::Up, scale), scale);
}

bool SkinWriter::WriteTexture() { return WriteBmp("x.bmp", EyelidTexture::Stored()); }

bool SkinWriter::WriteCursors()
{
    for (const CursorPainter::Cursor& cursor : CursorPainter::All()) {
        const QString name = QString::fromStdString(cursor.name) + ".cur";
        if (!WindowsIconFile::Write(PathOf(name), WindowsIconFile::Kind::Cursor, {{cursor.image, cursor.hotspot}})) {
            std::cerr << "cannot write " << PathOf(name).toStdString() << "\n";
            return false;
        }
    }
    return true;
}

bool SkinWriter::WriteIcons()
{
    const std::vector<WindowsIconFile::Entry> sizes = {{Logo(16), {}}, {Logo(32), {}}, {Logo(48), {}}};
    if (!WindowsIconFile::Write(PathOf("miravo.ico"), WindowsIconFile::Kind::Icon, sizes) ||
        !Logo(256).save(PathOf("miravo.png"), "PNG")) {
        std::cerr << "cannot write the program icon into " << directory_.toStdString() << "\n";
        return false;
    }
    // The icon theme's sizes, for the desktop's menus and file managers once installed.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QString("hicolor/%1x%1/apps").arg(size);
        if (!QDir(directory_).mkpath(folder) || !Logo(size).save(PathOf(folder + "/" + kDesktopId + ".png"), "PNG")) {
            std::cerr << "cannot write the " << size << " pixel theme icon into " << directory_.toStdString() << "\n";
            return false;
        }
    }
    return WriteScalableIcon();
}

// The same mark as drawing commands, for the theme's "scalable" size.
bool SkinWriter::WriteScalableIcon()
{
    const QString folder = "hicolor/scalable/apps";
    if (!QDir(directory_).mkpath(folder)) {
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(PathOf(folder + "/" + kDesktopId + ".svg"));
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRectF(0, 0, 256, 256));
    svg.setTitle("Miravo");
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::cerr << "cannot write the scalable theme icon into " << directory_.toStdString() << "\n";
        return false;
    }
    LogoPainter::Paint(painter, QRectF(0, 0, 256, 256));
    return painter.end();
}

bool SkinWriter::WriteBmp(const QString& fileName, const QImage& image, int scale)
{
    const QString path = PathOf(QString::fromStdString(ScaledImageName(fileName.toStdString(), scale)));
    if (!gfx::WriteBmpFile(path.toStdString(), BitmapConversion::ToBitmap(image))) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    return true;
}
