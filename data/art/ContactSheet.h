#pragma once

#include "art/SkinLayout.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

// Assembles the written skin files into review sheets: each window in every button look,
// the knobs, cursors, texture and icon, and the main window as it looks in use. It reads
// the files the way the program does, so a file that does not load shows up as missing.
class ContactSheet {
public:
    explicit ContactSheet(QString dataDir);

    QImage WindowStates(const QString& backgroundFile, const std::vector<SkinButton>& buttons);
    QImage Extras();
    QImage MainInUse(const QImage& portrait);
    // The main window as it first opens: commands and tools disabled, nothing chosen.
    QImage MainAtStart();

    // Files that could not be read while building the sheets.
    const QStringList& Missing() const { return missing_; }

private:
    QImage LoadBmp(const QString& fileName);
    QImage LoadCursor(const QString& name, QPoint* hotspot);
    void PasteButtons(QImage& window, const std::vector<SkinButton>& buttons, const char* suffix);

    QString dataDir_;
    QStringList missing_;
};
