#pragma once

#include "behaviors/SkinImage.h"

#include <string>
#include <vector>

// Records what a widget hands to its drawer and listeners, and its clicks, as short lines:
// "draw 2x2" (an image by its size), "draw background" (no image), "Down=1", "click".
struct WidgetRecorder {
    std::vector<std::string> events;

    static std::string Describe(const Qimro::Behaviors::SkinImage& image)
    {
        if (!image) {
            return "background";
        }
        return std::to_string(image->Width()) + "x" + std::to_string(image->Height());
    }

    template <class Widget>
    void Attach(Widget& widget)
    {
        widget.AddDrawer([this](const auto& image, const auto&) { events.push_back("draw " + Describe(image)); });
        widget.SetClickCallback([this] { events.push_back("click"); });
    }

    template <class Widget, class Tag>
    void Listen(Widget& widget, Tag tag, const std::string& name)
    {
        widget.AddListener(tag, [this, name](int value, const auto&) {
            events.push_back(name + "=" + std::to_string(value));
        });
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }
};
