#include "engine/BrushRect.h"

#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

TEST(BrushRect, SquareRoundTheCursorInsideThePicture)
{
    FakeEnvironment env(testpictures::Filled(200, 200, 0xFF000000));
    struct Case {
        gfx::Point cursor;
        int32_t r;
        gfx::Rect expected;
    } cases[] = {
        {{100, 100}, 25, {75, 75, 50, 50}},
        {{10, 100}, 25, {0, 90, 20, 20}},   // near the left edge: narrowed, then squared
        {{190, 195}, 25, {185, 190, 10, 10}}, // near the bottom-right corner
        {{0, 100}, 25, {}},                  // on the border
        {{100, 200}, 25, {}},
        {{-40, 300}, 25, {}},                // clamped onto the border
        {{1, 1}, 40, {0, 0, 2, 2}},
    };
    for (const Case& c : cases) {
        env.cursor = c.cursor;
        EXPECT_EQ(BrushRect(&env, c.r), c.expected) << c.cursor.x << "," << c.cursor.y;
    }
}

TEST(BrushRect, EmptyWithoutAPicture)
{
    FakeEnvironment env;
    env.cursor = {10, 10};
    EXPECT_TRUE(BrushRect(&env, 25).IsEmpty());
}
