#pragma once

#include <QColor>
#include <QFont>

// The colours and fonts every painter of the skin shares: a warm porcelain window,
// a deep plum title band and a rose accent for what is chosen or pressed.
class SkinTheme {
public:
    static QColor Window() { return QColor(0xF4, 0xF0, 0xEC); }
    static QColor WindowShade() { return QColor(0xEA, 0xE4, 0xDF); }
    static QColor Card() { return QColor(0xFF, 0xFF, 0xFF); }
    static QColor CardBorder() { return QColor(0xE3, 0xDA, 0xD5); }
    static QColor Hairline() { return QColor(0xEC, 0xE4, 0xE0); }

    static QColor TitleTop() { return QColor(0x3B, 0x2F, 0x3E); }
    static QColor TitleBottom() { return QColor(0x2A, 0x22, 0x2E); }
    static QColor TitleText() { return QColor(0xFB, 0xF4, 0xF2); }
    static QColor TitleSubtext() { return QColor(0xD9, 0xA7, 0xAC); }

    static QColor Accent() { return QColor(0xCF, 0x6F, 0x7A); }
    static QColor AccentLight() { return QColor(0xE2, 0x8C, 0x95); }
    static QColor AccentDark() { return QColor(0xB0, 0x55, 0x61); }
    static QColor AccentTint() { return QColor(0xFC, 0xEE, 0xEF); }
    static QColor AccentTintStrong() { return QColor(0xF6, 0xD9, 0xDC); }

    static QColor Text() { return QColor(0x3A, 0x31, 0x3C); }
    static QColor TextMuted() { return QColor(0x8F, 0x83, 0x86); }
    static QColor TextDisabled() { return QColor(0xBE, 0xB4, 0xB1); }
    static QColor DisabledFill() { return QColor(0xEF, 0xEB, 0xE8); }
    static QColor DisabledBorder() { return QColor(0xE2, 0xDB, 0xD7); }

    static QColor Canvas() { return QColor(0x2B, 0x27, 0x2E); }
    static QColor CanvasEdge() { return QColor(0x1C, 0x19, 0x1E); }
    static QColor CanvasHint() { return QColor(0x9A, 0x8E, 0x96); }

    static QColor CloseHover() { return QColor(0xE0, 0x4F, 0x5F); }
    static QColor ClosePressed() { return QColor(0xB8, 0x3A, 0x4A); }

    // The Song-style CJK face installed with the build's dependencies, at a pixel size.
    static QFont Font(int pixelSize, QFont::Weight weight = QFont::Normal);
};
