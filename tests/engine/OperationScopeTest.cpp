#include "engine/OperationScope.h"

#include <gtest/gtest.h>

TEST(OperationScope, BuiltFromTwoBytesInEitherOrder)
{
    const OperationScope small(10, 40), large(80, 30);
    EXPECT_EQ(small.Value(), 25u);
    EXPECT_EQ(small.Step(), 3u);
    EXPECT_EQ(large.Value(), 55u);
    EXPECT_EQ(large.Step(), 6u);
    EXPECT_EQ(large.Min(), 30u);
    EXPECT_EQ(large.Max(), 80u);
    EXPECT_EQ(OperationScope(2, 5).Step(), 1u); // an eighth of 3 rounds to 0
}

TEST(OperationScope, SetterClampsAndTellsListenersOnlyOfChanges)
{
    OperationScope scope(30, 80);
    int calls = 0;
    auto listener = std::make_shared<std::function<void()>>([&] { ++calls; });
    scope.AddListener(listener);

    scope.SetValue(79);
    scope.SetValue(79 + scope.Step());
    EXPECT_EQ(scope.Value(), 80u);
    scope.SetValue(31);
    scope.SetValue(31 - scope.Step());
    EXPECT_EQ(scope.Value(), 30u);
    EXPECT_EQ(calls, 4);
    scope.SetValue(30);
    scope.SetValue(uint32_t(-5)); // unsigned: far above the maximum
    EXPECT_EQ(scope.Value(), 80u);
    EXPECT_EQ(calls, 5);

    scope.RemoveListener(listener);
    scope.SetValue(40);
    EXPECT_EQ(calls, 5);
}

TEST(OperationScope, WrapFlagWrapsInsteadOfClamping)
{
    OperationScope scope(10, 40);
    scope.SetWrap(true);
    scope.SetValue(5); // 40 - (10 - 5) % 30
    EXPECT_EQ(scope.Value(), 35u);
    scope.SetValue(47); // 10 + (47 - 40) % 30
    EXPECT_EQ(scope.Value(), 17u);
}

TEST(OperationScope, StepsByAnEighthAndStopsAtTheEnds)
{
    OperationScope scope(10, 40); // value 25, step 3
    scope.StepUp();
    EXPECT_EQ(scope.Value(), 28u);
    scope.SetValue(39);
    scope.StepUp();
    EXPECT_EQ(scope.Value(), 40u);
    scope.SetValue(12);
    scope.StepDown();
    EXPECT_EQ(scope.Value(), 10u);
    OperationScope wide(0, 128); // step 16: a step below zero stops at the minimum, not the maximum
    wide.SetValue(15);
    wide.StepDown();
    EXPECT_EQ(wide.Value(), 0u);
}
