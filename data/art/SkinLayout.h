#pragma once

#include "art/Glyph.h"

#include <QRect>
#include <QString>

#include <string>
#include <vector>

// How a button looks; the painters give each style its own normal, hover, pressed and
// disabled drawing.
enum class ButtonStyle {
    Primary,       // the filled rose buttons: open, save
    Secondary,     // white buttons with a glyph and a label
    Tool,          // tool palette entries: the pressed look doubles as "selected"
    WindowControl, // minimise and close in the title band
    Banner,        // the help page card
    TextLink,      // small links at the foot of the side panel
};

struct SkinButton {
    std::string name; // also the stem of its state image files
    QRect rect;       // client rectangle in the window
    QString label;
    ButtonStyle style;
    Glyph glyph;
};

// Every button of the main window and of the compare window, with the rectangles the
// windows hit-test and draw them at.
class SkinLayout {
public:
    static const std::vector<SkinButton>& MainButtons();
    static const std::vector<SkinButton>& CompareButtons();

    static QRect MainWindow() { return {0, 0, 600, 710}; }
    static QRect CompareWindow() { return {0, 0, 600, 400}; }
    static QRect TitleBand() { return {0, 0, 600, 35}; }
    static QRect Canvas() { return {11, 48, 443, 621}; }
    static QRect UpperSlider() { return {470, 230, 110, 7}; }
    static QRect LowerSlider() { return {470, 241, 110, 7}; }
    static QRect HelpPanel() { return {475, 295, 110, 200}; }
    static QRect BeforeFrame() { return {15, 55, 275, 275}; }
    static QRect AfterFrame() { return {310, 55, 275, 275}; }
};
