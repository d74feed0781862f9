#include "behaviors/SlideScale.h"
#include "behaviors/Slider.h"

#include "engine/OperationScope.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <string>
#include <vector>

using namespace Qimro::Behaviors;

namespace {

constexpr int32_t X = 470;
constexpr int32_t Y = 230;
constexpr int32_t Width = 110;
constexpr int32_t Height = 7;
constexpr int32_t MidY = Y + 3;

// A slider on the upper track with a recording position callback and listeners; its model
// starts as a 10..40 scope, whose value is 25.
struct RecordedSlider {
    Slider slider;
    std::shared_ptr<OperationScope> scope = std::make_shared<OperationScope>(10, 40);
    std::vector<std::string> log;

    explicit RecordedSlider(bool withModel = true)
    {
        slider.SetRegion({X, Y, Width, Height});
        slider.SetPositionCallback([this](int x) { log.push_back("knob X+" + std::to_string(x - X)); });
        for (const char* name : {"Disabled", "Down", "HorizonalSlide"}) {
            Listen(name);
        }
        slider.SetClickCallback([this] { log.push_back("click"); });
        if (withModel) {
            slider.SetModel(scope);
            log.clear();
        }
    }

    void Listen(const std::string& name)
    {
        auto record = [this, name](int value, const auto&) { log.push_back(name + "=" + std::to_string(value)); };
        if (name == "Disabled") {
            slider.AddListener(Disabled{}, record);
        } else if (name == "Down") {
            slider.AddListener(Down{}, record);
        } else {
            slider.AddListener(HorizonalSlide{}, record);
        }
    }

