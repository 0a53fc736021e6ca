#pragma once
// The weighted nearest-colour search over the game palette, which both reductions use.
//
// Distance: (36·dR)² + (59·dG)² + (11·dB)², as an unsigned 32-bit value (the largest
// possible, 318,492,450, fits). Candidates are 0, 1 and 11-241 in ascending order; the
// first strictly smaller distance wins, so ties go to the lower index. Index 1 is reported
// as 242 (both are white), with the distance and differences of entry 1.

#include <cstdint>

#include "core/colour_cells.h"

namespace quorvel {

struct NearestMatch {
    std::uint8_t index = 0;
    std::uint32_t distance = 0;
    // Requested colour minus the chosen entry's colour, per channel.
    std::int32_t dRed = 0;
    std::int32_t dGreen = 0;
    std::int32_t dBlue = 0;
};

// Every difference lies in -255..255, so each term is below 2^28 and the sum below 2^31:
// signed arithmetic cannot overflow.
constexpr std::uint32_t WeightedDistance(std::int32_t dRed, std::int32_t dGreen,
                                         std::int32_t dBlue) {
    return static_cast<std::uint32_t>(1296 * dRed * dRed + 3481 * dGreen * dGreen +
                                      121 * dBlue * dBlue);
}

// The plain scan over every candidate. FindNearestIndex always agrees with it.
NearestMatch FindNearestIndexByScan(std::int32_t red, std::int32_t green, std::int32_t blue);

// red, green and blue in 0..255. Needs BuildChannelTables() to have run.
//
// The same result as the scan, found through the colour's cell (core/colour_cells.h): either
// the cell's only possible winner, or the first nearest of its few possible winners, which
// are in the scan's order. Always inlined, because the reductions call it for every pixel.
[[gnu::always_inline]] inline NearestMatch FindNearestIndex(std::int32_t red, std::int32_t green,
                                                            std::int32_t blue) {
    using namespace detail;
    const std::uint32_t cell =
        CellOf(static_cast<std::uint32_t>(red), static_cast<std::uint32_t>(green),
               static_cast<std::uint32_t>(blue));
    std::uint16_t word = colourCells.words[cell];
    if (word == 0) [[unlikely]] {
        word = PrepareCell(cell);
    }
    std::uint32_t winner;
    if (word & kSingleWinner) {
        winner = colourCells.palette[word & 0xFF];
    } else {
        const std::uint32_t span = colourCells.lists[word];
        const std::uint32_t* entry = colourCells.entries.data() + ListStart(span);
        const std::uint32_t* const end = entry + ListLength(span);
        winner = *entry;
        std::uint32_t best = WeightedDistance(red - PackedRed(winner), green - PackedGreen(winner),
                                              blue - PackedBlue(winner));
        for (++entry; entry != end; ++entry) {
            const std::uint32_t distance = WeightedDistance(
                red - PackedRed(*entry), green - PackedGreen(*entry), blue - PackedBlue(*entry));
            if (distance < best) {
                best = distance;
                winner = *entry;
            }
        }
    }
    NearestMatch match;
    match.index = PackedIndex(winner);
    match.dRed = red - PackedRed(winner);
    match.dGreen = green - PackedGreen(winner);
    match.dBlue = blue - PackedBlue(winner);
    match.distance = WeightedDistance(match.dRed, match.dGreen, match.dBlue);
    return match;
}

}  // namespace quorvel
