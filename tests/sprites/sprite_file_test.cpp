#include "sprites/sprite_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sprites/sprite_fixture.h"
#include "tests/support/bitmap_builder.h"

namespace quorvel::testing {
namespace {

using SpriteFile = SpriteTest;
using Sizes = std::vector<std::uint32_t>;

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

    // Lines an edit does not rewrite keep their colon.
    SelectLine(1);
    InsertSprite();
    EXPECT_EQ(Recorded().lines, (Lines{"#0:\t4 × 2", "#1\t9 × 2", "#2\t8 × 1"}));
    SelectLine(1);
    DeleteSprite();
    EXPECT_EQ(Recorded().lines, (Lines{"#0:\t4 × 2", "#1\t8 × 1"}));

    // A file of no sprites empties the set and the list.
    WriteTestFile(path, {0, 0});
    ASSERT_TRUE(LoadSpriteFile(path));
    EXPECT_EQ(CurrentSpriteSet().count, 0u);
    EXPECT_TRUE(Recorded().lines.empty());
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
    std::vector<Bytes> damaged;
    for (int size : {0, 1, 17, 25, 33}) {  // cut in the count, the directory and each block
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
