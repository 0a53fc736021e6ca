// The accelerated colour search against the plain scan, for every one of the 2^24 colours.
// Its own executable, labelled "exhaustive": a few seconds optimised, too slow under the
// sanitizers, where it checks a sample instead.

#include <gtest/gtest.h>

#include <cstdint>

#include "core/nearest_index.h"

namespace quorvel {
namespace {

// Compares every colour whose channels the steps reach; reports the first few disagreements.
void Sweep(int step, int phase) {
    int mismatches = 0;
    for (int r = phase % step; r < 256; r += step) {
        for (int g = (phase / 3) % step; g < 256; g += step) {
            for (int b = (phase / 7) % step; b < 256; b += step) {
                const NearestMatch f = FindNearestIndex(r, g, b);
                const NearestMatch s = FindNearestIndexByScan(r, g, b);
                if ((f.index != s.index || f.distance != s.distance || f.dRed != s.dRed ||
                     f.dGreen != s.dGreen || f.dBlue != s.dBlue) &&
                    ++mismatches <= 10) {
                    ADD_FAILURE() << "(" << r << ", " << g << ", " << b << "): index "
                                  << int(f.index) << " instead of " << int(s.index) << ", distance "
                                  << f.distance << " instead of " << s.distance;
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
    // colours spread over all cells.
    Sweep(3, 5);
}

}  // namespace
}  // namespace quorvel
