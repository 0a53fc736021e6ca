#include <gtest/gtest.h>

#include <cstdint>

#include "core/game_palette.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

TEST(FindNearestIndex, ReportsWhiteAs242AndTiesAsTheLowerIndex) {
    // Pure white is nearest to entry 1 (252 each), reported as 242; then colours exactly as
    // far from two working colours.
    const struct {
        int r, g, b;
        std::uint8_t index;
        std::uint32_t distance;
    } cases[] = {{0, 0, 0, 0, 0},
                 {255, 255, 255, 242, (1296 + 3481 + 121) * 9},
                 {190, 84, 237, 123, 2525065},
                 {156, 8, 32, 101, 1253888},
                 {30, 9, 142, 19, 1965893},
                 {75, 65, 34, 49, 226685}};
    for (const auto& c : cases) {
        EXPECT_EQ(FindNearestIndex(c.r, c.g, c.b).index, c.index) << c.r << " " << c.g;
        EXPECT_EQ(FindNearestIndex(c.r, c.g, c.b).distance, c.distance) << c.r << " " << c.g;
    }
    // Duplicate colours resolve to the first entry holding them.
    for (int i = 11; i <= 241; ++i) {
        const std::uint32_t c = kGameColours[i];
        const NearestMatch m = FindNearestIndex(c >> 16, (c >> 8) & 0xFF, c & 0xFF);
        EXPECT_EQ(m.distance, 0u) << i;
        EXPECT_LE(m.index == 242 ? 1 : m.index, i);
        EXPECT_EQ(kGameColours[m.index == 242 ? 1 : m.index], c) << i;
    }
}

}  // namespace
}  // namespace quorvel
