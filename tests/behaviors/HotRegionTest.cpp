#include "behaviors/HotRegion.h"

#include "gfx/Geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using Qimro::Behaviors::HotRegion;

TEST(HotRegion, InsideIsStrictOnEverySide)
{
    struct Case {
        gfx::Rect region;
        int32_t x;
        int32_t y;
        bool inside;
    };
    const Case cases[] = {
        {{10, 20, 30, 40}, 11, 21, true},
        {{10, 20, 30, 40}, 39, 59, true},
        {{10, 20, 30, 40}, 10, 30, false}, // left border
        {{10, 20, 30, 40}, 40, 30, false}, // x == X + Width
        {{10, 20, 30, 40}, 20, 20, false}, // top border
        {{10, 20, 30, 40}, 20, 60, false}, // y == Y + Height
        {{10, 20, 1, 40}, 10, 30, false},  // width 1 holds no column
        {{10, 20, 1, 40}, 11, 30, false},
        {{10, 20, 30, 1}, 20, 20, false},  // height 1 holds no row
        {{10, 20, 30, 1}, 20, 21, false},
        {{10, 20, 2, 2}, 11, 21, true},    // the one pixel strictly inside
        {{10, 20, 2, 2}, 12, 21, false},
        {{10, 20, -5, 40}, 8, 30, false},
        // Far right edge of the coordinate range: X + Width must not wrap round.
        {{std::numeric_limits<int32_t>::max() - 10, 0, 100, 10}, std::numeric_limits<int32_t>::max(), 5, true},
    };
    for (const Case& c : cases) {
        const HotRegion<gfx::Rect> region(c.region);
        EXPECT_EQ(region.Contains(c.x, c.y), c.inside)
            << "(" << c.x << ", " << c.y << ") in " << c.region.x << "," << c.region.y << "," << c.region.width << ","
            << c.region.height;
    }
}
