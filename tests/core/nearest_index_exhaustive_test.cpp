// The accelerated colour search against the plain scan, for every one of the 2^24 colours.
// Its own executable, labelled "exhaustive": a few seconds optimised, too slow to be useful
// under the sanitizers, where it checks a sample instead.

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

#include "core/nearest_index.h"

namespace quorvel {
namespace {

#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr bool kOptimisedBuild = true;
#else
constexpr bool kOptimisedBuild = false;
#endif

bool Same(const NearestMatch& a, const NearestMatch& b) {
    return a.index == b.index && a.distance == b.distance && a.dRed == b.dRed &&
           a.dGreen == b.dGreen && a.dBlue == b.dBlue;
}

std::string Describe(int r, int g, int b, const NearestMatch& fast, const NearestMatch& scan) {
    std::ostringstream s;
    s << "(" << r << ", " << g << ", " << b << "): index " << int(fast.index) << " vs "
      << int(scan.index) << ", distance " << fast.distance << " vs " << scan.distance
      << ", differences " << fast.dRed << "/" << fast.dGreen << "/" << fast.dBlue << " vs "
      << scan.dRed << "/" << scan.dGreen << "/" << scan.dBlue;
    return s.str();
}

// Compares every colour whose channels are reached by the steps; reports the first few
// disagreements and the total.
void Sweep(int step, int phase) {
    std::uint64_t mismatches = 0;
    for (int r = phase % step; r < 256; r += step) {
        for (int g = (phase / 3) % step; g < 256; g += step) {
            for (int b = (phase / 7) % step; b < 256; b += step) {
                const NearestMatch fast = FindNearestIndex(r, g, b);
                const NearestMatch scan = FindNearestIndexByScan(r, g, b);
                if (!Same(fast, scan) && ++mismatches <= 10) {
                    ADD_FAILURE() << Describe(r, g, b, fast, scan);
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0u);
}

TEST(FindNearestIndex, AgreesWithScanOnEveryColour) {
    if (!kOptimisedBuild) {
        GTEST_SKIP() << "16,777,216 plain scans take too long in an instrumented build";
    }
    Sweep(1, 0);
}

TEST(FindNearestIndex, AgreesWithScanOnASampleOfColours) {
    // Every third value of each channel, offset so the three channels sample different
    // residues: about 620,000 colours spread over all cells.
    Sweep(3, 5);
}

}  // namespace
}  // namespace quorvel
