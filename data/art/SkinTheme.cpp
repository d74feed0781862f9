#include "art/SkinTheme.h"

#include <QStringList>

QFont SkinTheme::Font(int pixelSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies(QStringList{"AR PL UMing CN", "AR PL UMing", "AR PL UMing TW"});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
