#include "art/SkinTheme.h"

#include <QStringList>

QFont SkinTheme::Font(int pixelSize, QFont::Weight weight)
{
    QFont font;
    // Latin letters and digits come from DejaVu Sans, which reads better at small sizes
    // than the Song face's own; every Chinese character falls through to the Song face.
    font.setFamilies(QStringList{"DejaVu Sans", "AR PL UMing CN", "AR PL UMing", "AR PL UMing TW"});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
