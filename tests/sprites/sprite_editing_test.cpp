#include "sprites/sprite_editing.h"

#include <gtest/gtest.h>

#include "tests/sprites/sprite_fixture.h"

namespace quorvel::testing {
namespace {

using SpriteEditing = SpriteTest;

TEST_F(SpriteEditing, EachOperationKeepsTheSetItsLinesAndTheLabelsInStep) {
    const Lines unchanged = {"(unchanged)"};
    struct Case {
        std::uint32_t before;  // sprites 1 × 1, 2 × 2, ... before the operation
        std::int32_t selected;
        std::uint32_t width, height;  // of the current image
        void (*operation)();
        Lines lines;
        std::int32_t selectedAfter;
        int repaints;
    };
    const Case cases[] = {
        {2, 0, 5, 4, AddSprite, {"#0\t1 × 1", "#1\t2 × 2", "#2\t5 × 4"}, 0, 1},
        {3, 0, 5, 4, InsertSprite, {"#0\t5 × 4", "#1\t1 × 1", "#2\t2 × 2", "#3\t3 × 3"}, 0, 1},
        {1, -1, 5, 4, InsertSprite, {"#0\t1 × 1", "#1\t5 × 4"}, -1, 1},
        {3, 2, 5, 4, DeleteSprite, {"#0\t1 × 1", "#1\t2 × 2"}, 1, 0},
        {1, 0, 5, 4, DeleteSprite, {}, -1, 0},
        // Without a selection or an image with pixels, nothing changes.
        {2, -1, 5, 4, DeleteSprite, unchanged, 0, 0},
        {2, -1, 5, 4, CopySpriteToImage, unchanged, 0, 0},
        {2, 0, 0, 0, AddSprite, unchanged, 0, 0},
        {2, 0, 3, 0, InsertSprite, unchanged, 0, 0},
        {2, 0, 0, 3, AddSprite, unchanged, 0, 0},
        {2, 0, 0, 3, InsertSprite, unchanged, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SetUp();
        AddSprites(c.before);
        Recorded().selectedLine = c.selected;
        SetCountLabel("stale");
        const IndexedImage image = CurrentImage() = Image(c.width, c.height);
        const auto before = State();
        c.operation();
        if (c.lines == unchanged) {
            EXPECT_EQ(State(), before);
            continue;
        }
        const SpriteSet& set = CurrentSpriteSet();
        const std::size_t n = c.lines.size();
        ASSERT_EQ(std::tuple(set.count, set.widths.size(), set.heights.size(), set.images.size()),
                  std::tuple(n, n, n, n));
        for (std::uint32_t i = 0; i < set.count; ++i) {  // each sprite kept its own pixels
            EXPECT_EQ(set.images[i], Image(set.widths[i], set.heights[i]).pixels) << i;
        }
        EXPECT_EQ(Recorded().lines, c.lines);
        EXPECT_EQ(Recorded().selectedLine, c.selectedAfter);
        EXPECT_EQ(Recorded().countLabel, std::to_string(set.count) + " images");
        EXPECT_EQ(Recorded().repaintRequests, c.repaints);
        EXPECT_EQ(Recorded().choiceRefreshes, 1);
        EXPECT_EQ(CurrentImage().pixels, image.pixels);
    }
}

TEST_F(SpriteEditing, CopyThenAddDuplicatesWithItsOwnPixels) {
    AddSprites(3);
    SelectLine(2);
    CopySpriteToImage();
    EXPECT_EQ(Recorded().imageLabel, "(3 × 3)");
    EXPECT_EQ(Recorded().repaintRequests, 1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
    AddSprite();

    SpriteSet& set = CurrentSpriteSet();
    ASSERT_EQ(set.count, 4u);
    EXPECT_EQ(set.images[3], set.images[2]);
    // Changing any one of the three buffers leaves the other two alone.
    const Bytes original = Image(3, 3).pixels;
    CurrentImage().pixels[0] = 200;
    set.images[3][1] = 201;
    EXPECT_EQ(set.images[2], original);
    EXPECT_EQ(set.images[3][0], original[0]);
    EXPECT_EQ(CurrentImage().pixels[1], original[1]);

    CurrentSpriteSet() = SpriteSet{1, {0}, {0}, {{}}};  // only a file can bring such a sprite
    SelectLine(0);
    CopySpriteToImage();
    EXPECT_EQ(Recorded().imageLabel, "(0 × 0)");  // its size, not "(no image)"
}

}  // namespace
}  // namespace quorvel::testing
