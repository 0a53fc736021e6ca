#include "core/nearest_index.h"

#include "core/channel_tables.h"
#include "core/game_palette.h"

namespace quorvel {

NearestMatch FindNearestIndexByScan(std::int32_t red, std::int32_t green, std::int32_t blue) {
    const ChannelTables& t = GetChannelTables();
    NearestMatch best;
    best.distance = 0xFFFFFFFFu;

    // Entries 2-10 duplicate entry 1 and 242-255 duplicate 0 and 1, so only 0, 1 and the
    // working colours 11-241 are searched.
    auto consider = [&](std::size_t i) {
        const std::int32_t dRed = red - t.red[i];
        const std::int32_t dGreen = green - t.green[i];
        const std::int32_t dBlue = blue - t.blue[i];
        const std::uint32_t distance = WeightedDistance(dRed, dGreen, dBlue);
        if (distance < best.distance) {
            best = {static_cast<std::uint8_t>(i), distance, dRed, dGreen, dBlue};
        }
        return distance == 0;
    };
    if (!consider(0) && !consider(1)) {
        for (std::size_t i = 11; i <= 241; ++i) {
            if (consider(i)) {
                break;
            }
        }
    }
    if (best.index == 1) {
        best.index = kWhiteIndex;
    }
    return best;
}

namespace detail {

NearestMatch SearchUnpreparedCell(std::int32_t red, std::int32_t green, std::int32_t blue) {
    const std::uint16_t word =
        PrepareCell(CellOf(static_cast<std::uint32_t>(red), static_cast<std::uint32_t>(green),
                           static_cast<std::uint32_t>(blue)));
    if (word == kScanCell) {
        return FindNearestIndexByScan(red, green, blue);
    }
    return SearchCell(word, red, green, blue);
}

}  // namespace detail

}  // namespace quorvel
