#include "core/nearest_index.h"

#include "core/channel_tables.h"
#include "core/game_palette.h"

namespace quorvel {

NearestMatch FindNearestIndexByScan(std::int32_t red, std::int32_t green, std::int32_t blue) {
    const ChannelTables& t = GetChannelTables();
    NearestMatch best;
    best.distance = 0xFFFFFFFFu;

    auto consider = [&](std::uint8_t i) {
        const std::int32_t dRed = red - t.red[i];
        const std::int32_t dGreen = green - t.green[i];
        const std::int32_t dBlue = blue - t.blue[i];
        const std::uint32_t distance = WeightedDistance(dRed, dGreen, dBlue);
        if (distance < best.distance) {
            best = {i, distance, dRed, dGreen, dBlue};
        }
        return distance == 0;
    };
    for (const std::uint8_t i : kSearchOrder) {
        if (consider(i)) {
            break;  // nothing is nearer than an exact match
        }
    }
    if (best.index == 1) {
        best.index = kWhiteIndex;
    }
    return best;
}

namespace detail {

NearestMatch SearchUnpreparedCell(const ColourCells& cells, std::int32_t red, std::int32_t green,
                                  std::int32_t blue) {
    const std::uint16_t word =
        PrepareCell(CellOf(static_cast<std::uint32_t>(red), static_cast<std::uint32_t>(green),
                           static_cast<std::uint32_t>(blue)));
    if (word == kScanCell) {
        return FindNearestIndexByScan(red, green, blue);
    }
    return SearchCell(cells, word, red, green, blue);
}

}  // namespace detail

}  // namespace quorvel
