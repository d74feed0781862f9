#include "engine/FalloffMask.h"

#include <gtest/gtest.h>

TEST(FalloffMask, ConeFromCentreToRim)
{
    const FalloffMask one({0, 0, 1, 1});
    EXPECT_EQ(one.At(0, 0), 255);

    const FalloffMask mask({5, 5, 20, 20});
    EXPECT_EQ(mask.At(10, 10), 255);
    EXPECT_EQ(mask.At(10, 0), 0); // distance 10 = half
    EXPECT_EQ(mask.At(10, 5), 127);
    for (auto [r, c] : {std::pair{0, 0}, {0, 19}, {19, 0}, {19, 19}}) {
        EXPECT_EQ(mask.At(r, c), 0);
    }
    // Weights never grow away from the centre along a row.
    for (int c = 11; c < 20; ++c) {
        EXPECT_LE(mask.At(10, c), mask.At(10, c - 1));
    }
}

TEST(FalloffMask, NonSquareUsesTheShorterSideAndReadsInRowOrder)
{
    FalloffMask mask({0, 0, 6, 2});
    EXPECT_EQ(mask.Width(), 6);
    EXPECT_EQ(mask.At(1, 3), 255); // centre (3, 1)
    EXPECT_EQ(mask.At(1, 2), 0);   // distance 1 = half
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(mask.Next(), mask.At(r, c));
        }
    }
}
