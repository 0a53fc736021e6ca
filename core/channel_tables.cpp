#include "core/channel_tables.h"

namespace quorvel {

namespace {

constexpr ChannelTables MakeChannelTables() {
    ChannelTables tables;
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        tables.blue[i] = GamePalette[4 * i + 0];
        tables.green[i] = GamePalette[4 * i + 1];
        tables.red[i] = GamePalette[4 * i + 2];
    }
    return tables;
}

constexpr ChannelTables kTables = MakeChannelTables();

}  // namespace

const ChannelTables& GetChannelTables() {
    return kTables;
}

}  // namespace quorvel
