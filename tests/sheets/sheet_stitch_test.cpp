// Stitching sprite sets into sheets: the grid and its description, the key-colour layout, the
// way back by cutting, writing both files or neither, and the command line's checks.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "core/file_operations.h"
#include "quorvel_version.h"
#include "sheets/sheet_description.h"
#include "sheets/sheet_files.h"
#include "sprites/sprite_file.h"
#include "tests/sheets/sheet_test_support.h"
#include "tests/support/recording_window.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

struct Size {
    std::uint32_t width, height;
};
struct Point {
    std::uint32_t x, y;
};

// Sprites of these sizes, each its own pattern of working colours.
SpriteSet Sprites(const std::vector<Size>& sizes) {
    SpriteSet set;
    for (const Size& s : sizes) {
        const IndexedImage image = PaintSheet(s.width, s.height, 0, {{0, 0, s.width, s.height}});
        set.widths.push_back(s.width);
        set.heights.push_back(s.height);
        set.images.push_back(image.pixels);
    }
    set.count = static_cast<std::uint32_t>(sizes.size());
    return set;
}

// The picture's indexes as stored.
IndexedImage ReadIndexes(const std::string& path) {
    const auto decoded = png::DecodePng(ReadTestFile(path)).value();
    return {decoded.width, decoded.height, decoded.pixels};
}

// The sheet `set` should make with the sprites at `places`, the rest `fill`.
IndexedImage Expected(const SpriteSet& set, const std::vector<Point>& places, Size size,
                      std::uint8_t fill) {
    IndexedImage sheet{size.width, size.height,
                       std::vector<std::uint8_t>(std::size_t{size.width} * size.height, fill)};
    for (std::size_t i = 0; i < places.size(); ++i) {
        for (std::uint32_t y = 0; y < set.heights[i]; ++y) {
            std::memcpy(&sheet.pixels[(places[i].y + y) * size.width + places[i].x],
                        &set.images[i][y * set.widths[i]], set.widths[i]);
        }
    }
    return sheet;
}

TEST(SheetStitch, GridAndItsDescription) {
    const struct {
        std::vector<Size> sizes;
        std::optional<std::uint32_t> columns;
        std::vector<Point> places;  // each sprite's cell
        Size sheet;
    } kCases[] = {
        {{{8, 4}, {4, 6}, {0, 0}}, std::nullopt, {{0, 0}, {8, 0}, {16, 0}}, {24, 6}},
        {{{8, 4}, {4, 6}, {4, 2}}, 2, {{0, 0}, {8, 0}, {0, 6}}, {16, 12}},
        {{{8, 4}, {4, 6}}, 5, {{0, 0}, {8, 0}}, {16, 6}},
        {{{3000, 1}, {4, 2}, {4, 2}}, std::nullopt, {{0, 0}, {3000, 0}, {0, 2}}, {6000, 4}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.sheet.width);
        TempFolder folder;
        const SpriteSet set = Sprites(c.sizes);
        ResetRecorder();
        ASSERT_TRUE(WriteSheetFiles(set, folder.File("walk.png"), c.columns, false));
        EXPECT_TRUE(
            SameImage(ReadIndexes(folder.File("walk.png")), Expected(set, c.places, c.sheet, 0)));
        const auto json = ReadTestFile(folder.File("walk.json"));
        const auto frames = ParseSheetDescription(json).value();
        ASSERT_EQ(frames.size(), set.count);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const SheetFrame& f = frames[i];
            EXPECT_EQ(
                std::vector<std::int64_t>({f.x, f.y, f.width, f.height, f.placeX, f.placeY,
                                           f.canvasWidth, f.canvasHeight}),
                std::vector<std::int64_t>({c.places[i].x, c.places[i].y, set.widths[i],
                                           set.heights[i], 0, 0, set.widths[i], set.heights[i]}));
        }
        const std::string text(json.begin(), json.end());
        EXPECT_NE(text.find(R"("filename":"walk 1","frame")"), std::string::npos);
        EXPECT_NE(text.find(R"("rotated":false,"trimmed":false)"), std::string::npos);
        EXPECT_NE(text.find(R"("duration":100)"), std::string::npos);
        EXPECT_NE(text.find(R"("meta": {"app":"quorvel","version":")" QUORVEL_VERSION
                            R"(","image":"walk.png","format":"I8","size":{"w":)" +
                            std::to_string(c.sheet.width) + R"(,"h":)" +
                            std::to_string(c.sheet.height) + R"(},"scale":"1"})"),
                  std::string::npos);
    }
}

TEST(SheetStitch, KeyLayoutWrapsBefore800AndLeavesOutEmptySprites) {
    const struct {
        std::vector<Size> sizes;
        std::vector<Point> places;  // of the sprites with pixels
        Size sheet;
    } kCases[] = {
        {{{390, 10}, {390, 20}, {12, 5}}, {{5, 5}, {400, 5}, {5, 30}}, {795, 40}},
        {{{900, 4}, {4, 4}}, {{5, 5}, {5, 14}}, {910, 23}},
        {{{0, 0}, {4, 4}, {4, 0}, {8, 2}}, {{5, 5}, {14, 5}}, {27, 14}},
    };
    for (const auto& c : kCases) {
        TempFolder folder;
        SpriteSet set = Sprites(c.sizes), shown;
        for (std::uint32_t i = 0; i < set.count; ++i) {
            if (set.widths[i] != 0 && set.heights[i] != 0) {
                shown.widths.push_back(set.widths[i]);
                shown.heights.push_back(set.heights[i]);
                shown.images.push_back(set.images[i]);
            }
        }
        ASSERT_TRUE(WriteSheetFiles(set, folder.File("k.png"), std::nullopt, true));
        EXPECT_TRUE(
            SameImage(ReadIndexes(folder.File("k.png")), Expected(shown, c.places, c.sheet, 100)));
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"k.png"});
    }
}

