// Writes review sheets of a generated skin: skin_contact_sheet <data folder> <output folder> [portrait]

#include "art/ContactSheet.h"

#include <QDir>
#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::cerr << "usage: skin_contact_sheet <data folder> <output folder> [portrait picture]\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    ContactSheet sheet(QString::fromLocal8Bit(argv[1]));
    const QImage portrait = argc > 3 ? QImage(QString::fromLocal8Bit(argv[3])) : QImage();
    const bool written = sheet.WindowStates("main.bmp", SkinLayout::MainButtons()).save(out + "/main-states.png") &&
                         sheet.WindowStates("compare.bmp", SkinLayout::CompareButtons()).save(out + "/compare-states.png") &&
                         sheet.Extras().save(out + "/extras.png") && sheet.MainInUse(portrait).save(out + "/main-in-use.png") &&
                         sheet.MainAtStart().save(out + "/main-at-start.png");
    for (const QString& name : sheet.Missing()) {
        std::cerr << "missing or unreadable: " << name.toStdString() << "\n";
    }
    if (!written) {
        std::cerr << "cannot write the sheets into " << argv[2] << "\n";
    }
    return written && sheet.Missing().isEmpty() ? 0 : 1;
}
