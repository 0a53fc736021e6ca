#pragma once
// Sprite sets laid out as one sheet picture: a grid of equal cells, or the key-colour layout
// of the community's sprite dumpers. Indexes are copied as they stand; nothing is reduced.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/indexed_image.h"
#include "core/result.h"
#include "sprites/sprite_set.h"

namespace quorvel {

// Where one sprite went on the sheet.
struct PlacedSprite {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct StitchedSheet {
    IndexedImage picture;
    std::vector<PlacedSprite> places;  // one per sprite, in order
};

// Pictures larger than this are refused rather than allocated.
inline constexpr std::uint64_t kLargestSheetBytes = std::uint64_t{256} << 20;
// A grid without a column count is one row, unless that is wider than this.
inline constexpr std::uint32_t kWidestDefaultRow = 8192;

// Cells of the widest × the tallest sprite, filled row by row, each sprite at its cell's
// top-left corner, the rest index 0; `columns` (at most the sprite count) or one row, or as many
// as fit in kWidestDefaultRow pixels, at least 1. The set must hold sprites.
Result<StitchedSheet> StitchGrid(const SpriteSet& set, std::optional<std::uint32_t> columns);

// The key-colour layout. Sprites without pixels take no room and get no place; the others are
// placed left to right, top-aligned, 5 pixels of index 100 around and between them, a new row
// starting when a sprite would end more than 795 pixels from the left edge. Fails when no
// sprite has pixels.
Result<StitchedSheet> StitchKeySheet(const SpriteSet& set);

// The index the key-colour layout surrounds its frames with, and the gap it leaves.
inline constexpr std::uint8_t kSheetKeyIndex = 100;
inline constexpr std::uint32_t kSheetKeyGap = 5;
inline constexpr std::uint32_t kSheetKeyRowEnd = 800;

// How many sprites of the set have no pixels (a side of 0).
std::uint32_t CountSpritesWithoutPixels(const SpriteSet& set);

}  // namespace quorvel
