#pragma once
// The weighted nearest-colour search over the game palette, which both reductions use. The
// distance and the candidates in their order are those of core/colour_distance.h. Index 1 is
// reported as 242 (both are white), with the distance and differences of entry 1.

#include <cstdint>

#include "core/colour_cells.h"
#include "core/colour_distance.h"
#include "core/vector_paths.h"

namespace quorvel {

struct NearestMatch {
    std::uint8_t index = 0;
    std::uint32_t distance = 0;
    // Requested colour minus the chosen entry's colour, per channel.
    std::int32_t dRed = 0;
    std::int32_t dGreen = 0;
    std::int32_t dBlue = 0;
};

// The plain scan over every candidate. FindNearestIndex always agrees with it.
NearestMatch FindNearestIndexByScan(std::int32_t red, std::int32_t green, std::int32_t blue);

namespace detail {

// A colour with weighted components, as the groups hold their candidates.
struct WeightedColour {
    std::int32_t red;
    std::int32_t green;
    std::int32_t blue;
};

// The first of the four candidates of a group at the least weighted distance from `colour`:
// sets `distance` and returns the candidate's packed entry. Without a single branch: on
// these processors a mispredicted branch costs more than the arithmetic, and which
// candidate wins is as good as random.
#if QUORVEL_SSE2
// The four distances at once: the differences as 16-bit lanes, squared and summed in pairs
// by one multiply-add, which leaves (36·dR)² + (59·dG)² and (11·dB)² + 0 per candidate.
// Every value compared is below 2^31, so the signed comparisons order them.
[[gnu::always_inline]] inline __m128i SmallerOf(__m128i a, __m128i b) {
    const __m128i bSmaller = _mm_cmpgt_epi32(a, b);
    return _mm_or_si128(_mm_and_si128(bSmaller, b), _mm_andnot_si128(bSmaller, a));
}

[[gnu::always_inline]] inline std::uint32_t NearestInGroup(const CandidateGroup& group,
                                                           __m128i colour,
                                                           std::uint32_t& distance) {
    const auto* weighted = reinterpret_cast<const __m128i*>(group.weighted);
    const __m128i d01 = _mm_sub_epi16(colour, _mm_load_si128(weighted));
    const __m128i d23 = _mm_sub_epi16(colour, _mm_load_si128(weighted + 1));
    const __m128 s01 = _mm_castsi128_ps(_mm_madd_epi16(d01, d01));
    const __m128 s23 = _mm_castsi128_ps(_mm_madd_epi16(d23, d23));
    const __m128i d = _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(s01, s23, 0x88)),
                                    _mm_castps_si128(_mm_shuffle_ps(s01, s23, 0xDD)));
    // Each distance (below 2^29) with its place in the two low bits: the least of these keys
    // is the least distance, ties going to the earlier place, as the scan's order wants.
    const __m128i keys = _mm_or_si128(_mm_slli_epi32(d, 2), _mm_set_epi32(3, 2, 1, 0));
    __m128i least = SmallerOf(keys, _mm_shuffle_epi32(keys, 0xB1));
    least = SmallerOf(least, _mm_shuffle_epi32(least, 0x4E));
    const auto key = static_cast<std::uint32_t>(_mm_cvtsi128_si32(least));
    distance = key >> 2;
    return group.entries[key & 3];
}

