#include "engine/ChangedAreas.h"

#include <gtest/gtest.h>

TEST(ChangedAreas, MergesOverlapsAndStaysShort)
{
    ChangedAreas areas;
    areas.Add({0, 0, 10, 10});
    areas.Add({5, 5, 10, 10});   // overlaps the first
    areas.Add({100, 0, 10, 10}); // apart
    areas.Add({0, 0, 0, 10});    // empty: ignored
    auto taken = areas.Take();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0], (gfx::Rect{0, 0, 15, 15}));
    EXPECT_TRUE(areas.IsEmpty());

    for (int i = 0; i < 100; ++i) {
        areas.Add({i * 20, 0, 5, 5});
    }
    taken = areas.Take();
    gfx::Rect bounds;
    for (const gfx::Rect& r : taken) {
        bounds = bounds.United(r);
    }
    EXPECT_LE(taken.size(), 33u);
    EXPECT_EQ(bounds, (gfx::Rect{0, 0, 99 * 20 + 5, 5}));
}
