#include "core/nearest_index.h"

#include "core/channel_tables.h"
#include "core/game_palette.h"

namespace quorvel {

namespace {

constexpr std::uint32_t WeightedDistance(std::int32_t dRed, std::int32_t dGreen,
                                         std::int32_t dBlue) {
    // Every difference lies in -255..255, so each term is below 2^28 and the sum below 2^32.
    const auto r = static_cast<std::uint32_t>(dRed * dRed);
    const auto g = static_cast<std::uint32_t>(dGreen * dGreen);
    const auto b = static_cast<std::uint32_t>(dBlue * dBlue);
    return 1296 * r + 3481 * g + 121 * b;
}

}  // namespace

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

NearestMatch FindNearestIndex(std::int32_t red, std::int32_t green, std::int32_t blue) {
    return FindNearestIndexByScan(red, green, blue);
}

}  // namespace quorvel
