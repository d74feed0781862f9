#pragma once

#include <QImage>
#include <QPoint>

#include <string>
#include <vector>

// The mouse cursors: 32 x 32 pictures with the point that aims. The precise tools get a
// crosshair that aims with a badge of the tool beside it; the pan tool shows its arrows,
// the links a pointing hand and the help link an arrow with a question mark.
class CursorPainter {
public:
    static constexpr int Size = 32;

    struct Cursor {
        std::string name;
        QImage image;
        QPoint hotspot;
    };

    static std::vector<Cursor> All();

private:
    static Cursor ToolCursor(const std::string& name);
    static Cursor PanCursor();
    static Cursor HelpCursor();
    static Cursor HandCursor();
};