// The colour's weighted components in the lanes of both candidates of a register.
[[gnu::always_inline]] inline __m128i ForGroups(std::int32_t red, std::int32_t green,
                                                std::int32_t blue) {
    const __m128i plain =
        _mm_insert_epi16(_mm_cvtsi32_si128(red | green << 16), static_cast<std::int16_t>(blue), 2);
    const __m128i weighted = _mm_mullo_epi16(
        plain, _mm_setr_epi16(kRedWeight, kGreenWeight, kBlueWeight, 0, 0, 0, 0, 0));
    return _mm_unpacklo_epi64(weighted, weighted);
}
#else
[[gnu::always_inline]] inline std::uint32_t NearestInGroup(const CandidateGroup& group,
                                                           const WeightedColour& colour,
                                                           std::uint32_t& distance) {
    std::uint32_t d[4];
    for (int k = 0; k < 4; ++k) {
        const std::int32_t dRed = colour.red - group.weighted[k][0];
        const std::int32_t dGreen = colour.green - group.weighted[k][1];
        const std::int32_t dBlue = colour.blue - group.weighted[k][2];
        d[k] = static_cast<std::uint32_t>(dRed * dRed + dGreen * dGreen + dBlue * dBlue);
    }
    // Selections by mask: the compiler turns a choice between two loaded values into a branch
    // when it can load only the one chosen.
    auto choose = [](bool second, std::uint32_t first, std::uint32_t other) {
        return first ^ ((first ^ other) & (0u - static_cast<std::uint32_t>(second)));
    };
    const bool second = d[1] < d[0];
    const std::uint32_t firstPair = choose(second, d[0], d[1]);
    const std::uint32_t firstEntry = choose(second, group.entries[0], group.entries[1]);
    const bool fourth = d[3] < d[2];
    const std::uint32_t secondPair = choose(fourth, d[2], d[3]);
    const std::uint32_t secondEntry = choose(fourth, group.entries[2], group.entries[3]);
    const bool later = secondPair < firstPair;
    distance = choose(later, firstPair, secondPair);
    return choose(later, firstEntry, secondEntry);
}

[[gnu::always_inline]] inline WeightedColour ForGroups(std::int32_t red, std::int32_t green,
                                                       std::int32_t blue) {
    return {kRedWeight * red, kGreenWeight * green, kBlueWeight * blue};
}
#endif

// The search within a prepared cell, given its word.
[[gnu::always_inline]] inline NearestMatch SearchCell(const ColourCells& cells, std::uint16_t word,
                                                      std::int32_t red, std::int32_t green,
                                                      std::int32_t blue) {
    const auto colour = ForGroups(red, green, blue);
    const CandidateGroup* group = cells.groups + (word >> 2);
    std::uint32_t best;
    std::uint32_t entry = NearestInGroup(*group, colour, best);
    for (unsigned more = word & 3u; more != 0; --more) {
        ++group;
        std::uint32_t distance;
        const std::uint32_t other = NearestInGroup(*group, colour, distance);
        if (distance < best) {
            best = distance;
            entry = other;
        }
    }
    NearestMatch match;
    match.index = EntryIndex(entry);
    match.dRed = red - EntryRed(entry);
    match.dGreen = green - EntryGreen(entry);
    match.dBlue = blue - EntryBlue(entry);
    match.distance = best;
    return match;
}

// Prepares the colour's cell in the calling thread's cells and searches it (or scans, for a
// cell the groups cannot hold).
NearestMatch SearchUnpreparedCell(const ColourCells& cells, std::int32_t red, std::int32_t green,
                                  std::int32_t blue);

}  // namespace detail

// red, green and blue in 0..255.
//
// The same result as the scan, found among the possible winners of the colour's cell
// (core/colour_cells.h). Always inlined, because the reductions call it for every pixel.
//
// `cells` are the calling thread's (detail::ThreadCells()), fetched once for many searches.
[[gnu::always_inline]] inline NearestMatch FindNearestIndex(const detail::ColourCells& cells,
                                                            std::int32_t red, std::int32_t green,
                                                            std::int32_t blue) {
#if defined(QUORVEL_PLAIN_SEARCH)
    // Only in the benchmarks' baseline build (bench/CMakeLists.txt), which measures what the
    // cells gain.
    return FindNearestIndexByScan(red, green, blue);
#endif
    const std::uint16_t word = cells.words[detail::CellOf(static_cast<std::uint32_t>(red),
                                                          static_cast<std::uint32_t>(green),
                                                          static_cast<std::uint32_t>(blue))];
    if (word < detail::kFirstCellWord) [[unlikely]] {
        return detail::SearchUnpreparedCell(cells, red, green, blue);
    }
    return detail::SearchCell(cells, word, red, green, blue);
}

[[gnu::always_inline]] inline NearestMatch FindNearestIndex(std::int32_t red, std::int32_t green,
                                                            std::int32_t blue) {
    return FindNearestIndex(detail::ThreadCells(), red, green, blue);
}

}  // namespace quorvel
