#pragma once
// Sprite tests start with no current image, an empty set, a blank window and a scratch folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "core/indexed_image.h"
#include "core/window_services.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_set.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

// An image whose pixels include zeros and differ with its size, so that lost or moved bytes show.
inline IndexedImage Image(std::uint32_t width, std::uint32_t height) {
    IndexedImage image{width, height, Bytes(std::size_t{width} * height)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = i % 3 == 0 ? 0 : static_cast<std::uint8_t>(width + 3 * height + 7 * i);
    }
    return image;
}

// Everything the sprite operations may change, for before/after comparisons.
inline auto State() {
    const IndexedImage& i = CurrentImage();
    const SpriteSet& s = CurrentSpriteSet();
    const RecordedWindow& w = Recorded();
    return std::tuple(i.width, i.height, i.pixels, s.count, s.widths, s.heights, s.images, w.lines,
                      w.selectedLine, w.countLabel, w.imageLabel, w.repaintRequests,
                      w.choiceRefreshes);
}

class SpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        ResetRecorder();
    }

    // Adds 1 × 1, 2 × 2 ... count × count by "Add ->", then clears the image and the call counts.
    static void AddSprites(std::uint32_t count) {
        for (std::uint32_t k = 1; k <= count; ++k) {
            CurrentImage() = Image(k, k);
            AddSprite();
        }
        CurrentImage() = IndexedImage{};
        Recorded().repaintRequests = Recorded().choiceRefreshes = 0;
    }

    TempFolder folder;
};

}  // namespace quorvel::testing
