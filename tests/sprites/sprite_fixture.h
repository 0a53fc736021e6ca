#pragma once
// Shared set-up for the sprite tests: every test starts with no current image, an empty
// sprite set, a blank recorded window and a scratch folder of its own.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/indexed_image.h"
#include "core/window_services.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_set.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {

// Pixels that differ from sprite to sprite and include zeros, so lost or shifted bytes show.
inline std::vector<std::uint8_t> Pattern(std::uint32_t width, std::uint32_t height,
                                         std::uint8_t seed) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = i % 3 == 0 ? 0 : static_cast<std::uint8_t>(seed + 7 * i);
    }
    return pixels;
}

inline void SetCurrentImage(std::uint32_t width, std::uint32_t height, std::uint8_t seed = 1) {
    CurrentImage() = IndexedImage{width, height, Pattern(width, height, seed)};
}

// Everything the sprite operations may change, for before/after comparisons.
struct Snapshot {
    IndexedImage image;
    SpriteSet set;
    RecordedWindow window;

    static Snapshot Take() { return {CurrentImage(), CurrentSpriteSet(), Recorded()}; }
};

inline void ExpectSameState(const Snapshot& a, const Snapshot& b) {
    EXPECT_EQ(a.image.width, b.image.width);
    EXPECT_EQ(a.image.height, b.image.height);
    EXPECT_EQ(a.image.pixels, b.image.pixels);
    EXPECT_EQ(a.set.count, b.set.count);
    EXPECT_EQ(a.set.widths, b.set.widths);
    EXPECT_EQ(a.set.heights, b.set.heights);
    EXPECT_EQ(a.set.images, b.set.images);
    EXPECT_EQ(a.window.lines, b.window.lines);
    EXPECT_EQ(a.window.selectedLine, b.window.selectedLine);
    EXPECT_EQ(a.window.countLabel, b.window.countLabel);
    EXPECT_EQ(a.window.imageLabel, b.window.imageLabel);
    EXPECT_EQ(a.window.repaintRequests, b.window.repaintRequests);
    EXPECT_EQ(a.window.choiceRefreshes, b.window.choiceRefreshes);
}

class SpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        ResetRecorder();
    }

    std::string PathOf(const std::string& name) const { return folder_.File(name); }
    std::vector<std::string> FolderEntries() const { return folder_.Entries(); }

    // Adds sprites of the given sizes through "Add ->", then clears the current image and the
    // call counters so a test sees only what its own operation does.
    static void AddSprites(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sizes) {
        std::uint8_t seed = 10;
        for (const auto& [width, height] : sizes) {
            SetCurrentImage(width, height, seed);
            seed = static_cast<std::uint8_t>(seed + 10);
            AddSprite();
        }
        CurrentImage() = IndexedImage{};
        Recorded().repaintRequests = 0;
        Recorded().choiceRefreshes = 0;
    }

  private:
    TempFolder folder_;
};

}  // namespace quorvel::testing
