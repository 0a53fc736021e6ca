#pragma once
// Synthetic source images for the benchmarks, made in memory so no file is needed.

#include <cstdint>
#include <vector>

#include "core/colour_reduction.h"

namespace quorvel::bench {

enum class Content {
    Smooth,  // soft colour waves with a little grain, like a photograph
    Noise,   // every byte random: millions of distinct colours, no two neighbours alike
};

// A 24-bit image as the bitmap reader hands it over: rows padded to a multiple of 4 bytes.
struct TrueColourImage {
    std::vector<std::uint8_t> bytes;
    TrueColourRows rows;
};

// An 8-bit image with its own (not the game's) palette.
struct PalettedImage {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> palette;
    PalettedRows rows;
};

// Made once per content and size and kept for the whole run.
const TrueColourImage& TrueColourSource(Content content, std::uint32_t side);
const PalettedImage& PalettedSource(std::uint32_t side);

}  // namespace quorvel::bench
