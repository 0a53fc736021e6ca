#include "sprites/sprite_editing.h"

#include <gtest/gtest.h>

#include "tests/sprites/sprite_fixture.h"

namespace quorvel::testing {
namespace {

using SpriteEditing = SpriteTest;

TEST_F(SpriteEditing, EachOperationKeepsTheSetItsLinesAndTheLabelsInStep) {
    struct Case {
        std::uint32_t before;  // sprites 1 × 1, 2 × 2, ... before the operation on a 5 × 4 image
        std::int32_t selected;
        void (*operation)();
        Lines lines;
        std::int32_t selectedAfter;
        int repaints;
    };
    const Case cases[] = {
        {2, 0, AddSprite, {"#0\t1 × 1", "#1\t2 × 2", "#2\t5 × 4"}, 0, 1},
        {3, 0, InsertSprite, {"#0\t5 × 4", "#1\t1 × 1", "#2\t2 × 2", "#3\t3 × 3"}, 0, 1},
        {1, -1, InsertSprite, {"#0\t1 × 1", "#1\t5 × 4"}, -1, 1},
        {3, 2, DeleteSprite, {"#0\t1 × 1", "#1\t2 × 2"}, 1, 0},
        {1, 0, DeleteSprite, {}, -1, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        AddSprites(c.before);
        Recorded().selectedLine = c.selected;
        const IndexedImage image = CurrentImage() = Image(5, 4);
        c.operation();

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

TEST_F(SpriteEditing, WithoutAnImageOrASelectionNothingChanges) {
    AddSprites(2);
    SetCountLabel("old count");
    auto before = State();
    DeleteSprite();
    CopySpriteToImage();
    EXPECT_EQ(State(), before);

    SelectLine(0);
    for (const IndexedImage& image : {IndexedImage{}, Image(3, 0), Image(0, 3)}) {
        CurrentImage() = image;
        before = State();
        AddSprite();
        InsertSprite();
        EXPECT_EQ(State(), before) << image.width << " × " << image.height;
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
