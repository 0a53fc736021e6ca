#pragma once
// The weighted nearest-colour search over the game palette, which both reductions use.
//
// Distance: (36·dR)² + (59·dG)² + (11·dB)², as an unsigned 32-bit value (the largest
// possible, 318,492,450, fits). Candidates are 0, 1 and 11-241 in ascending order; the
// first strictly smaller distance wins, so ties go to the lower index. Index 1 is reported
// as 242 (both are white), with the distance and differences of entry 1.

#include <cstdint>

namespace quorvel {

struct NearestMatch {
    std::uint8_t index = 0;
    std::uint32_t distance = 0;
    // Requested colour minus the chosen entry's colour, per channel.
    std::int32_t dRed = 0;
    std::int32_t dGreen = 0;
    std::int32_t dBlue = 0;
};

// red, green and blue in 0..255. Needs BuildChannelTables() to have run.
NearestMatch FindNearestIndex(std::int32_t red, std::int32_t green, std::int32_t blue);

// The plain scan over every candidate. FindNearestIndex must always agree with it.
NearestMatch FindNearestIndexByScan(std::int32_t red, std::int32_t green, std::int32_t blue);

}  // namespace quorvel