    // A left press as the owner routes it to a slider.
    void Press(int32_t x, int32_t y)
    {
        slider.MouseDown(x, y);
        slider.Grab(x, y);
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
};

using Log = std::vector<std::string>;

} // namespace

TEST(Slider, KnobSitsAtTheValuesPlaceOnTheTrack)
{
    RecordedSlider s;
    EXPECT_EQ(s.slider.KnobX(), X + 55); // 15 * 110 / 30
    s.scope->SetValue(10);
    EXPECT_EQ(s.slider.KnobX(), X);
    s.scope->SetValue(40);
    EXPECT_EQ(s.slider.KnobX(), X + Width);
    s.scope->SetValue(29);
    EXPECT_EQ(s.slider.KnobX(), X + 70); // 69.67 rounds up
    s.scope->SetValue(11);
    EXPECT_EQ(s.slider.KnobX(), X + 4); // 3.67 rounds up
    EXPECT_EQ(s.Take(), (Log{"knob X+0", "knob X+110", "knob X+70", "knob X+4"}));

    Slider bare;
    bare.SetRegion({X, Y, Width, Height});
    EXPECT_EQ(bare.KnobX(), X);
    bare.SetValueFromX(X + 50); // no model: nothing to set, no crash
}

TEST(Slider, PressOnTheKnobStartsADragThatFollowsTheClampedPointer)
{
    RecordedSlider s;
    s.Press(X + 56, MidY);
    EXPECT_EQ(s.Take(), (Log{"Down=1", "HorizonalSlide=1"}));
    EXPECT_EQ(s.scope->Value(), 25u);

    s.slider.Drag(X + 58); // 58 / 3.67 = 15.8 rounds to 16: value 26, knob at 58.67
    s.slider.Drag(X + 59); // 16.09: still 26, nothing reported
    s.slider.Drag(X + 1000);
    s.slider.Drag(X - 1000);
    EXPECT_EQ(s.Take(), (Log{"knob X+59", "knob X+110", "knob X+0"}));
    EXPECT_EQ(s.scope->Value(), 10u);

    s.slider.Release(X + 300, MidY); // outside: the drag ends, no click
    EXPECT_EQ(s.Take(), (Log{"HorizonalSlide=0", "Down=0"}));
    s.slider.Drag(X + 55); // no drag any more
    EXPECT_EQ(s.scope->Value(), 10u);
}

TEST(Slider, PressOnTheTrackAwayFromTheKnobJumpsWithoutDragging)
{
    RecordedSlider s;
    s.Press(X + 70, MidY);
    EXPECT_EQ(s.scope->Value(), 29u); // 70 / (110 / 30) = 19.09
    EXPECT_EQ(s.Take(), (Log{"Down=1", "knob X+70"}));
    s.slider.Release(X + 70, MidY);
    EXPECT_EQ(s.Take(), (Log{"Down=0", "click"}));
}

TEST(Slider, PressesThatNeitherGrabNorJump)
{
    struct Case {
        const char* name;
        uint32_t value;
        int32_t x;
        int32_t y;
        Log expected;
        uint32_t valueAfter;
        bool releaseClicks;
    };
    const Case cases[] = {
        {"exactly at X + Width away from the knob: no press, no jump", 25, X + Width, MidY, {}, 25, false},
        {"knob zone just above the band", 25, X + 56, Y, {}, 25, false},
        {"knob zone just below the band", 25, X + 56, Y + Height, {}, 25, false},
        {"edge of the knob zone is outside it: a jump", 25, X + 60, MidY, {"Down=1", "knob X+59"}, 26, true},
        {"at the maximum the knob zone reaches past the track: a grab without a press", 40, X + Width + 2,
         MidY, {"HorizonalSlide=1"}, 40, false},
        {"at the minimum the zone reaches left of the track", 10, X - 4, MidY, {"HorizonalSlide=1"}, 10, false},
    };
    for (const Case& c : cases) {
        RecordedSlider s;
        s.scope->SetValue(c.value);
        s.Take();
        s.Press(c.x, c.y);
        EXPECT_EQ(s.Take(), c.expected) << c.name;
        EXPECT_EQ(s.scope->Value(), c.valueAfter) << c.name;
        s.slider.Release(c.x, c.y);
        const Log released = s.Take();
        EXPECT_EQ(!released.empty() && released.back() == "click", c.releaseClicks) << c.name;
        EXPECT_EQ(s.slider.Flag(Down{}), 0) << c.name;
        EXPECT_EQ(s.slider.Flag(HorizonalSlide{}), 0) << c.name;
    }
}

TEST(Slider, PressElsewhereEndsALeftoverDrag)
{
    RecordedSlider s;
    s.slider.SetState(HorizonalSlide{}, 1);
    s.Take();
    s.Press(X + 20, Y - 10);
    EXPECT_EQ(s.Take(), (Log{"HorizonalSlide=0"}));
}

TEST(Slider, DisabledSliderTakesNoPressAndNoGrab)
{
    RecordedSlider s;
    s.slider.SetState(Disabled{}, 1);
    EXPECT_EQ(s.Take(), (Log{"Disabled=1"}));
    s.Press(X + 56, MidY);
    s.Press(X + 70, MidY);
    EXPECT_TRUE(s.Take().empty());
    EXPECT_EQ(s.scope->Value(), 25u);
}

TEST(Slider, SetModelReportsTheKnobOnlyWhenTheShownValueChanges)
{
    RecordedSlider s(false);
    s.slider.SetModel(s.scope); // a first model is always reported
    EXPECT_EQ(s.Take(), (Log{"knob X+55"}));

    // 30..80 starts at 55; move it to 25 so that both scopes hold the same value.
    auto other = std::make_shared<OperationScope>(30, 80);
    other->SetValue(25); // clamped to 30
    s.scope->SetValue(30);
    s.Take();
    s.slider.SetModel(other);
    EXPECT_TRUE(s.Take().empty()); // same value, other range: the knob stays put

    auto third = std::make_shared<OperationScope>(2, 14);
    s.slider.SetModel(third);
    EXPECT_EQ(s.Take(), (Log{"knob X+55"})); // value 8: 6 * 110 / 12

    // Only the model shown drives the knob.
    s.scope->SetValue(35);
    other->SetValue(70);
    EXPECT_TRUE(s.Take().empty());
    third->SetValue(14);
    EXPECT_EQ(s.Take(), (Log{"knob X+110"}));

    s.slider.SetModel(nullptr);
    third->SetValue(2);
    EXPECT_TRUE(s.Take().empty());
    s.slider.SetModel(third);
    EXPECT_EQ(s.Take(), (Log{"knob X+0"})); // no model before: always reported
}

TEST(Slider, ADestroyedSliderNoLongerListensToItsModel)
{
    auto scope = std::make_shared<OperationScope>(10, 40);
    int reports = 0;
    {
        Slider slider;
        slider.SetRegion({X, Y, Width, Height});
        slider.SetModel(scope);
        slider.SetPositionCallback([&](int) { ++reports; });
        scope->SetValue(30);
        EXPECT_EQ(reports, 1);
    }
    scope->SetValue(35);
    EXPECT_EQ(reports, 1);
}

TEST(Slider, ValueAndKnobPlaceRoundTripOnTracksOfAPixelOrMorePerUnit)
{
    const gfx::Rect track{X, Y, Width, Height};
    const std::pair<int, int> ranges[] = {{10, 40}, {30, 80}, {2, 14}, {0, 110}};
    for (auto [low, high] : ranges) {
        OperationScope scope(static_cast<uint8_t>(low), static_cast<uint8_t>(high));
        for (uint32_t value = scope.Min(); value <= scope.Max(); ++value) {
            scope.SetValue(value);
            EXPECT_EQ(ValueAtX(track, scope, KnobCentreX(track, &scope)), value) << low << ".." << high;
        }
    }
}

// Halves that only land on one side of .5 at the precision the slider uses: the knob
// scale in double, the pointer scale and quotient in single precision.
TEST(Slider, KnobUsesDoubleAndPointerUsesSinglePrecision)
{
    const gfx::Rect track{X, Y, Width, Height};
    struct Case {
        uint8_t max;
        int32_t dx;
        uint32_t value;
    };
    // 33 / float(110 / 25) is exactly 7.5 in float but 7.4999... in double.
    for (const Case& c : {Case{25, 33, 8}, Case{99, 15, 13}, Case{105, 11, 10}, Case{101, 55, 51}}) {
        const OperationScope scope(0, c.max);
        EXPECT_EQ(ValueAtX(track, scope, X + c.dx), c.value) << "0.." << int(c.max) << " at X+" << c.dx;
    }

    struct KnobCase {
        uint8_t max;
        uint32_t value;
        int32_t dx;
    };
    // 13 * 110 / 52 is 27.5 in double but just under in float.
    for (const KnobCase& c : {KnobCase{52, 13, 28}, KnobCase{132, 3, 3}, KnobCase{140, 7, 6}}) {
        OperationScope scope(0, c.max);
        scope.SetValue(c.value);
        EXPECT_EQ(KnobCentreX(track, &scope), X + c.dx) << "0.." << int(c.max) << " value " << c.value;
    }
}

TEST(Slider, PointsFarOutsideTheTrackAskForTheNearestEnd)
{
    const gfx::Rect track{X, Y, Width, Height};
    OperationScope scope(2, 14);
    // Left of the track the offset is negative; min + offset must not wrap round to a huge
    // request, which the scope would clamp to its maximum.
    EXPECT_EQ(ValueAtX(track, scope, X - 1000), 0u);
    EXPECT_EQ(ValueAtX(track, scope, X - 10), 1u); // -10 / 9.17 = -1.09 truncates to -1

    RecordedSlider s;
    s.slider.SetValueFromX(X - 1000);
    EXPECT_EQ(s.scope->Value(), 10u);
    s.slider.SetValueFromX(X + 100000);
    EXPECT_EQ(s.scope->Value(), 40u);

    // A track with no width or a scope with no span gives no usable scale: the minimum.
    OperationScope flat(20, 20);
    EXPECT_EQ(KnobCentreX(track, &flat), X);
    EXPECT_EQ(ValueAtX(track, flat, X + 30), 20u);
    EXPECT_EQ(ValueAtX({X, Y, 0, Height}, scope, X + 30), 2u);
}
