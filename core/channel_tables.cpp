#include "core/channel_tables.h"

#include "core/colour_cells.h"

namespace quorvel {

namespace {
ChannelTables tables;
}

void BuildChannelTables() {
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        tables.blue[i] = GamePalette[4 * i + 0];
        tables.green[i] = GamePalette[4 * i + 1];
        tables.red[i] = GamePalette[4 * i + 2];
    }
    // The search's cells are made from these tables.
    detail::ForgetPreparedCells();
}

const ChannelTables& GetChannelTables() {
    return tables;
}

}  // namespace quorvel
