// Draws the skin into the folder named on the command line.

#include "art/SkinTheme.h"
#include "art/SkinWriter.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: miravo_skingen <output folder>\n";
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(directory)) {
        std::cerr << "cannot create " << argv[1] << "\n";
        return 1;
    }
    const QString family = QFontInfo(SkinTheme::Font(12)).family();
    if (!family.contains("UMing", Qt::CaseInsensitive)) {
        std::cerr << "warning: the Song-style CJK font is not installed; labels use " << family.toStdString()
                  << " (install fonts-arphic-uming)\n";
    }
    return SkinWriter(directory).WriteAll() ? 0 : 1;
}
