#pragma once
// Red, green and blue of every palette entry as signed integers, so the colour search can
// subtract without conversions. Made from GamePalette at compile time, so they are ready
// before anything runs.

#include <array>
#include <cstdint>

#include "core/game_palette.h"

namespace quorvel {

struct ChannelTables {
    std::array<std::int32_t, kPaletteEntries> red{};
    std::array<std::int32_t, kPaletteEntries> green{};
    std::array<std::int32_t, kPaletteEntries> blue{};
};

// The process-wide tables the colour search reads.
const ChannelTables& GetChannelTables();

}  // namespace quorvel
