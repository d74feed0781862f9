#pragma once

#include "layout/WindowLayout.h"
#include "behaviors/CommandButton.h"
#include "behaviors/PlainButton.h"
#include "behaviors/SkinImage.h"
#include "behaviors/Slider.h"
#include "behaviors/ToolButton.h"
#include "gfx/Geometry.h"
#include "tools/ToolTable.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The main window's widgets: the plain, command and tool buttons by name, the two
// sliders, and the widget side of the mouse routing (what the canvas does not take).
// The widgets draw through the drawer the window gives; they never paint themselves.
class MainWidgets {
public:
    using PlainButton = Qimro::Behaviors::PlainButton;
    using CommandButton = Qimro::Behaviors::CommandButton;
    using ToolButton = Qimro::Behaviors::ToolButton;
    using Slider = Qimro::Behaviors::Slider;
    using Drawer = std::function<void(const Qimro::Behaviors::SkinImage& image, const gfx::Rect& region)>;

    // Builds every button of the layout and of the tool table in their order, with its
    // skin drawn for `scale` device pixels per window pixel; draws nothing.
    explicit MainWidgets(Drawer drawer, int scale = 1);

    // The place of any button of the main window; a rectangle of zero size for a name
    // that is no button.
    static gfx::Rect PlaceOf(std::string_view name);

    // The two sliders, disabled, their tracks and knob images set; drawn by the owner
    // through the callbacks, which are in place before the first change.
    void BuildSliders(const std::function<void(size_t index, int knobCentreX)>& onPosition,
                      const std::function<void(int hidden, const gfx::Rect& track)>& onDisabled);

    PlainButton& Plain(const std::string& name) { return *plain.at(name); }
    CommandButton& Command(const std::string& name) { return *command.at(name); }
    ToolButton& Tool(const std::string& name) { return *tool.at(name); }

    // A left press outside the canvas, offered to plain buttons (the first that takes
    // it ends that round), tool buttons, sliders and command buttons. True when a plain
    // button took it.
    bool LeftDown(gfx::Point p);
    // A left release outside the canvas: a button that took the press clicks now.
    void LeftUp(gfx::Point p);
    // A move outside the canvas: hover looks, and a knob being dragged follows.
    void MouseMove(gfx::Point p);

    // Disabled on or off for every command and tool button.
    void SetCommandsAndToolsDisabled(bool disabled);
    // The index of the enabled slider whose track holds the point strictly inside.
    std::optional<size_t> EnabledSliderAt(gfx::Point p) const;

    std::map<std::string, std::shared_ptr<PlainButton>> plain;
    std::map<std::string, std::shared_ptr<CommandButton>> command;
    std::map<std::string, std::shared_ptr<ToolButton>> tool;
    std::vector<std::shared_ptr<Slider>> sliders;

private:
    Drawer drawer_;
    int scale_;
};
