#include "behaviors/CommandButton.h"
#include "behaviors/PlainButton.h"

#include "PointerScript.h"
#include "WidgetRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Qimro::Behaviors;

namespace {

// Region (100, 50, 40, 20): inside is 101..139 x 51..69.
template <class Button>
struct RecordedButton {
    Button button;
    WidgetRecorder recorder;

    RecordedButton()
    {
        button.SetRegion({100, 50, 40, 20});
        button.EntryOf(Over{}).onImage = std::make_shared<gfx::Bitmap>(1, 1);
        button.EntryOf(Down{}).onImage = std::make_shared<gfx::Bitmap>(2, 2);
        recorder.Attach(button);
        recorder.Listen(button, Over{}, "Over");
        recorder.Listen(button, Down{}, "Down");
    }
};

struct ScriptCase {
    const char* name;
    std::vector<PointerStep> steps;
    std::vector<std::string> expected;
};

const std::vector<ScriptCase>& ClickScripts()
{
    static const std::vector<ScriptCase> cases = {
        {"press and release inside click after the pressed look goes",
         {Press(110, 60), Release(120, 65)},
         {"draw 2x2", "Down=1", "took", "draw background", "Down=0", "click"}},
        {"press inside, move out, release outside: no click",
         {Move(110, 60), Press(110, 60), Move(200, 60), Release(200, 60)},
         {"draw 1x1", "Over=1", "draw 2x2", "Down=1", "took", "draw background", "Over=0", "draw background",
          "Down=0"}},
        {"press outside, move in, release inside: no press, no click",
         {Press(90, 60), Move(110, 60), Release(110, 60)},
         {"refused", "draw 1x1", "Over=1"}},
        {"a second press while pressed is refused and draws nothing",
         {Press(110, 60), Press(111, 61)},
         {"draw 2x2", "Down=1", "took", "refused"}},
        {"a release with no press does nothing", {Release(110, 60)}, {}},
        {"presses on the border rows and columns are outside",
         {Press(100, 60), Press(140, 60), Press(110, 50), Press(110, 70)},
         {"refused", "refused", "refused", "refused"}},
        // Over stays on through the release, so the hover look returns only after leaving
        // and entering again.
        {"hover, click, hover again",
         {Move(110, 60), Press(110, 60), Release(110, 60), Move(115, 60), Move(0, 0), Move(115, 60)},
         {"draw 1x1", "Over=1", "draw 2x2", "Down=1", "took", "draw background", "Down=0", "click",
          "draw background", "Over=0", "draw 1x1", "Over=1"}},
    };
    return cases;
}

template <class Button>
void RunClickScripts()
{
    for (const ScriptCase& c : ClickScripts()) {
        RecordedButton<Button> b;
        std::vector<std::string>& log = b.recorder.events;
        Play(b.button, c.steps, log);
        EXPECT_EQ(log, c.expected) << c.name;
    }
}

} // namespace

TEST(ButtonInput, PlainButtonScripts) { RunClickScripts<PlainButton>(); }

TEST(ButtonInput, EnabledCommandButtonBehavesLikeAPlainButton) { RunClickScripts<CommandButton>(); }

TEST(ButtonInput, DisabledCommandButtonRefusesPressesAndIgnoresHover)
{
    RecordedButton<CommandButton> b;
    b.button.SetState(Over{}, 1);
    b.button.SetState(Disabled{}, 1);
    b.recorder.Take();
    Play(b.button, {Move(0, 0), Press(110, 60), Release(110, 60), Move(110, 60)}, b.recorder.events);
    EXPECT_EQ(b.recorder.Take(), (std::vector<std::string>{"refused"}));
    // Over was left on by the disabling and only changes again once enabled.
    EXPECT_EQ(b.button.Flag(Over{}), 1);
    b.button.SetState(Disabled{}, 0);
    b.recorder.Take();
    b.button.Hover(0, 0);
    EXPECT_EQ(b.button.Flag(Over{}), 0);
}

TEST(ButtonInput, ButtonDisabledWhilePressedStillLetsGoAndClicks)
{
    RecordedButton<CommandButton> b;
    ASSERT_TRUE(b.button.MouseDown(110, 60));
    b.button.SetState(Disabled{}, 1);
    b.recorder.Take();
    b.button.MouseUp(110, 60);
    EXPECT_EQ(b.recorder.Take(), (std::vector<std::string>{"draw background", "Down=0", "click"}));
}

TEST(ButtonInput, ClickWithoutCallbackDoesNothing)
{
    PlainButton button;
    button.SetRegion({0, 0, 10, 10});
    ASSERT_TRUE(button.MouseDown(5, 5));
    button.MouseUp(5, 5);
    EXPECT_EQ(button.Flag(Down{}), 0);
}
