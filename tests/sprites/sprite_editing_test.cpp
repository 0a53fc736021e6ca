#include "sprites/sprite_editing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/indexed_image.h"
#include "sprites/sprite_set.h"
#include "tests/sprites/sprite_fixture.h"
#include "tests/support/recording_window.h"

namespace quorvel::testing {
namespace {

using Lines = std::vector<std::string>;
using SpriteEditing = SpriteTest;

std::vector<std::uint32_t> Widths() {
    return CurrentSpriteSet().widths;
}

TEST_F(SpriteEditing, AddAppendsACopyAndItsLine) {
    SetCurrentImage(4, 2, 5);
    AddSprite();

    const SpriteSet& set = CurrentSpriteSet();
    ASSERT_EQ(set.count, 1u);
    EXPECT_EQ(set.widths, std::vector<std::uint32_t>{4});
    EXPECT_EQ(set.heights, std::vector<std::uint32_t>{2});
    EXPECT_EQ(set.images[0], CurrentImage().pixels);
    EXPECT_NE(set.images[0].data(), CurrentImage().pixels.data());

    EXPECT_EQ(Recorded().lines, Lines{"#0\t4 × 2"});
    EXPECT_EQ(Recorded().selectedLine, -1);
    EXPECT_EQ(Recorded().countLabel, "1 images");
    EXPECT_EQ(Recorded().imageLabel, "");
    EXPECT_EQ(Recorded().repaintRequests, 1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
    EXPECT_TRUE(Recorded().fileErrors.empty());
}

TEST_F(SpriteEditing, AddKeepsTheSelectionAndNumbersOnFromTheCount) {
    AddSprites({{1, 1}, {2, 2}});
    SelectLine(0);
    SetCurrentImage(3, 1);
    AddSprite();
    EXPECT_EQ(Recorded().lines, (Lines{"#0\t1 × 1", "#1\t2 × 2", "#2\t3 × 1"}));
    EXPECT_EQ(Recorded().selectedLine, 0);
    EXPECT_EQ(Recorded().countLabel, "3 images");
}

TEST_F(SpriteEditing, AddAndInsertWithoutAnImageChangeNothing) {
    // Only an image with both sides non-zero can join the set.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> noArea = {{0, 0}, {3, 0}, {0, 3}};
    for (const auto& [width, height] : noArea) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        CurrentSpriteSet() = SpriteSet{};
        ResetRecorder();
        AddSprites({{2, 1}});
        SetCurrentImage(width, height);
        SetCountLabel("old count");
        SetImageLabel("old image");
        SelectLine(0);
        const Snapshot before = Snapshot::Take();

        AddSprite();
        ExpectSameState(before, Snapshot::Take());
        InsertSprite();
        ExpectSameState(before, Snapshot::Take());
    }
}

TEST_F(SpriteEditing, InsertAtLineZeroOfThreePutsTheNewSpriteFirst) {
    AddSprites({{1, 1}, {2, 2}, {3, 3}});
    const std::vector<std::vector<std::uint8_t>> old = CurrentSpriteSet().images;
    SelectLine(0);
    SetCurrentImage(5, 4, 99);
    InsertSprite();

    const SpriteSet& set = CurrentSpriteSet();
    ASSERT_EQ(set.count, 4u);
    EXPECT_EQ(set.widths, (std::vector<std::uint32_t>{5, 1, 2, 3}));
    EXPECT_EQ(set.heights, (std::vector<std::uint32_t>{4, 1, 2, 3}));
    EXPECT_EQ(set.images[0], CurrentImage().pixels);
    EXPECT_EQ(set.images[1], old[0]);
    EXPECT_EQ(set.images[3], old[2]);
    EXPECT_EQ(Recorded().lines, (Lines{"#0\t5 × 4", "#1\t1 × 1", "#2\t2 × 2", "#3\t3 × 3"}));
    EXPECT_EQ(Recorded().selectedLine, 0);
    EXPECT_EQ(Recorded().countLabel, "4 images");
    EXPECT_EQ(Recorded().repaintRequests, 1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
}

TEST_F(SpriteEditing, InsertInTheMiddleSelectsTheNewSprite) {
    AddSprites({{1, 1}, {2, 2}, {3, 3}});
    SelectLine(2);
    SetCurrentImage(7, 1);
    InsertSprite();
    EXPECT_EQ(Widths(), (std::vector<std::uint32_t>{1, 2, 7, 3}));
    EXPECT_EQ(Recorded().lines, (Lines{"#0\t1 × 1", "#1\t2 × 2", "#2\t7 × 1", "#3\t3 × 3"}));
    EXPECT_EQ(Recorded().selectedLine, 2);
}

TEST_F(SpriteEditing, InsertWithNothingSelectedAppends) {
    AddSprites({{1, 1}});
    SetCurrentImage(6, 2);
    InsertSprite();
    EXPECT_EQ(Widths(), (std::vector<std::uint32_t>{1, 6}));
    EXPECT_EQ(Recorded().lines, (Lines{"#0\t1 × 1", "#1\t6 × 2"}));
    EXPECT_EQ(Recorded().selectedLine, -1);
    EXPECT_EQ(Recorded().countLabel, "2 images");
    EXPECT_EQ(Recorded().repaintRequests, 1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
}

TEST_F(SpriteEditing, DeleteRenumbersAndKeepsTheSelectionInRange) {
    struct Case {
        std::int32_t selected;
        std::vector<std::uint32_t> widths;
        Lines lines;
        std::int32_t selectedAfter;
    };
    const std::vector<Case> cases = {
        {0, {2, 3}, {"#0\t2 × 1", "#1\t3 × 1"}, 0},
        {1, {1, 3}, {"#0\t1 × 1", "#1\t3 × 1"}, 1},
        {2, {1, 2}, {"#0\t1 × 1", "#1\t2 × 1"}, 1},  // the last: selection moves up
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        CurrentSpriteSet() = SpriteSet{};
        ResetRecorder();
        AddSprites({{1, 1}, {2, 1}, {3, 1}});
        SetCurrentImage(9, 9);
        const IndexedImage image = CurrentImage();
        SelectLine(c.selected);
        DeleteSprite();

        EXPECT_EQ(CurrentSpriteSet().count, 2u);
        EXPECT_EQ(Widths(), c.widths);
        EXPECT_EQ(CurrentSpriteSet().images.size(), 2u);
        EXPECT_EQ(Recorded().lines, c.lines);
        EXPECT_EQ(Recorded().selectedLine, c.selectedAfter);
        EXPECT_EQ(Recorded().countLabel, "2 images");
        EXPECT_EQ(Recorded().choiceRefreshes, 1);
        EXPECT_EQ(Recorded().repaintRequests, 0);
        EXPECT_EQ(CurrentImage().pixels, image.pixels);
    }
}

TEST_F(SpriteEditing, DeleteOfTheOnlySpriteLeavesAnEmptyList) {
    AddSprites({{4, 4}});
    SelectLine(0);
    DeleteSprite();
    EXPECT_EQ(CurrentSpriteSet().count, 0u);
    EXPECT_TRUE(CurrentSpriteSet().images.empty());
    EXPECT_TRUE(Recorded().lines.empty());
    EXPECT_EQ(Recorded().selectedLine, -1);
    EXPECT_EQ(Recorded().countLabel, "0 images");
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
}

TEST_F(SpriteEditing, DeleteAndCopyNeedASelection) {
    AddSprites({{1, 1}, {2, 2}});
    SetCurrentImage(3, 3);
    const Snapshot before = Snapshot::Take();
    DeleteSprite();
    ExpectSameState(before, Snapshot::Take());
    CopySpriteToImage();
    ExpectSameState(before, Snapshot::Take());
}

TEST_F(SpriteEditing, CopyMakesAnIndependentCurrentImage) {
    AddSprites({{1, 1}, {3, 2}});
    SetImageLabel("(no image)");
    SetCountLabel("2 images");
    SelectLine(1);
    CopySpriteToImage();

    const SpriteSet& set = CurrentSpriteSet();
    EXPECT_EQ(CurrentImage().width, 3u);
    EXPECT_EQ(CurrentImage().height, 2u);
    EXPECT_EQ(CurrentImage().pixels, set.images[1]);
    EXPECT_NE(CurrentImage().pixels.data(), set.images[1].data());
    EXPECT_EQ(Recorded().imageLabel, "(3 × 2)");
    EXPECT_EQ(Recorded().countLabel, "2 images");
    EXPECT_EQ(Recorded().selectedLine, 1);
    EXPECT_EQ(Recorded().repaintRequests, 1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
}

TEST_F(SpriteEditing, CopyThenAddDuplicatesWithItsOwnPixels) {
    AddSprites({{2, 3}});
    SelectLine(0);
    CopySpriteToImage();
    AddSprite();

    SpriteSet& set = CurrentSpriteSet();
    ASSERT_EQ(set.count, 2u);
    EXPECT_EQ(set.images[1], set.images[0]);
    EXPECT_EQ(Recorded().lines, (Lines{"#0\t2 × 3", "#1\t2 × 3"}));

    // Changing any one of the three buffers leaves the other two alone.
    const std::vector<std::uint8_t> original = set.images[0];
    CurrentImage().pixels[0] = 200;
    set.images[1][1] = 201;
    EXPECT_EQ(set.images[0], original);
    EXPECT_EQ(set.images[1][0], original[0]);
    EXPECT_EQ(CurrentImage().pixels[1], original[1]);
}

TEST_F(SpriteEditing, ZeroBytesSurviveAddAndCopy) {
    CurrentImage() = IndexedImage{3, 2, {0, 0, 0, 7, 0, 0}};
    AddSprite();
    CurrentImage() = IndexedImage{};
    SelectLine(0);
    CopySpriteToImage();
    EXPECT_EQ(CurrentImage().pixels, (std::vector<std::uint8_t>{0, 0, 0, 7, 0, 0}));
}

TEST_F(SpriteEditing, CopyOfAnEmptySpriteShowsItsZeroSize) {
    // Only a sprite file can bring in a sprite without area.
    CurrentSpriteSet() = SpriteSet{1, {0}, {0}, {{}}};
    AppendLine("#0:\t0 × 0");
    SetCurrentImage(2, 2);
    SelectLine(0);
    CopySpriteToImage();
    EXPECT_TRUE(CurrentImage().IsEmpty());
    EXPECT_TRUE(CurrentImage().pixels.empty());
    EXPECT_EQ(Recorded().imageLabel, "(0 × 0)");
}

}  // namespace
}  // namespace quorvel::testing
