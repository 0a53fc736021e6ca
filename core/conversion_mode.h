#pragma once

#include <cstdint>

namespace quorvel {

// How a bitmap not already in the game palette is reduced to it: the "Nearest Color" and
// "Diffusion Dither" choices of the window.
enum class ConversionMode : std::int32_t {
    Nearest = 0,
    Dither = 1,
};

}  // namespace quorvel
