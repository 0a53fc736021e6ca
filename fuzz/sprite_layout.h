#pragma once
// A second, deliberately plain reading of a sprite file for the fuzz targets to compare the
// decoder against: the count, then for every sprite its offset, width and height, each pixel
// block taken straight from the file at its offset.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sprites/sprite_set.h"

namespace quorvel::fuzzing {

struct SpriteEntry {
    std::uint32_t offset = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct SpriteLayout {
    std::vector<SpriteEntry> entries;
    std::uint64_t totalPixels = 0;  // summed over the sprites, overlapping blocks counted again
};

// The directory, or nothing when it or a pixel block does not lie within the file. An empty
// block reads nothing, so its offset does not matter.
std::optional<SpriteLayout> ReadSpriteLayout(std::span<const std::uint8_t> file);

// Whether `set` holds exactly the sprites the layout describes, each block as it lies in the
// file.
bool MatchesLayout(const SpriteSet& set, const SpriteLayout& layout,
                   std::span<const std::uint8_t> file);

bool SameSet(const SpriteSet& a, const SpriteSet& b);

// Every sprite owns exactly width × height pixels and the sequences move in step.
bool IsConsistent(const SpriteSet& set);

}  // namespace quorvel::fuzzing
