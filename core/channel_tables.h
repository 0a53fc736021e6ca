#pragma once
// Red, green and blue of every palette entry as signed integers, so the colour search can
// subtract without conversions. Built once at start-up and read-only afterwards.

#include <array>
#include <cstdint>

#include "core/game_palette.h"

namespace quorvel {

struct ChannelTables {
    std::array<std::int32_t, kPaletteEntries> red{};
    std::array<std::int32_t, kPaletteEntries> green{};
    std::array<std::int32_t, kPaletteEntries> blue{};
};

// Fills the process-wide tables from GamePalette. Every front end calls it once at start-up,
// before the first colour search.
void BuildChannelTables();

// The process-wide tables the colour search reads.
const ChannelTables& GetChannelTables();

}  // namespace quorvel
