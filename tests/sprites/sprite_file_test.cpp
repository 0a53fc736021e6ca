#include "sprites/sprite_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_operations.h"
#include "core/indexed_image.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_set.h"
#include "tests/sprites/sprite_fixture.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/recording_window.h"

namespace quorvel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ReadTestFile;
using testing::WriteTestFile;
using Lines = std::vector<std::string>;
using SpriteFile = SpriteTest;

// Little-endian byte assembly for hand-made files.
struct Builder {
    Bytes bytes;
    Builder& U16(std::uint32_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    Builder& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Builder& Entry(std::uint32_t offset, std::uint32_t width, std::uint32_t height) {
        return U32(offset).U16(width).U16(height);
    }
    Builder& Raw(const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
};

SpriteSet TwoSprites() {
    return SpriteSet{2, {4, 8}, {2, 1}, {{0, 1, 2, 3, 4, 5, 6, 7}, {10, 0, 12, 0, 14, 0, 0, 17}}};
}

TEST_F(SpriteFile, TwoSpritesMakeThirtyFourBytesWithOffsets18And26) {
    const Bytes expected = Builder{}
                               .U16(2)
                               .Entry(18, 4, 2)
                               .Entry(26, 8, 1)
                               .Raw({0, 1, 2, 3, 4, 5, 6, 7})
                               .Raw({10, 0, 12, 0, 14, 0, 0, 17})
                               .bytes;
    ASSERT_EQ(expected.size(), 34u);

    const auto encoded = EncodeSpriteFile(TwoSprites());
    ASSERT_TRUE(encoded) << encoded.error();
    EXPECT_EQ(encoded.value(), expected);

    CurrentSpriteSet() = TwoSprites();
    const std::string path = PathOf("two.spr");
    EXPECT_TRUE(SaveSpriteFile(path));
    EXPECT_EQ(ReadTestFile(path), expected);
    EXPECT_TRUE(Recorded().fileErrors.empty());
}

TEST_F(SpriteFile, LoadingReplacesTheSetAndListsEverySpriteWithAColon) {
    const std::string path = PathOf("two.spr");
    CurrentSpriteSet() = TwoSprites();
    ASSERT_TRUE(SaveSpriteFile(path));

    // Whatever was there before goes: three other sprites, a selection, the current image stays.
    AddSprites({{1, 1}, {2, 2}, {3, 3}});
    SelectLine(2);
    SetCurrentImage(5, 5);
    SetCountLabel("3 images");
    SetImageLabel("(5 × 5)");
    const IndexedImage image = CurrentImage();

    EXPECT_TRUE(LoadSpriteFile(path));
    const SpriteSet& set = CurrentSpriteSet();
    const SpriteSet expected = TwoSprites();
    EXPECT_EQ(set.count, 2u);
    EXPECT_EQ(set.widths, expected.widths);
    EXPECT_EQ(set.heights, expected.heights);
    EXPECT_EQ(set.images, expected.images);
    EXPECT_EQ(Recorded().lines, (Lines{"#0:\t4 × 2", "#1:\t8 × 1"}));
    EXPECT_EQ(Recorded().selectedLine, -1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
    EXPECT_EQ(Recorded().repaintRequests, 0);
    // The labels are the window's business after a load.
    EXPECT_EQ(Recorded().countLabel, "3 images");
    EXPECT_EQ(Recorded().imageLabel, "(5 × 5)");
    EXPECT_EQ(CurrentImage().pixels, image.pixels);
    EXPECT_TRUE(Recorded().fileErrors.empty());
}

TEST_F(SpriteFile, ZeroBytesSurviveAddCopyAndSave) {
    const Bytes pixels = {0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0};
    CurrentImage() = IndexedImage{4, 3, pixels};
    AddSprite();
    SelectLine(0);
    CurrentImage() = IndexedImage{};
    CopySpriteToImage();
    AddSprite();
    const std::string path = PathOf("zeros.spr");
    ASSERT_TRUE(SaveSpriteFile(path));
    CurrentSpriteSet() = SpriteSet{};
    ASSERT_TRUE(LoadSpriteFile(path));
    EXPECT_EQ(CurrentSpriteSet().images, (std::vector<Bytes>{pixels, pixels}));
}

TEST_F(SpriteFile, BlocksAreReadFromTheirOffsetsInAnyOrderAndMayOverlap) {
    // Sprite 0 is stored after sprite 1; sprite 2 shares the last two bytes of sprite 0 and
    // one more; sprite 3 repeats sprite 1.
    const Bytes file = Builder{}
                           .U16(4)
                           .Entry(38, 2, 2)
                           .Entry(34, 4, 1)
                           .Entry(40, 3, 1)
                           .Entry(34, 2, 2)
                           .Raw({1, 2, 3, 4})  // 34: sprite 1
                           .Raw({5, 6, 7, 8})  // 38: sprite 0
                           .Raw({9})           // 42
                           .bytes;
    const auto decoded = DecodeSpriteFile(file);
    ASSERT_TRUE(decoded) << decoded.error();
    const SpriteSet& set = decoded.value();
    EXPECT_EQ(set.count, 4u);
    EXPECT_EQ(set.widths, (std::vector<std::uint32_t>{2, 4, 3, 2}));
    EXPECT_EQ(set.heights, (std::vector<std::uint32_t>{2, 1, 1, 2}));
    EXPECT_EQ(set.images,
              (std::vector<Bytes>{{5, 6, 7, 8}, {1, 2, 3, 4}, {7, 8, 9}, {1, 2, 3, 4}}));
}

TEST_F(SpriteFile, AnEmptyBlockMayStateAnyOffset) {
    const Bytes file = Builder{}.U16(2).Entry(0xFFFFFFFF, 0, 0).Entry(18, 5, 0).bytes;
    const auto decoded = DecodeSpriteFile(file);
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_EQ(decoded.value().widths, (std::vector<std::uint32_t>{0, 5}));
    EXPECT_EQ(decoded.value().images, (std::vector<Bytes>{{}, {}}));
}

TEST_F(SpriteFile, AFileOfNoSpritesEmptiesTheSetAndTheList) {
    AddSprites({{1, 1}, {2, 2}});
    SelectLine(1);
    const std::string path = PathOf("none.spr");
    WriteTestFile(path, {0, 0});
    EXPECT_TRUE(LoadSpriteFile(path));
    EXPECT_EQ(CurrentSpriteSet().count, 0u);
    EXPECT_TRUE(CurrentSpriteSet().images.empty());
    EXPECT_TRUE(Recorded().lines.empty());
    EXPECT_EQ(Recorded().selectedLine, -1);
    EXPECT_EQ(Recorded().choiceRefreshes, 1);
}

TEST_F(SpriteFile, DamagedFilesAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        Bytes file;
    };
    const Bytes fourPixels = {1, 2, 3, 4};
    const std::vector<Case> cases = {
        {"empty", {}},
        {"half a count", {1}},
        {"directory cut short", Builder{}.U16(2).Entry(18, 1, 1).U32(19).bytes},
        {"directory of 65535 in a small file", Builder{}.U16(0xFFFF).Entry(0, 0, 0).bytes},
        {"block one byte short", Builder{}.U16(1).Entry(10, 2, 2).Raw({1, 2, 3}).bytes},
        {"block past the end", Builder{}.U16(1).Entry(15, 1, 1).Raw(fourPixels).bytes},
        {"block of a later sprite short",
         Builder{}.U16(2).Entry(18, 1, 1).Entry(19, 2, 2).Raw(fourPixels).bytes},
        {"offset that wraps in 32 bits",
         Builder{}.U16(1).Entry(0xFFFFFFFF, 2, 1).Raw(fourPixels).bytes},
        {"huge block", Builder{}.U16(1).Entry(10, 0xFFFF, 0xFFFF).Raw(fourPixels).bytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurrentSpriteSet() = SpriteSet{};
        ResetRecorder();
        AddSprites({{1, 1}, {2, 2}});
        SelectLine(1);
        SetCountLabel("2 images");
        SetImageLabel("(no image)");
        const Snapshot before = Snapshot::Take();

        EXPECT_FALSE(DecodeSpriteFile(c.file));
        const std::string path = PathOf("bad.spr");
        WriteTestFile(path, c.file);
        EXPECT_FALSE(LoadSpriteFile(path));
        ExpectSameState(before, Snapshot::Take());
        ASSERT_EQ(Recorded().fileErrors.size(), 1u);
        const std::string& message = Recorded().fileErrors[0];
        EXPECT_EQ(message.rfind("Unable to read " + path + ": ", 0), 0u) << message;
        EXPECT_EQ(message.back(), '.');
    }
}

TEST_F(SpriteFile, SpritesSharingABlockTooOftenAreRefusedBeforeAllocating) {
    // 300 sprites of one shared 1 MiB block would decode to 300 MiB from a 1 MiB file.
    const std::uint32_t count = 300;
    Builder builder;
    builder.U16(count);
    const std::uint32_t blockOffset = 2 + 8 * count;
    for (std::uint32_t i = 0; i < count; ++i) {
        builder.Entry(blockOffset, 1024, 1024);
    }
    builder.bytes.resize(blockOffset + (std::size_t{1} << 20));
    const auto decoded = DecodeSpriteFile(builder.bytes);
    ASSERT_FALSE(decoded);
    EXPECT_NE(decoded.error().find("share"), std::string::npos) << decoded.error();

    // A few sprites sharing it are fine.
    builder.bytes[0] = 3;
    builder.bytes[1] = 0;
    EXPECT_TRUE(DecodeSpriteFile(builder.bytes));
}

TEST_F(SpriteFile, AMissingFileIsReportedAndChangesNothing) {
    AddSprites({{1, 1}});
    const Snapshot before = Snapshot::Take();
    const std::string path = PathOf("missing.spr");
    EXPECT_FALSE(LoadSpriteFile(path));
    ExpectSameState(before, Snapshot::Take());
    EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to open " + path + " for read."});
}

TEST_F(SpriteFile, AnEmptySetWritesNothing) {
    const std::string path = PathOf("kept.spr");
    const Bytes old = {1, 2, 3};
    WriteTestFile(path, old);
    EXPECT_FALSE(SaveSpriteFile(path));
    EXPECT_FALSE(SaveSpriteFile(PathOf("new.spr")));
    EXPECT_EQ(ReadTestFile(path), old);
    EXPECT_FALSE(std::filesystem::exists(PathOf("new.spr")));
    EXPECT_TRUE(Recorded().fileErrors.empty());
}

TEST_F(SpriteFile, OffsetsFollowTheDirectoryAndStopAtTheFieldLimits) {
    using Sizes = std::vector<std::uint32_t>;
    struct Case {
        const char* what;
        Sizes widths;
        Sizes heights;
        bool fits;
    };
    const std::uint32_t big = 0xFFFF;
    const std::vector<Case> cases = {
        {"widest and tallest", {big}, {big}, true},
        {"one too wide", {big + 1}, {1}, false},
        {"one too tall", {1}, {big + 1}, false},
        {"second block still starts below 4 GiB", {big, big}, {big, big}, true},
        {"third block would start past 4 GiB", {big, big, 1}, {big, big, 1}, false},
        // 26 + 65535² + 362² is exactly 0xFFFFFFFF, the last offset the field holds.
        {"last block starts at 0xFFFFFFFF", {big, 362, 1}, {big, 362, 1}, true},
        {"last block starts past 0xFFFFFFFF", {big, 362, 2}, {big, 363, 1}, false},
        {"65535 sprites", Sizes(big, 1), Sizes(big, 1), true},
        {"65536 sprites", Sizes(big + 1, 1), Sizes(big + 1, 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SpriteFileOffsets(c.widths, c.heights).ok(), c.fits);
    }

    const auto offsets = SpriteFileOffsets(Sizes{big, big, 3}, Sizes{big, big, 0});
    ASSERT_FALSE(offsets);  // the third, although empty, would start past 4 GiB
    const auto two = SpriteFileOffsets(Sizes{big, 3, 2}, Sizes{big, 0, 2});
    ASSERT_TRUE(two);
    EXPECT_EQ(two.value(), (std::vector<std::uint32_t>{26, 26 + big * big, 26 + big * big}));
}

TEST_F(SpriteFile, ASetTheFormatCannotHoldIsRefusedAndNothingIsWritten) {
    struct Case {
        const char* what;
        SpriteSet set;
    };
    SpriteSet tooMany;
    tooMany.count = 0x10000;
    tooMany.widths.assign(tooMany.count, 1);
    tooMany.heights.assign(tooMany.count, 1);
    tooMany.images.assign(tooMany.count, Bytes{7});
    const std::vector<Case> cases = {
        {"too many sprites", tooMany},
        {"too wide", SpriteSet{1, {0x10000}, {1}, {Bytes(0x10000, 3)}}},
        {"too tall", SpriteSet{2, {1, 1}, {1, 0x10000}, {Bytes{1}, Bytes(0x10000, 3)}}},
    };
    const std::string path = PathOf("existing.spr");
    const Bytes old = {9, 8, 7, 6};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetRecorder();
        WriteTestFile(path, old);
        CurrentSpriteSet() = c.set;
        EXPECT_FALSE(SaveSpriteFile(path));
        EXPECT_EQ(ReadTestFile(path), old);
        EXPECT_FALSE(SaveSpriteFile(PathOf("fresh.spr")));
        EXPECT_FALSE(std::filesystem::exists(PathOf("fresh.spr")));
        ASSERT_EQ(Recorded().fileErrors.size(), 2u);
        EXPECT_EQ(Recorded().fileErrors[0].rfind("Unable to write " + path + ": ", 0), 0u)
            << Recorded().fileErrors[0];
    }
    // Nothing but the one file was ever created in the folder.
    EXPECT_EQ(FolderEntries(), Lines{"existing.spr"});
}

TEST_F(SpriteFile, AFolderThatCannotTakeTheFileIsReportedAsAFailedOpen) {
    CurrentSpriteSet() = TwoSprites();
    const std::string path = PathOf("no-such-folder/out.spr");
    EXPECT_FALSE(SaveSpriteFile(path));
    EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to open " + path + " for write."});
}

TEST_F(SpriteFile, AWriteThatFailsPartWayKeepsTheOldFile) {
    const std::string path = PathOf("kept.spr");
    const Bytes old = {5, 5, 5};
    WriteTestFile(path, old);
    CurrentSpriteSet() = TwoSprites();
    FileOperations failing = SystemFileOperations();
    failing.write = [](int fd, const void* data, std::size_t size) -> ssize_t {
        if (size <= 10) {
            errno = ENOSPC;
            return -1;
        }
        return SystemFileOperations().write(fd, data, 10);
    };
    {
        ScopedFileOperations scoped(failing);
        EXPECT_FALSE(SaveSpriteFile(path));
    }
    EXPECT_EQ(Recorded().fileErrors, Lines{"Unable to write " + path + "."});
    EXPECT_EQ(ReadTestFile(path), old);
    EXPECT_EQ(FolderEntries(), Lines{"kept.spr"});
}

TEST_F(SpriteFile, AReadThatFailsPartWayChangesNothing) {
    const std::string path = PathOf("two.spr");
    CurrentSpriteSet() = TwoSprites();
    ASSERT_TRUE(SaveSpriteFile(path));
    CurrentSpriteSet() = SpriteSet{};
    AddSprites({{3, 3}});
    const Snapshot before = Snapshot::Take();
    FileOperations failing = SystemFileOperations();
    failing.read = [](int, void*, std::size_t) -> ssize_t {
        errno = EIO;
        return -1;
    };
    {
        ScopedFileOperations scoped(failing);
        EXPECT_FALSE(LoadSpriteFile(path));
    }
    ExpectSameState(before, Snapshot::Take());
    EXPECT_EQ(Recorded().fileErrors,
              Lines{"Unable to read " + path + ": the file could not be read to its end."});
}

TEST_F(SpriteFile, LoadThenInsertMixesTheTwoLineForms) {
    const std::string path = PathOf("five.spr");
    const Bytes file = Builder{}
                           .U16(5)
                           .Entry(42, 1, 1)
                           .Entry(42, 2, 1)
                           .Entry(42, 3, 1)
                           .Entry(42, 4, 1)
                           .Entry(42, 5, 1)
                           .Raw({1, 2, 3, 4, 5})
                           .bytes;
    WriteTestFile(path, file);
    ASSERT_TRUE(LoadSpriteFile(path));
    SelectLine(3);
    SetCurrentImage(9, 2);
    InsertSprite();
    EXPECT_EQ(Recorded().lines, (Lines{"#0:\t1 × 1", "#1:\t2 × 1", "#2:\t3 × 1", "#3\t9 × 2",
                                       "#4\t4 × 1", "#5\t5 × 1"}));
    EXPECT_EQ(Recorded().selectedLine, 3);
    EXPECT_EQ(Recorded().countLabel, "6 images");

    // Deleting rewrites from the deleted line on; the lines above keep their colon.
    SelectLine(1);
    DeleteSprite();
    EXPECT_EQ(Recorded().lines,
              (Lines{"#0:\t1 × 1", "#1\t3 × 1", "#2\t9 × 2", "#3\t4 × 1", "#4\t5 × 1"}));
    EXPECT_EQ(Recorded().selectedLine, 1);
}

}  // namespace
}  // namespace quorvel::testing
