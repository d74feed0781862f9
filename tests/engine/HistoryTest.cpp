#include "engine/History.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(History, UndoRunsTheNewestStepThenDropsIt)
{
    History history;
    std::vector<int> ran;
    EXPECT_FALSE(history.Undo());
    history.Push([&] { ran.push_back(1); });
    history.Push([&] { ran.push_back(2); });
    EXPECT_TRUE(history.Undo());
    EXPECT_TRUE(history.Undo());
    EXPECT_TRUE(history.IsEmpty());
    EXPECT_EQ(ran, (std::vector<int>{2, 1}));
}

// Each step records its way back while it runs; a step that records none comes back as it was.
TEST(History, StepsRecordTheirWayBackAndANewStepEndsWhatCouldBeRedone)
{
    History history;
    std::vector<std::string> ran;
    std::function<void()> toggle; // a step that flips a state and records the flip back
    toggle = [&] {
        ran.push_back("toggle");
        history.Push(toggle);
    };
    history.Push(toggle);
    history.Push([&] { ran.push_back("no way back"); });
    EXPECT_FALSE(history.Redo());

    EXPECT_TRUE(history.Undo());
    EXPECT_TRUE(history.Undo());
    EXPECT_EQ(history.Size(), 0u);
    EXPECT_EQ(history.RedoSize(), 2u);
    EXPECT_TRUE(history.Redo()); // the toggle again, which records itself for undo
    EXPECT_TRUE(history.Redo()); // the step without a way back returns to the undo list
    EXPECT_EQ(history.Size(), 2u);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.Undo());
    EXPECT_EQ(ran, (std::vector<std::string>{"no way back", "toggle", "toggle", "no way back"}));

    history.Push([] {});
    EXPECT_FALSE(history.CanRedo()) << "a new step";
    EXPECT_EQ(history.Size(), 2u);
    history.Undo();
    history.Clear();
    EXPECT_TRUE(history.IsEmpty());
    EXPECT_FALSE(history.CanRedo());
}
