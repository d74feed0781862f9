// Draws the skin into the folder named on the command line.

#include "art/SkinWriter.h"

#include <QDir>
#include <QFontDatabase>
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
    const QStringList families = QFontDatabase::families();
    if (!families.contains("AR PL UMing CN") && !families.contains("AR PL UMing")) {
        std::cerr << "warning: the Song-style CJK font is not installed (fonts-arphic-uming); "
                     "Chinese labels fall back to another face\n";
    }
    return SkinWriter(directory).WriteAll() ? 0 : 1;
}
