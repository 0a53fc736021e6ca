// The sprite set's editing operations and the sprite file, through the functions the window
// calls, starting each test from no current image, an empty set and a blank window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "core/indexed_image.h"
#include "core/window_services.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
using Sizes = std::vector<std::uint32_t>;

// An image whose pixels include zeros and differ with its size, so that lost or moved bytes show.
IndexedImage Image(std::uint32_t width, std::uint32_t height) {
    IndexedImage image{width, height, Bytes(std::size_t{width} * height)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = i % 3 == 0 ? 0 : static_cast<std::uint8_t>(width + 3 * height + 7 * i);
    }
    return image;
}

auto State() {
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

using SpriteEditing = SpriteTest;
using SpriteFile = SpriteTest;

// What the edits do to the set, its lines and the labels is checked through the window commands;
// here, each edit with no sprite or image to work on, or no neighbour to swap with, says so and
// changes nothing, also where the commands would not have called it.
TEST_F(SpriteEditing, EditsWithNothingToWorkOnChangeNothing) {
    const auto up = +[] { return MoveSprite(MoveDirection::Up); };
    const auto down = +[] { return MoveSprite(MoveDirection::Down); };
    // Sprites 1 × 1, 2 × 2, ... before, the selected line, the current image, the edit.
    const std::tuple<std::uint32_t, std::int32_t, std::uint32_t, std::uint32_t, bool (*)()>
        cases[] = {{3, 0, 5, 4, up},
                   {3, 2, 5, 4, down},
                   {3, -1, 5, 4, down},
                   {3, -1, 5, 4, ReplaceSprite},
                   {3, 1, 3, 0, ReplaceSprite},
                   {2, -1, 5, 4, DeleteSprite},
                   {2, -1, 5, 4, CopySpriteToImage},
                   {2, 0, 3, 0, InsertSprite},
                   {2, 0, 0, 3, AddSprite},
                   {2, -1, 0, 3, InsertSprite}};
    for (const auto& [count, selected, width, height, edit] : cases) {
        SCOPED_TRACE(&count - &std::get<0>(cases[0]));
        SetUp();
        AddSprites(count);
        Recorded().selectedLine = selected;
        CurrentImage() = Image(width, height);
        const auto before = State();
        EXPECT_FALSE(edit());
        EXPECT_EQ(State(), before);
    }
}

// Copy takes the selected sprite and labels its size; deleting the only sprite empties the list.
TEST_F(SpriteEditing, CopyTakesTheSelectedSpriteAndDeleteTheLastEmptiesTheList) {
    AddSprites(3);
    SelectLine(2);
    CopySpriteToImage();
    const Bytes nine = Image(3, 3).pixels;
    EXPECT_EQ(State(), std::tuple(3u, 3u, nine, 3u, Sizes{1, 2, 3}, Sizes{1, 2, 3},
                                  std::vector<Bytes>{Image(1, 1).pixels, Image(2, 2).pixels, nine},
                                  Lines{"#0\t1 × 1", "#1\t2 × 2", "#2\t3 × 3"}, 2, "3 images",
                                  "(3 × 3)", 1, 1));
    CurrentSpriteSet() = SpriteSet{1, {0}, {0}, {{}}};  // only a file can bring such a sprite
    SelectLine(0);
    CopySpriteToImage();
    EXPECT_EQ(Recorded().imageLabel, "(0 × 0)");  // its size, not "(no image)"
    SetUp();
    AddSprites(1);
    SelectLine(0);
    EXPECT_TRUE(DeleteSprite());
    EXPECT_EQ(std::tuple(CurrentSpriteSet().count, Recorded().lines, Recorded().selectedLine,
                         Recorded().countLabel),
              std::tuple(0u, Lines{}, -1, "0 images"));
}

// Two sprites, 4 × 2 and 8 × 1, as a sprite file of 2 + 2 × 8 + 8 + 8 = 34 bytes.
const Bytes kTwoSprites = {2,  0,                        // count
                           18, 0, 0,  0, 4,  0, 2, 0,    // sprite 0: offset 18, 4 × 2
                           26, 0, 0,  0, 8,  0, 1, 0,    // sprite 1: offset 26, 8 × 1
                           0,  1, 2,  3, 4,  5, 6, 7,    // pixels of sprite 0
                           10, 0, 12, 0, 14, 0, 0, 17};  // pixels of sprite 1

TEST_F(SpriteFile, TwoSpritesMakeThirtyFourBytesAndLoadBackWithColons) {
    const SpriteSet two{
        2, {4, 8}, {2, 1}, {{0, 1, 2, 3, 4, 5, 6, 7}, {10, 0, 12, 0, 14, 0, 0, 17}}};
    CurrentSpriteSet() = two;
    const std::string path = folder.File("two.spr");
    ASSERT_TRUE(SaveSpriteFile(path));
    EXPECT_EQ(ReadTestFile(path), kTwoSprites);

    // Loading replaces the set and its list; the labels and the current image stay.
    AddSprites(3);
    SelectLine(2);
    CurrentImage() = Image(9, 2);
    ASSERT_TRUE(LoadSpriteFile(path));
    EXPECT_EQ(State(),
              std::tuple(9u, 2u, Image(9, 2).pixels, 2u, two.widths, two.heights, two.images,
                         Lines{"#0:\t4 × 2", "#1:\t8 × 1"}, -1, "5 images", "", 0, 1));

    WriteTestFile(path, {0, 0});  // no sprites: the set and the list empty
    ASSERT_TRUE(LoadSpriteFile(path));
    EXPECT_EQ(std::tuple(CurrentSpriteSet().count, Recorded().lines), std::tuple(0u, Lines{}));
}

TEST_F(SpriteFile, BlocksAreReadFromTheirOffsetsInAnyOrderAndMayOverlap) {
    const Bytes file = {5,   0,                          // count
                        46,  0,   0,   0,   2, 0, 2, 0,  // sprite 0, stored after sprite 1
                        42,  0,   0,   0,   4, 0, 1, 0,  // sprite 1
                        48,  0,   0,   0,   3, 0, 1, 0,  // sprite 2: the end of sprite 0 and more
                        42,  0,   0,   0,   2, 0, 2, 0,  // sprite 3: sprite 1 again
                        255, 255, 255, 255, 0, 0, 7, 0,  // sprite 4: empty, offset anywhere
                        1,   2,   3,   4,   5, 6, 7, 8, 9};
    const auto set = DecodeSpriteFile(file);
    ASSERT_TRUE(set) << set.error();
    EXPECT_EQ(set.value().widths, (Sizes{2, 4, 3, 2, 0}));
    EXPECT_EQ(set.value().heights, (Sizes{2, 1, 1, 2, 7}));
    EXPECT_EQ(set.value().images,
              (std::vector<Bytes>{{5, 6, 7, 8}, {1, 2, 3, 4}, {7, 8, 9}, {1, 2, 3, 4}, {}}));
}

TEST_F(SpriteFile, DamagedFilesAreRefusedAndChangeNothing) {
    std::vector<Bytes> damaged;  // cut in the count, the directory and each block, then others
    for (int size : {0, 1, 17, 25, 33}) {
        damaged.emplace_back(kTwoSprites.begin(), kTwoSprites.begin() + size);
    }
    std::fill_n(damaged.emplace_back(kTwoSprites).begin() + 10, 4, 0xFF);  // offset 0xFFFFFFFF
    // 65535 sprites of 64 × 128 pixels from the directory itself: 512 MiB out of 512 KiB.
    Bytes& shared = damaged.emplace_back(Bytes{0xFF, 0xFF});
    for (int i = 0; i < 0xFFFF; ++i) {
        shared.insert(shared.end(), {0, 0, 0, 0, 64, 0, 128, 0});
    }
    // Two empty sprites, whose directory is one byte short: nothing else would refuse them.
    damaged.emplace_back(Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

    AddSprites(2);
    SelectLine(1);
    const auto before = State();
    const std::string path = folder.File("bad.spr");
    for (const Bytes& file : damaged) {
        SCOPED_TRACE(&file - damaged.data());
        Recorded().fileErrors.clear();
        WriteTestFile(path, file);
        EXPECT_FALSE(LoadSpriteFile(path));
        EXPECT_EQ(State(), before);
        ASSERT_EQ(Recorded().fileErrors.size(), 1u);
        const std::string& message = Recorded().fileErrors[0];
        EXPECT_TRUE(message.starts_with("Unable to read " + path + ": ")) << message;
        EXPECT_TRUE(message.ends_with(".")) << message;
    }
}

TEST_F(SpriteFile, SetsBeyondTheFieldsAreRefusedAndNothingIsWritten) {
    // The fields hold 65535 sprites, sides of 65535 and offsets up to 0xFFFFFFFF, which is
    // where the third of these starts: 26 + 65535² + 362².
    const std::uint32_t big = 0xFFFF, n = big + 1;
    EXPECT_TRUE(SpriteFileOffsets(Sizes(big, 1), Sizes(big, 1)));
    EXPECT_TRUE(SpriteFileOffsets(Sizes{big, 362, 1}, Sizes{big, 362, 1}));
    EXPECT_FALSE(SpriteFileOffsets(Sizes{big, 362, 1}, Sizes{big, 363, 1}));

    const std::string path = folder.File("existing.spr");
    WriteTestFile(path, {9, 8, 7});
    for (const SpriteSet& set :
         {SpriteSet{}, SpriteSet{1, {n}, {1}, {Bytes(n, 3)}}, SpriteSet{1, {1}, {n}, {Bytes(n, 3)}},
          SpriteSet{n, Sizes(n, 1), Sizes(n, 1), std::vector<Bytes>(n, {7})}}) {
        ResetRecorder();
        CurrentSpriteSet() = set;
        EXPECT_FALSE(SaveSpriteFile(path));
        EXPECT_FALSE(SaveSpriteFile(folder.File("fresh.spr")));
        // An empty set is no error; a set the fields cannot hold is.
        EXPECT_EQ(Recorded().fileErrors.size(), set.count == 0 ? 0u : 2u);
    }
    EXPECT_EQ(ReadTestFile(path), (Bytes{9, 8, 7}));
    EXPECT_EQ(folder.Entries(), Lines{"existing.spr"});
}

}  // namespace
}  // namespace quorvel::testing
