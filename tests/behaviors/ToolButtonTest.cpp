#include "behaviors/ToolButton.h"

#include "PointerScript.h"
#include "WidgetRecorder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Qimro::Behaviors;

namespace {

// Three tool buttons in a row run as a radio group the way the owner window does it:
// a click unselects every button, then selects the clicked one, whose Selected listener
// then switches tools.
struct Palette {
    std::map<std::string, std::shared_ptr<ToolButton>> buttons;
    std::vector<std::string> log;
    std::string currentTool;

    Palette()
    {
        int x = 0;
        for (const char* name : {"blur", "copy", "zoom"}) {
            auto button = std::make_shared<ToolButton>();
            button->SetRegion({x, 0, 50, 20});
            x += 60;
            std::get<std::wstring>(button->Payload()) = L"help " + std::wstring(name, name + 4);
            button->EntryOf(Over{}).onImage = std::make_shared<gfx::Bitmap>(1, 1);
            button->EntryOf(Down{}).onImage = std::make_shared<gfx::Bitmap>(2, 2);
            button->EntryOf(Selected{}).onImage = button->EntryOf(Down{}).onImage;
            const std::string key = name;
            button->AddDrawer([this, key](const SkinImage& image, const auto&) {
                log.push_back(key + " draw " + WidgetRecorder::Describe(image));
            });
            ISelectable* selectable = button.get();
            button->SetClickCallback([this, selectable] { SelectTool(*selectable); });
            button->AddListener(Selected{}, [this, key](int flag, const auto& holder) {
                log.push_back(key + " Selected=" + std::to_string(flag));
                if (flag != 0) {
                    const std::wstring& help = std::get<std::wstring>(holder.Payload());
                    currentTool = std::string(help.begin(), help.end());
                }
            });
            buttons[key] = button;
        }
    }

    void SelectTool(ISelectable& clicked)
    {
        for (auto& [name, button] : buttons) {
            static_cast<ISelectable&>(*button).Unselect();
        }
        clicked.Select();
    }

    void ClickAt(int32_t x, int32_t y)
    {
        for (auto& [name, button] : buttons) {
            button->MouseDown(x, y);
        }
        for (auto& [name, button] : buttons) {
            button->MouseUp(x, y);
        }
    }
};

} // namespace

TEST(ToolButton, PaletteActsAsARadioGroup)
{
    Palette p;
    p.ClickAt(70, 10); // copy
    EXPECT_EQ(p.currentTool, "help copy");
    EXPECT_EQ(p.log, (std::vector<std::string>{"copy draw 2x2", "copy draw background", "copy draw 2x2",
                                               "copy Selected=1"}));
    p.log.clear();

    p.ClickAt(10, 10); // blur: copy's selection goes first
    EXPECT_EQ(p.currentTool, "help blur");
    EXPECT_EQ(p.log, (std::vector<std::string>{"blur draw 2x2", "blur draw background", "copy draw background",
                                               "copy Selected=0", "blur draw 2x2", "blur Selected=1"}));
    EXPECT_EQ(p.buttons["blur"]->Flag(Selected{}), 1);
    EXPECT_EQ(p.buttons["copy"]->Flag(Selected{}), 0);
    EXPECT_EQ(p.buttons["zoom"]->Flag(Selected{}), 0);
}

TEST(ToolButton, SelectedButtonRefusesPressesAndKeepsItsOverFlag)
{
    Palette p;
    ToolButton& blur = *p.buttons["blur"];
    blur.Hover(10, 10);
    p.ClickAt(10, 10);
    ASSERT_EQ(blur.Flag(Selected{}), 1);
    ASSERT_EQ(blur.Flag(Over{}), 1);
    p.log.clear();

    std::vector<std::string> presses;
    Play(blur, {Press(10, 10), Move(200, 100), Release(10, 10), Move(10, 10)}, presses);
    EXPECT_EQ(presses, (std::vector<std::string>{"refused"}));
    EXPECT_TRUE(p.log.empty());
    EXPECT_EQ(blur.Flag(Over{}), 1);
    EXPECT_EQ(blur.Flag(Down{}), 0);
}

TEST(ToolButton, SelectAndUnselectOnlyActOnAChange)
{
    Palette p;
    ToolButton& zoom = *p.buttons["zoom"];
    zoom.Unselect();
    EXPECT_TRUE(p.log.empty());
    zoom.Select();
    zoom.Select();
    EXPECT_EQ(p.log, (std::vector<std::string>{"zoom draw 2x2", "zoom Selected=1"}));
    p.log.clear();
    zoom.Unselect();
    zoom.Unselect();
    EXPECT_EQ(p.log, (std::vector<std::string>{"zoom draw background", "zoom Selected=0"}));
}

TEST(ToolButton, DisabledToolTakesNoPressAndNoHover)
{
    Palette p;
    ToolButton& copy = *p.buttons["copy"];
    copy.SetState(Disabled{}, 1);
    p.log.clear();
    copy.Hover(70, 10);
    EXPECT_FALSE(copy.MouseDown(70, 10));
    EXPECT_TRUE(p.log.empty());
    EXPECT_EQ(copy.Flag(Over{}), 0);
}
