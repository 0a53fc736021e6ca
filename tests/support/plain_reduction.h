#pragma once
// The two reductions written straight from their definition on top of the plain palette scan,
// with separate error rows and no shortcuts, for the fast versions to be compared with.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/indexed_image.h"

namespace quorvel::testing {

// Red, green and blue of the pixel at (x, y); nothing for a transparent pixel, which becomes 0,
// takes in no error and passes none on.
using PlainPixel =
    std::function<std::optional<std::array<int, 3>>(std::uint32_t x, std::uint32_t y)>;

// The image is as wide as `width` rounded up to 4, the added columns 0.
IndexedImage PlainReduction(std::uint32_t width, std::uint32_t height, const PlainPixel& pixel,
                            ConversionMode mode, BlackHandling black = BlackHandling::AsSearched);

}  // namespace quorvel::testing
