#pragma once

#include "gfx/Geometry.h"

#include <span>
#include <string_view>

// Where everything of the two windows sits, in client pixels. The windows hit-test and
// draw their widgets at these rectangles, and the skin generator paints the buttons'
// state images to the same sizes. The tool buttons' places are rows of the tool table.
namespace layout {

enum class WidgetKind {
    Plain,   // always enabled
    Command, // disabled until a picture is open
};

struct WidgetPlace {
    std::string_view name; // also the stem of the widget's skin files
    gfx::Rect rect;
    WidgetKind kind;
};

// The main window's plain and command buttons in the order they are built.
inline constexpr WidgetPlace kMainWidgets[] = {
    {"open", {465, 48, 57, 20}, WidgetKind::Plain},
    {"close", {567, 9, 22, 19}, WidgetKind::Plain},
    {"min", {545, 9, 23, 19}, WidgetKind::Plain},
    {"link3", {460, 635, 128, 30}, WidgetKind::Plain},
    {"link2", {460, 680, 135, 21}, WidgetKind::Plain},
    {"link1", {465, 519, 124, 39}, WidgetKind::Plain},
    {"save", {532, 48, 57, 20}, WidgetKind::Command},
    {"comp", {465, 78, 124, 20}, WidgetKind::Command},
    {"undo", {11, 676, 56, 22}, WidgetKind::Command},
    {"reset", {77, 676, 56, 22}, WidgetKind::Command},
    {"zoomIn", {209, 676, 56, 22}, WidgetKind::Command},
    {"zoomOut", {275, 676, 56, 22}, WidgetKind::Command},
    {"rotate", {143, 676, 56, 22}, WidgetKind::Command},
    {"autoSmooth", {465, 256, 124, 22}, WidgetKind::Command}, // under the sliders: the upper one is its strength
};

inline constexpr gfx::Rect kMainWindow{0, 0, 600, 710};
inline constexpr gfx::Rect kDragBand{0, 0, 600, 35};
inline constexpr gfx::Rect kCanvas{11, 48, 443, 621};
inline constexpr gfx::Rect kSliders[] = {{470, 230, 110, 7}, {470, 241, 110, 7}};
inline constexpr gfx::Rect kHelpPanel{475, 295, 110, 200};

// The compare window.
inline constexpr WidgetPlace kCompareWidgets[] = {
    {"compclose", {566, 10, 22, 19}, WidgetKind::Plain},
    {"compsave", {456, 371, 129, 21}, WidgetKind::Plain},
};
inline constexpr gfx::Rect kCompareWindow{30, 30, 600, 400};
inline constexpr gfx::Rect kBeforeView{15, 55, 275, 275};
inline constexpr gfx::Rect kAfterView{310, 55, 275, 275};

// The place of a widget by name; a rectangle of zero size for a name not in the table.
constexpr gfx::Rect PlaceOf(std::span<const WidgetPlace> places, std::string_view name)
{
    for (const WidgetPlace& place : places) {
        if (place.name == name) {
            return place.rect;
        }
    }
    return {};
}

} // namespace layout
