#pragma once

#include "layout/WindowLayout.h"
#include "art/Glyph.h"

#include <QRect>
#include <QString>

#include <string>
#include <string_view>
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

// Every button of the main window and of the compare window as the skin draws it: at
// the rectangle of the windows' layout, with its label, style and glyph.
class SkinLayout {
public:
    // The plain and command buttons, then one per row of the tool table.
    static const std::vector<SkinButton>& MainButtons();
    static const std::vector<SkinButton>& CompareButtons();

    static QRect MainWindow() { return ToQRect(layout::kMainWindow); }
    static QRect CompareWindow() { return {0, 0, layout::kCompareWindow.width, layout::kCompareWindow.height}; }
    static QRect TitleBand() { return ToQRect(layout::kDragBand); }
    static QRect Canvas() { return ToQRect(layout::kCanvas); }
    static QRect UpperSlider() { return ToQRect(layout::kSliders[0]); }
    static QRect LowerSlider() { return ToQRect(layout::kSliders[1]); }
    static QRect HelpPanel() { return ToQRect(layout::kHelpPanel); }
    static QRect BeforeFrame() { return ToQRect(layout::kBeforeView); }
    static QRect AfterFrame() { return ToQRect(layout::kAfterView); }

    static QRect ToQRect(const gfx::Rect& r);
    // The glyph on a tool's button and its cursor's badge; Glyph::None for a name that is no tool.
    static Glyph ToolGlyph(std::string_view tool);
    // The stems of the cursor files: every tool's, then the links' two.
    static std::vector<std::string> CursorNames();
};