// Stitching and cutting again gives back the same file, for grids through their description
// and for key-colour sheets, in both picture formats.
TEST(SheetStitch, CuttingAgainGivesBackTheSameFile) {
    const std::vector<std::uint8_t> grid =
        EncodeSpriteFile(Sprites({{8, 4}, {0, 0}, {12, 9}, {4, 0}})).value();
    const std::vector<std::uint8_t> key =
        EncodeSpriteFile(Sprites({{8, 4}, {12, 9}, {4, 3}})).value();
    for (const char* picture : {"s.png", "s.bmp"}) {
        for (const bool byKey : {false, true}) {
            SCOPED_TRACE(std::string(picture) + (byKey ? " key" : " grid"));
            TempFolder folder;
            const auto& file = byKey ? key : grid;
            WriteTestFile(folder.File("in.spr"), file);
            ResetRecorder();
            ASSERT_EQ(StitchSpriteFile(folder.File("in.spr"), folder.File(picture), 3, byKey), 0u);
            std::optional<SheetLayout> layout;
            if (byKey) {
                layout = SheetLayout{SheetLayoutKind::Key};
            }
            ASSERT_TRUE(CutSheetFile(folder.File(picture), layout, ConversionMode::Dither,
                                     BlackHandling::KeepVisible, folder.File("out.spr")));
            EXPECT_EQ(ReadTestFile(folder.File("out.spr")), file);
        }
    }
}

TEST(SheetStitch, WritesBothFilesOrNeither) {
    const SpriteSet set = Sprites({{4, 4}});
    for (const bool earlier : {false, true}) {
        TempFolder folder;
        if (earlier) {
            WriteTestFile(folder.File("s.json"), {'o', 'l', 'd'});
        }
        FileOperations failing = SystemFileOperations();
        failing.rename = [](const char* from, const char* to) {
            const std::string target = to;
            return target.substr(target.size() - 4) == ".png"
                       ? (errno = EIO, -1)
                       : SystemFileOperations().rename(from, to);
        };
        ResetRecorder();
        {
            const ScopedFileOperations installed(failing);
            EXPECT_FALSE(WriteSheetFiles(set, folder.File("s.png"), std::nullopt, false));
        }
        EXPECT_EQ(Recorded().fileErrors,
                  std::vector<std::string>{"Unable to write " + folder.File("s.png") + "."});
        EXPECT_EQ(folder.Entries(),
                  earlier ? std::vector<std::string>{"s.json"} : std::vector<std::string>{});
        if (earlier) {
            EXPECT_EQ(ReadTestFile(folder.File("s.json")),
                      std::vector<std::uint8_t>({'o', 'l', 'd'}));
        }
    }
    TempFolder folder;
    WriteTestFile(folder.File("none.spr"), EncodeSpriteFile(SpriteSet{}).value());
    ResetRecorder();
    EXPECT_FALSE(
        StitchSpriteFile(folder.File("none.spr"), folder.File("s.png"), std::nullopt, false));
    EXPECT_EQ(Recorded().fileErrors,
              std::vector<std::string>{"Unable to stitch " + folder.File("none.spr") +
                                       ": it holds no sprites."});
}

TEST(SheetCommand, ChecksItsCommandLine) {
    TempFolder folder;
    const std::string in = folder.File("in.spr"), png = folder.File("s.png");
    WriteTestFile(in, EncodeSpriteFile(Sprites({{4, 4}, {0, 0}, {8, 2}, {0, 3}})).value());
    const std::vector<std::vector<std::string>> kWrong = {
        {"--grid", "0x2", png, in},
        {"--cell", "4", png, in},
        {"--border", "1", png, in},
        {"--grid", "2x2", "--spacing", "-1", png, in},
        {"--grid", "2x2", "--cell", "2x2", png, in},
        {"--key", "--grid", "2x2", png, in},
        {"--columns", "2", png, in},
        {"--grid"},
        {"--stitch", "--dither", in, png},
        {"--stitch", "--keep-black", in, png},
        {"--stitch", "--key", "--columns", "2", in, png},
        {"--stitch", "--columns", "0", in, png},
        {"--stitch", "--grid", "2x2", in, png},
    };
    for (const auto& arguments : kWrong) {
        std::vector<std::string> line = {"sheet"};
        line.insert(line.end(), arguments.begin(), arguments.end());
        const Outcome outcome = RunProgram(QUORVEL_CLI_PATH, line, folder);
        EXPECT_EQ(outcome.status, 2) << line[1] << " " << line[2];
        EXPECT_NE(outcome.err.find("Usage: quorvel-cli sheet"), std::string::npos);
    }
    const Outcome keyed =
        RunProgram(QUORVEL_CLI_PATH, {"sheet", "--stitch", "--key", in, png}, folder);
    EXPECT_EQ(keyed.status, 0);
    EXPECT_NE(keyed.err.find("2 sprites without pixels are left out"), std::string::npos);
    const Outcome cut = RunProgram(QUORVEL_CLI_PATH, {"sheet", "--cell=9x7", png, in}, folder);
    EXPECT_EQ(cut.status, 0) << cut.err;
}

}  // namespace
}  // namespace quorvel::testing
