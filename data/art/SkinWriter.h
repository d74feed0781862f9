#pragma once

#include "art/ButtonState.h"
#include "art/SkinLayout.h"

#include <QImage>
#include <QString>

#include <vector>

// Draws the whole skin and writes it into one folder: the two window backgrounds, three
// state images per button, the slider knobs, the eyelid texture, the cursors and the
// program icon. The backgrounds, button images and knobs are written twice: as they are
// and drawn at twice the size for high-density screens ("main@2x.bmp" beside "main.bmp").
class SkinWriter {
public:
    explicit SkinWriter(QString directory);

    // False when a file could not be written; the reason goes to the standard error.
    bool WriteAll();

    // The window with every button in its normal look except one, shown in the given look.
    static QImage ComposeWindow(const QImage& background, const std::vector<SkinButton>& buttons,
                                const SkinButton* shown, ButtonState state);

private:
    bool WriteWindow(const QString& fileName, const QImage& background, const std::vector<SkinButton>& buttons,
                     int scale);
    bool WriteKnobs(int scale);
    bool WriteTexture();
    bool WriteCursors();
    bool WriteIcons();
    bool WriteScalableIcon();
    bool WriteBmp(const QString& fileName, const QImage& image, int scale = 1);
    QString PathOf(const QString& fileName) const;

    QString directory_;
};
