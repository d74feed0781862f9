#include "GuiApplication.h"

#include "art/SkinLayout.h"
#include "art/SkinTheme.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

bool HasChinese(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) {
            return true;
        }
    }
    return false;
}

std::vector<SkinButton> AllButtons()
{
    std::vector<SkinButton> all = SkinLayout::MainButtons();
    const auto& compare = SkinLayout::CompareButtons();
    all.insert(all.end(), compare.begin(), compare.end());
    return all;
}

} // namespace

// The buttons of the first release keep their places; buttons added beside them (new
// tools) may be anywhere the next test allows.
TEST(SkinLayout, ButtonsSitWhereTheWindowsHitTestThem)
{
    const std::map<std::string, QRect> expected = {
        {"open", {465, 48, 57, 20}},    {"close", {567, 9, 22, 19}},     {"min", {545, 9, 23, 19}},
        {"link3", {460, 635, 128, 30}}, {"link2", {460, 680, 135, 21}},  {"link1", {465, 519, 124, 39}},
        {"save", {532, 48, 57, 20}},    {"comp", {465, 78, 124, 20}},    {"undo", {11, 676, 56, 22}},
        {"reset", {77, 676, 56, 22}},   {"rotate", {143, 676, 56, 22}},  {"zoomIn", {209, 676, 56, 22}},
        {"zoomOut", {275, 676, 56, 22}}, {"line", {465, 108, 57, 20}},   {"stretch", {465, 138, 57, 20}},
        {"bc", {465, 168, 57, 20}},     {"blur", {532, 108, 57, 20}},    {"copy", {532, 138, 57, 20}},
        {"zoom", {532, 168, 57, 20}},   {"move", {341, 676, 56, 22}},    {"compclose", {566, 10, 22, 19}},
        {"compsave", {456, 371, 129, 21}},
    };
    std::map<std::string, QRect> actual;
    for (const SkinButton& button : AllButtons()) {
        EXPECT_TRUE(actual.emplace(button.name, button.rect).second) << button.name << " listed twice";
    }
    for (const auto& [name, rect] : expected) {
        EXPECT_EQ(actual[name], rect) << name;
    }
}

TEST(SkinLayout, ButtonsStayInsideTheirWindowAndClearOfCanvasHelpPanelAndEachOther)
{
    const struct {
        const std::vector<SkinButton>& buttons;
        QRect window;
        std::vector<QRect> keepClear;
    } windows[] = {
        {SkinLayout::MainButtons(),
         SkinLayout::MainWindow(),
         {SkinLayout::Canvas(), SkinLayout::HelpPanel(), SkinLayout::UpperSlider(), SkinLayout::LowerSlider()}},
        {SkinLayout::CompareButtons(), SkinLayout::CompareWindow(), {SkinLayout::BeforeFrame(), SkinLayout::AfterFrame()}},
    };
    for (const auto& w : windows) {
        for (const SkinButton& a : w.buttons) {
            SCOPED_TRACE(a.name);
            EXPECT_TRUE(w.window.contains(a.rect));
            for (const QRect& area : w.keepClear) {
                EXPECT_FALSE(a.rect.intersects(area));
            }
            for (const SkinButton& b : w.buttons) {
                if (&a == &b) {
                    continue;
                }
                // Minimise and close share one column; both keep it plain title band.
                const QRect shared = a.rect.intersected(b.rect);
                EXPECT_TRUE(shared.isEmpty() || shared.width() == 1) << "overlaps " << b.name;
            }
        }
    }
}

TEST(SkinLayout, EveryLabelIsChineseAndFitsItsButton)
{
    EnsureGuiApplication();
    const QFontMetrics metrics(SkinTheme::Font(12));
    for (const SkinButton& button : AllButtons()) {
        SCOPED_TRACE(button.name);
        if (button.style == ButtonStyle::WindowControl) {
            EXPECT_TRUE(button.label.isEmpty());
            EXPECT_NE(button.glyph, Glyph::None);
            continue;
        }
        EXPECT_TRUE(HasChinese(button.label)) << button.label.toStdString();
        if (button.style == ButtonStyle::Tool) {
            EXPECT_NE(button.glyph, Glyph::None); // also the badge of its cursor
        }
        // Glyph, gap and text with a little room on both sides.
        const int needed = metrics.horizontalAdvance(button.label) + (button.glyph == Glyph::None ? 0 : 17) + 6;
        EXPECT_LE(needed, button.rect.width()) << button.label.toStdString();
    }
}
