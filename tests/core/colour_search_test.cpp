#include <gtest/gtest.h>

#include <cstdint>

#include "core/game_palette.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

void ExpectMatch(const NearestMatch& m, const NearestMatch& expected) {
    EXPECT_EQ(m.index, expected.index);
    EXPECT_EQ(m.distance, expected.distance);
    EXPECT_EQ(m.dRed, expected.dRed);
    EXPECT_EQ(m.dGreen, expected.dGreen);
    EXPECT_EQ(m.dBlue, expected.dBlue);
}

TEST(FindNearestIndex, BlackAndWhite) {
    ExpectMatch(FindNearestIndex(0, 0, 0), {0, 0, 0, 0, 0});
    ExpectMatch(FindNearestIndex(252, 252, 252), {242, 0, 0, 0, 0});
    // Pure white is nearest to entry 1 (252 each), which is reported as 242.
    ExpectMatch(FindNearestIndex(255, 255, 255), {242, 1296 * 9 + 3481 * 9 + 121 * 9, 3, 3, 3});
}

TEST(FindNearestIndex, TiesGoToTheLowerIndex) {
    // Colours exactly as far from two working colours.
    struct Tie {
        int r, g, b;
        std::uint8_t lower;
        std::uint32_t distance;
    };
    for (const Tie& t : {Tie{190, 84, 237, 123, 2525065}, Tie{156, 8, 32, 101, 1253888},
                         Tie{30, 9, 142, 19, 1965893}, Tie{75, 65, 34, 49, 226685}}) {
        EXPECT_EQ(FindNearestIndex(t.r, t.g, t.b).index, t.lower);
        EXPECT_EQ(FindNearestIndex(t.r, t.g, t.b).distance, t.distance);
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
