#include "app/MainWidgets.h"

#include "files/AppFiles.h"

#include <algorithm>
#include <utility>

using namespace Qimro::Behaviors;

namespace {

template <class Button>
std::shared_ptr<Button> MakeButton(std::string_view name, const gfx::Rect& place, const MainWidgets::Drawer& drawer,
                                   int scale)
{
    auto button = std::make_shared<Button>();
    button->Setup(
        place, [drawer](const SkinImage& image, const auto& holder) { drawer(image, holder.Region()); },
        std::string(name), scale);
    return button;
}

constexpr const char* kKnobFiles[] = {"arrow_down.bmp", "arrow_up.bmp"};

} // namespace

MainWidgets::MainWidgets(Drawer drawer, int scale) : drawer_(std::move(drawer)), scale_(scale)
{
    for (const layout::WidgetPlace& place : layout::kMainWidgets) {
        const std::string name(place.name);
        switch (place.kind) {
        case layout::WidgetKind::Plain: plain[name] = MakeButton<PlainButton>(name, place.rect, drawer_, scale_); break;
        case layout::WidgetKind::Command:
            command[name] = MakeButton<CommandButton>(name, place.rect, drawer_, scale_);
            break;
        }
    }
    for (const ToolRow& row : ToolTable::Rows()) {
        tool[std::string(row.name)] = MakeButton<ToolButton>(row.name, row.button, drawer_, scale_);
    }
}

gfx::Rect MainWidgets::PlaceOf(std::string_view name)
{
    if (const ToolRow* row = ToolTable::Find(name)) {
        return row->button;
    }
    return layout::PlaceOf(layout::kMainWidgets, name);
}

void MainWidgets::BuildSliders(const std::function<void(size_t, int)>& onPosition,
                               const std::function<void(int, const gfx::Rect&)>& onDisabled)
{
    for (size_t i = 0; i < std::size(layout::kSliders); ++i) {
        sliders.push_back(std::make_shared<Slider>());
    }
    for (size_t i = 0; i < sliders.size(); ++i) {
        Slider& slider = *sliders[i];
        slider.SetPositionCallback([onPosition, i](int x) { onPosition(i, x); });
        // Disabled before the listener is added, so nothing is drawn or saved at start.
        slider.SetState(Disabled{}, 1);
        slider.AddListener(Disabled{}, [onDisabled](int hidden, const auto& holder) { onDisabled(hidden, holder.Region()); });
    }
    for (size_t i = 0; i < sliders.size(); ++i) {
        sliders[i]->SetRegion(layout::kSliders[i]);
        sliders[i]->SetPayload(LoadAppImage(kKnobFiles[i], scale_));
    }
}

bool MainWidgets::LeftDown(gfx::Point p)
{
    bool plainTook = false;
    for (auto& [name, button] : plain) {
        if (button->MouseDown(p.x, p.y)) {
            plainTook = true;
            break;
        }
    }
    for (auto& [name, button] : tool) {
        button->MouseDown(p.x, p.y);
    }
    for (const auto& slider : sliders) {
        slider->MouseDown(p.x, p.y);
        slider->Grab(p.x, p.y);
    }
    for (auto& [name, button] : command) {
        button->MouseDown(p.x, p.y);
    }
    return plainTook;
}

void MainWidgets::LeftUp(gfx::Point p)
{
    // Copies: a click may run a command that changes the widgets' states.
    for (const auto& [name, button] : std::map(plain)) {
        button->MouseUp(p.x, p.y);
    }
    for (const auto& [name, button] : std::map(tool)) {
        button->MouseUp(p.x, p.y);
    }
    for (const auto& [name, button] : std::map(command)) {
        button->MouseUp(p.x, p.y);
    }
    for (const auto& slider : sliders) {
        slider->Release(p.x, p.y);
    }
}

void MainWidgets::MouseMove(gfx::Point p)
{
    for (auto& [name, button] : plain) {
        button->Hover(p.x, p.y);
    }
    for (auto& [name, button] : tool) {
        button->Hover(p.x, p.y);
    }
    for (auto& [name, button] : command) {
        if (button->Flag(Disabled{}) == 0) {
            button->Hover(p.x, p.y);
        }
    }
    for (const auto& slider : sliders) {
        slider->Drag(p.x);
    }
}

void MainWidgets::SetCommandsAndToolsDisabled(bool disabled)
{
    for (auto& [name, button] : tool) {
        button->SetState(Disabled{}, disabled ? 1 : 0);
    }
    for (auto& [name, button] : command) {
        button->SetState(Disabled{}, disabled ? 1 : 0);
    }
}

std::optional<size_t> MainWidgets::EnabledSliderAt(gfx::Point p) const
{
    for (size_t i = 0; i < sliders.size(); ++i) {
        if (sliders[i]->Flag(Disabled{}) == 0 && sliders[i]->Contains(p.x, p.y)) {
            return i;
        }
    }
    return std::nullopt;
}
