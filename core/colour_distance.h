#pragma once
// What "nearest" means for the colour search: the weighted distance and the palette entries it
// considers, in the order it considers them. The plain scan (core/nearest_index.cpp) and the
// colour cells (core/colour_cells.cpp) both take them from here.

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvel {

// Distance: (36·dR)² + (59·dG)² + (11·dB)². Scaling each component by its weight first turns
// the distance into a plain sum of squares: (36·dR)² = (36·r − 36·R)².
inline constexpr std::int32_t kRedWeight = 36;
inline constexpr std::int32_t kGreenWeight = 59;
inline constexpr std::int32_t kBlueWeight = 11;

// Every difference lies in -255..255, so each term is below 2^28 and the sum below 2^31:
// signed arithmetic cannot overflow. The largest possible value is 318,492,450.
constexpr std::uint32_t WeightedDistance(std::int32_t dRed, std::int32_t dGreen,
                                         std::int32_t dBlue) {
    return static_cast<std::uint32_t>(kRedWeight * kRedWeight * dRed * dRed +
                                      kGreenWeight * kGreenWeight * dGreen * dGreen +
                                      kBlueWeight * kBlueWeight * dBlue * dBlue);
}

// The candidates in search order: 0, 1, then the working colours 11-241. Entries 2-10
// duplicate entry 1 and 242-255 duplicate 0 and 1, so they are never searched. The first
// strictly smaller distance wins, so ties go to the earlier candidate.
inline constexpr std::size_t kCandidateCount = 233;
inline constexpr std::array<std::uint8_t, kCandidateCount> kSearchOrder = [] {
    std::array<std::uint8_t, kCandidateCount> order{};
    order[0] = 0;
    order[1] = 1;
    for (std::size_t i = 2; i < order.size(); ++i) {
        order[i] = static_cast<std::uint8_t>(i + 9);
    }
    return order;
}();

}  // namespace quorvel
