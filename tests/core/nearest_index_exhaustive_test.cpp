// The accelerated colour search against the plain scan and known answers. Its own executable,
// labelled "exhaustive": every one of the 2^24 colours takes a few seconds optimised, too long
// under the sanitizers, where a sample is checked instead.

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "core/colour_cells.h"
#include "core/nearest_index.h"

namespace quorvel {
namespace {

// Compares every colour whose channels the steps reach; reports the first few disagreements.
void Sweep(int step, int phase) {
    int mismatches = 0;
    for (int r = phase % step; r < 256; r += step) {
        for (int g = (phase / 3) % step; g < 256; g += step) {
            for (int b = (phase / 7) % step; b < 256; b += step) {
                const NearestMatch f = FindNearestIndex(r, g, b),
                                   s = FindNearestIndexByScan(r, g, b);
                if (std::tie(f.index, f.distance, f.dRed, f.dGreen, f.dBlue) !=
                        std::tie(s.index, s.distance, s.dRed, s.dGreen, s.dBlue) &&
                    ++mismatches <= 10) {
                    ADD_FAILURE() << "(" << r << ", " << g << ", " << b << "): index "
                                  << int(f.index) << " instead of " << int(s.index);
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(FindNearestIndex, AgreesWithScanOnEveryColour) {
#if !defined(__OPTIMIZE__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "16,777,216 plain scans take too long in an instrumented build";
#endif
    Sweep(1, 0);
}

TEST(FindNearestIndex, AgreesWithScanOnASampleOfColours) {
    // Every third value of each channel, the channels at different residues: about 620,000
    // colours spread over all cells; then fewer after the prepared cells are dropped.
    Sweep(3, 5);
    detail::ForgetPreparedCells();
    Sweep(7, 4);
}

TEST(FindNearestIndex, ReportsWhiteAs242AndTiesAsTheLowerIndex) {
    // Pure white is nearest to entry 1 (252 each), reported as 242; then colours exactly as
    // far from two working colours.
    const std::tuple<int, int, int, int, std::uint32_t> cases[] = {
        {0, 0, 0, 0, 0},
        {255, 255, 255, 242, (1296 + 3481 + 121) * 9},
        {190, 84, 237, 123, 2525065},
        {156, 8, 32, 101, 1253888},
        {30, 9, 142, 19, 1965893},
        {75, 65, 34, 49, 226685}};
    for (const auto& [r, g, b, index, distance] : cases) {
        const NearestMatch m = FindNearestIndex(r, g, b);
        EXPECT_EQ(std::tuple(int{m.index}, m.distance), std::tuple(index, distance))
            << r << " " << g;
    }
}

}  // namespace
}  // namespace quorvel
