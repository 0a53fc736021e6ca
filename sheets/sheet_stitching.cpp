#include "sheets/sheet_stitching.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quorvel {

namespace {

bool HasPixels(const SpriteSet& set, std::uint32_t i) {
    return set.widths[i] != 0 && set.heights[i] != 0;
}

// A picture of `width` × `height` filled with `fill`, with every placed sprite copied in.
Result<StitchedSheet> Compose(const SpriteSet& set, std::vector<PlacedSprite> places,
                              std::uint64_t width, std::uint64_t height, std::uint8_t fill) {
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu || width * height > kLargestSheetBytes) {
        return Failure{"the sheet would take more than 256 MiB"};
    }
    try {
        StitchedSheet sheet;
        sheet.picture.width = static_cast<std::uint32_t>(width);
        sheet.picture.height = static_cast<std::uint32_t>(height);
        sheet.picture.pixels.assign(static_cast<std::size_t>(width * height), fill);
        for (std::uint32_t i = 0; i < set.count; ++i) {
            const PlacedSprite& place = places[i];
            if (place.width == 0 || place.height == 0) {
                continue;
            }
            for (std::uint32_t y = 0; y < place.height; ++y) {
                std::memcpy(
                    sheet.picture.pixels.data() + (std::size_t{place.y} + y) * width + place.x,
                    set.images[i].data() + std::size_t{y} * place.width, place.width);
            }
        }
        sheet.places = std::move(places);
        return sheet;
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory for a sheet this large"};
    }
}

}  // namespace

Result<StitchedSheet> StitchGrid(const SpriteSet& set, std::optional<std::uint32_t> columns) {
    const std::uint64_t cellWidth = *std::max_element(set.widths.begin(), set.widths.end());
    const std::uint64_t cellHeight = *std::max_element(set.heights.begin(), set.heights.end());
    std::uint64_t across = set.count;
    if (columns) {
        across = std::clamp<std::uint64_t>(*columns, 1, set.count);
    } else if (cellWidth * set.count > kWidestDefaultRow) {
        across = std::max<std::uint64_t>(1, kWidestDefaultRow / cellWidth);
    }
    const std::uint64_t down = (set.count + across - 1) / across;
    std::vector<PlacedSprite> places(set.count);
    for (std::uint32_t i = 0; i < set.count; ++i) {
        places[i] = {static_cast<std::uint32_t>(i % across * cellWidth),
                     static_cast<std::uint32_t>(i / across * cellHeight), set.widths[i],
                     set.heights[i]};
    }
    return Compose(set, std::move(places), across * cellWidth, down * cellHeight, 0);
}

Result<StitchedSheet> StitchKeySheet(const SpriteSet& set) {
    std::vector<PlacedSprite> places(set.count);
    std::uint64_t x = kSheetKeyGap, y = kSheetKeyGap, rowHeight = 0, width = 0;
    bool any = false;
    for (std::uint32_t i = 0; i < set.count; ++i) {
        if (!HasPixels(set, i)) {
            continue;
        }
        const std::uint64_t w = set.widths[i];
        if (x > kSheetKeyGap && x + w + kSheetKeyGap > kSheetKeyRowEnd) {
            y += rowHeight + kSheetKeyGap;
            x = kSheetKeyGap;
            rowHeight = 0;
        }
        places[i] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), set.widths[i],
                     set.heights[i]};
        x += w + kSheetKeyGap;
        width = std::max(width, x);
        rowHeight = std::max<std::uint64_t>(rowHeight, set.heights[i]);
        any = true;
    }
    if (!any) {
        return Failure{"none of the sprites has pixels"};
    }
    return Compose(set, std::move(places), width, y + rowHeight + kSheetKeyGap, kSheetKeyIndex);
}

std::uint32_t CountSpritesWithoutPixels(const SpriteSet& set) {
    std::uint32_t count = 0;
    for (std::uint32_t i = 0; i < set.count; ++i) {
        count += HasPixels(set, i) ? 0 : 1;
    }
    return count;
}

}  // namespace quorvel
