#pragma once
// Room backgrounds: one picture of 8352 × 1200 pixels kept in the game as one sprite file of
// 464 tiles of 144 × 150, 58 columns by 8 rows.
//
// The tiles go column by column: tile k is column k / 8, row k % 8, so tiles 0 to 7 run down
// the left edge. The game's world file records each tile's byte offset, so a replacement must
// keep the standard layout: the 3,714-byte directory (2 + 8 × 464), then tile k at
// 3,714 + 21,600 × k, 10,026,114 bytes in all. That is exactly what EncodeSpriteFile writes
// for 464 tiles of this size; BackgroundFilePieces writes the same file straight from the
// picture, without cutting it into tiles first.

#include <cstdint>

#include "core/encoded_pieces.h"
#include "core/indexed_image.h"
#include "core/result.h"
#include "sprites/sprite_set.h"

namespace quorvel {

inline constexpr std::uint32_t kBackgroundTileWidth = 144;
inline constexpr std::uint32_t kBackgroundTileHeight = 150;
inline constexpr std::uint32_t kBackgroundColumns = 58;
inline constexpr std::uint32_t kBackgroundRows = 8;
inline constexpr std::uint32_t kBackgroundTiles = kBackgroundColumns * kBackgroundRows;
inline constexpr std::uint32_t kBackgroundWidth = kBackgroundColumns * kBackgroundTileWidth;
inline constexpr std::uint32_t kBackgroundHeight = kBackgroundRows * kBackgroundTileHeight;

// Whether a picture of this size, as stored (before any rounding of the width), can be a
// background; if not, why, as a reason for "Unable to use NAME: REASON.".
Status CheckBackgroundSize(std::uint64_t width, std::uint64_t height);

// The 464 tiles of an 8352 × 1200 image, in the order above. Refuses any other size.
Result<SpriteSet> CutBackground(const IndexedImage& image);

// The sprite file of the tiles of an 8352 × 1200 image, as pieces of its rows (which must
// outlive them): the bytes EncodeSpriteFile(CutBackground(image)) makes. Refuses any other size.
Result<EncodedPieces> BackgroundFilePieces(const IndexedImage& image);

// The 8352 × 1200 image of a set of 464 tiles of 144 × 150. Refuses any other set.
Result<IndexedImage> StitchBackground(const SpriteSet& tiles);

}  // namespace quorvel
