#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "core/channel_tables.h"
#include "core/game_palette.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

// An independent statement of the search: every candidate in order, squared weighted
// distance in 64 bits, first minimum wins.
NearestMatch Reference(int r, int g, int b) {
    NearestMatch best;
    std::uint64_t bestDistance = UINT64_MAX;
    for (int i = 0; i < 242; ++i) {
        if (i >= 2 && i <= 10) {
            continue;
        }
        const std::uint32_t c = kGameColours[i];
        const int dr = r - static_cast<int>(c >> 16);
        const int dg = g - static_cast<int>((c >> 8) & 0xFF);
        const int db = b - static_cast<int>(c & 0xFF);
        const std::uint64_t d = std::uint64_t(36 * dr) * std::uint64_t(36 * dr) +
                                std::uint64_t(59 * dg) * std::uint64_t(59 * dg) +
                                std::uint64_t(11 * db) * std::uint64_t(11 * db);
        if (d < bestDistance) {
            bestDistance = d;
            best = {static_cast<std::uint8_t>(i == 1 ? 242 : i), static_cast<std::uint32_t>(d), dr,
                    dg, db};
        }
    }
    return best;
}

void ExpectSame(const NearestMatch& a, const NearestMatch& b) {
    EXPECT_EQ(a.index, b.index);
    EXPECT_EQ(a.distance, b.distance);
    EXPECT_EQ(a.dRed, b.dRed);
    EXPECT_EQ(a.dGreen, b.dGreen);
    EXPECT_EQ(a.dBlue, b.dBlue);
}

TEST(GamePalette, LayoutIsBlueGreenRedZero) {
    // Entry 12 is 0x141828: red 0x14, green 0x18, blue 0x28.
    EXPECT_EQ(GamePalette[4 * 12 + 0], 0x28);
    EXPECT_EQ(GamePalette[4 * 12 + 1], 0x18);
    EXPECT_EQ(GamePalette[4 * 12 + 2], 0x14);
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        EXPECT_EQ(GamePalette[4 * i + 3], 0) << i;
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(GamePalette[4 * i + c] % 4, 0) << i;
        }
    }
    const auto& t = GetChannelTables();
    EXPECT_EQ(t.red[12], 0x14);
    EXPECT_EQ(t.green[12], 0x18);
    EXPECT_EQ(t.blue[12], 0x28);
}

TEST(FindNearestIndex, BlackAndWhite) {
    ExpectSame(FindNearestIndex(0, 0, 0), {0, 0, 0, 0, 0});
    ExpectSame(FindNearestIndex(252, 252, 252), {242, 0, 0, 0, 0});
    // Pure white is nearest to entry 1, which is reported as 242.
    ExpectSame(FindNearestIndex(255, 255, 255), {242, 1296 * 9 + 3481 * 9 + 121 * 9, 3, 3, 3});
}

TEST(FindNearestIndex, ExactEntriesMatchThemselves) {
    for (int i = 11; i <= 241; ++i) {
        const std::uint32_t c = kGameColours[i];
        const NearestMatch m = FindNearestIndex(c >> 16, (c >> 8) & 0xFF, c & 0xFF);
        EXPECT_EQ(m.distance, 0u) << i;
        // Duplicate colours resolve to the first entry holding them.
        EXPECT_EQ(kGameColours[m.index == 242 ? 1 : m.index], c) << i;
        EXPECT_LE(m.index == 242 ? 1 : m.index, i);
    }
}

TEST(FindNearestIndex, TiesGoToTheLowerIndex) {
    // Colours exactly as far from two different working colours: the lower index wins.
    struct Tie {
        int r, g, b;
        std::uint8_t lower;
        std::uint32_t distance;
    };
    for (const Tie& t : {Tie{190, 84, 237, 123, 2525065}, Tie{156, 8, 32, 101, 1253888},
                         Tie{30, 9, 142, 19, 1965893}, Tie{75, 65, 34, 49, 226685}}) {
        const NearestMatch m = FindNearestIndex(t.r, t.g, t.b);
        EXPECT_EQ(m.index, t.lower);
        EXPECT_EQ(m.distance, t.distance);
        ExpectSame(m, Reference(t.r, t.g, t.b));
    }
}

TEST(FindNearestIndex, AgreesWithReferenceOnRandomAndGridColours) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int n = 0; n < 20000; ++n) {
        const int r = channel(random), g = channel(random), b = channel(random);
        ExpectSame(FindNearestIndex(r, g, b), Reference(r, g, b));
    }
    for (int r = 0; r < 256; r += 17) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 5) {
                ExpectSame(FindNearestIndex(r, g, b), Reference(r, g, b));
            }
        }
    }
}

TEST(FindNearestIndex, NeverYieldsReservedIndexes) {
    for (int v = 0; v < 256; ++v) {
        for (const NearestMatch& m : {FindNearestIndex(v, v, v), FindNearestIndex(v, 0, 255 - v),
                                      FindNearestIndex(255, v, 0)}) {
            EXPECT_FALSE(m.index >= 1 && m.index <= 10);
            EXPECT_FALSE(m.index >= 243);
        }
    }
}

}  // namespace
}  // namespace quorvel
