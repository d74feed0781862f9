#include "engine/History.h"

#include <gtest/gtest.h>

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
    // Steps that record no way back come back unchanged on redo.
    EXPECT_TRUE(history.Redo());
    EXPECT_EQ(history.Size(), 1u);
    EXPECT_EQ(ran, (std::vector<int>{2, 1}));
}
