#include "behaviors/GSimpleHolder.h"
#include "behaviors/HotRegion.h"
#include "behaviors/SkinImage.h"
#include "behaviors/StateHost.h"
#include "behaviors/StateTags.h"
#include "behaviors/TypeList.h"

#include "WidgetRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Qimro::Behaviors;

namespace {

using Holder = Qimro::GSimpleHolder<std::string, HotRegion<gfx::Rect>>;
using Host = StateHost<Qimro::TypeList<Over, Down>, Holder, SkinImage>;

struct RecordingHost {
    Host host;
    WidgetRecorder recorder;

    RecordingHost()
    {
        host.SetRegion({5, 6, 20, 10});
        host.SetPayload("open");
        host.EntryOf(Over{}).onImage = std::make_shared<gfx::Bitmap>(1, 1);
        host.EntryOf(Down{}).onImage = std::make_shared<gfx::Bitmap>(2, 2);
        host.AddDrawer([this](const SkinImage& image, const Holder& holder) {
            recorder.events.push_back("draw " + WidgetRecorder::Describe(image) + " " + holder.Payload());
        });
        recorder.Listen(host, Over{}, "Over");
        recorder.Listen(host, Down{}, "Down");
    }
};

} // namespace

TEST(StateHost, ChangesDrawTheNewStatesImageThenTellThatStatesListeners)
{
    RecordingHost r;
    EXPECT_EQ(r.host.Flag(Over{}), 0);
    EXPECT_EQ(r.host.Flag(Down{}), 0);

    r.host.SetState(Over{}, 1);
    r.host.SetState(Over{}, 1); // same value: nothing drawn, nobody told
    r.host.SetState(Down{}, 1);
    // Down turning off shows the background although Over is still on.
    r.host.SetState(Down{}, 0);
    r.host.SetState(Down{}, 0);
    EXPECT_EQ(r.recorder.Take(), (std::vector<std::string>{"draw 1x1 open", "Over=1", "draw 2x2 open", "Down=1",
                                                           "draw background open", "Down=0"}));
    EXPECT_EQ(r.host.Flag(Over{}), 1);
    EXPECT_EQ(r.host.Flag(Down{}), 0);
}

TEST(StateHost, AnyNonZeroValueTurnsAStateOn)
{
    RecordingHost r;
    r.host.SetState(Down{}, 7);
    r.host.SetState(Down{}, 1);
    EXPECT_EQ(r.host.Flag(Down{}), 1);
    EXPECT_EQ(r.recorder.Take(), (std::vector<std::string>{"draw 2x2 open", "Down=1"}));
}

TEST(StateHost, EveryCallbackAddedIsCalledOnceAndMayChangeStatesItself)
{
    RecordingHost r;
    int secondDrawer = 0;
    r.host.AddDrawer([&](const SkinImage&, const Holder&) { ++secondDrawer; });
    // A listener that reacts by changing another state and adding a listener while the
    // host is still calling its listeners.
    r.host.AddListener(Down{}, [&](int value, const Holder&) {
        r.host.SetState(Over{}, value);
        r.host.AddListener(Down{}, [](int, const Holder&) {});
    });
    r.host.SetState(Down{}, 1);
    EXPECT_EQ(secondDrawer, 2);
    EXPECT_EQ(r.host.Flag(Over{}), 1);
    EXPECT_EQ(r.recorder.Take(),
              (std::vector<std::string>{"draw 2x2 open", "Down=1", "draw 1x1 open", "Over=1"}));
}
