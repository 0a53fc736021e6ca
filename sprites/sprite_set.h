#pragma once
// The ordered set of images that becomes one sprite file.

#include <cstdint>
#include <vector>

namespace quorvel {

// Three parallel sequences that always hold `count` elements and move in step: sprite i is
// (widths[i], heights[i], images[i]). images[i] holds widths[i] × heights[i] palette indexes,
// rows top to bottom, no row padding. Each sprite owns its pixels.
struct SpriteSet {
    std::uint32_t count = 0;
    std::vector<std::uint32_t> widths;
    std::vector<std::uint32_t> heights;
    std::vector<std::vector<std::uint8_t>> images;
    // Set by the editing operations that change the set; a set decoded from a file starts
    // without it, and saving the set to a file clears it.
    bool changedSinceSaved = false;
};

// The process-wide set; starts empty.
SpriteSet& CurrentSpriteSet();

// Whether the current set holds sprites that were added, inserted or deleted since it was last
// saved or loaded. An empty set has nothing to lose, so it never counts as unsaved.
bool HasUnsavedSprites();

}  // namespace quorvel
