#pragma once
// Creatures sprite files (".spr").

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/encoded_pieces.h"
#include "core/result.h"
#include "sprites/sprite_set.h"

namespace quorvel {

// Decodes a whole sprite file held in memory. Checks that the directory and every pixel block
// lie within the file before allocating anything.
Result<SpriteSet> DecodeSpriteFile(std::span<const std::uint8_t> file);

// Encodes a set; fails for a set the format cannot hold (more than 65535 sprites, a side
// longer than 65535, or pixel offsets beyond 32 bits).
Result<std::vector<std::uint8_t>> EncodeSpriteFile(const SpriteSet& set);

// The same file as pieces: the count and directory, then the sprites of `set`, which must
// outlive them.
Result<EncodedPieces> SpriteFilePieces(const SpriteSet& set);

// The count and directory alone, for sprites of these sizes laid out as SpriteFileOffsets says;
// the caller adds each sprite's pixels as pieces, in order.
Result<EncodedPieces> SpriteFileHead(std::span<const std::uint32_t> widths,
                                     std::span<const std::uint32_t> heights);

// Where each sprite's pixels start in the file EncodeSpriteFile writes for sprites of these
// sizes: right after the directory, back to back in order. Fails when the count, a side or an
// offset does not fit its field. Needs only the sizes, so limits can be checked without pixels.
Result<std::vector<std::uint32_t>> SpriteFileOffsets(std::span<const std::uint32_t> widths,
                                                     std::span<const std::uint32_t> heights);

// Reads and decodes `fileName` (relative to the working folder). On failure shows a file error
// and returns nothing. Touches neither the current set nor the list.
std::optional<SpriteSet> ReadSpriteFile(const std::string& fileName);

// Replaces the current sprite set and rewrites the sprite list from `fileName` (relative to
// the working folder). On failure shows a file error and changes nothing. Returns whether the
// set was replaced.
bool LoadSpriteFile(const std::string& fileName);

// Saves the current set; an empty set writes nothing. Failures are shown as file errors.
// Returns whether a file was written.
bool SaveSpriteFile(const std::string& fileName);

}  // namespace quorvel
