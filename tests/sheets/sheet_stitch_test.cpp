// Stitching sprite sets into sheets: the grid and its description, the key-colour layout, the
// way back by cutting, writing both files or neither, and the command line's checks.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "core/file_operations.h"
#include "quorvel_version.h"
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
    for (const auto& [width, height] : sizes) {
        set.widths.push_back(width);
        set.heights.push_back(height);
        set.images.push_back(PaintSheet(width, height, 0, {{0, 0, width, height}}).pixels);
    }
    set.count = static_cast<std::uint32_t>(sizes.size());
    return set;
}

// Whether the PNG file holds the sheet `set` should make with each sprite at its place (any
// place for one without pixels), the rest `fill`.
bool Holds(const std::string& path, const SpriteSet& set, const std::vector<Point>& places,
           Size size, std::uint8_t fill) {
    IndexedImage sheet{size.width, size.height,
                       std::vector<std::uint8_t>(std::size_t{size.width} * size.height, fill)};
    for (std::size_t i = 0; i < places.size(); ++i) {
        for (std::uint32_t y = 0; y < set.heights[i] && set.widths[i] != 0; ++y) {
            std::memcpy(&sheet.pixels[(places[i].y + y) * size.width + places[i].x],
                        &set.images[i][y * set.widths[i]], set.widths[i]);
        }
    }
    const auto decoded = png::DecodePng(ReadTestFile(path)).value();
    return SameImage({decoded.width, decoded.height, decoded.pixels}, sheet);
}

// Each row: the sprites, the columns asked for or the key-colour layout (0), where each sprite
// goes and the sheet's size; cutting again checks a grid's frames in its description.
TEST(SheetStitch, GridWithItsDescriptionOrKeyLayoutWrappingAt800) {
    const std::optional<std::uint32_t> one = std::nullopt, key = 0;
    const struct {
        std::vector<Size> sizes;
        std::optional<std::uint32_t> columns;
        std::vector<Point> places;
        Size sheet;
    } kCases[] = {
        {{{8, 4}, {4, 6}, {0, 0}}, one, {{0, 0}, {8, 0}, {16, 0}}, {24, 6}},
        {{{8, 4}, {4, 6}, {4, 2}}, 2, {{0, 0}, {8, 0}, {0, 6}}, {16, 12}},
        {{{8, 4}, {4, 6}}, 5, {{0, 0}, {8, 0}}, {16, 6}},
        {{{3000, 1}, {4, 2}, {4, 2}}, one, {{0, 0}, {3000, 0}, {0, 2}}, {6000, 4}},
        {{{390, 1}, {396, 2}, {389, 1}}, key, {{5, 5}, {5, 11}, {406, 11}}, {800, 18}},
        {{{0, 0}, {900, 4}, {4, 0}, {4, 4}}, key, {{}, {5, 5}, {}, {5, 14}}, {910, 23}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(&c - kCases);
        TempFolder folder;
        const SpriteSet set = Sprites(c.sizes);
        const bool byKey = c.columns == key;
        ASSERT_TRUE(WriteSheetFiles(set, folder.File("walk.png"), byKey ? one : c.columns, byKey));
        EXPECT_TRUE(Holds(folder.File("walk.png"), set, c.places, c.sheet, byKey ? 100 : 0));
        if (byKey) {
            EXPECT_EQ(folder.Entries(), std::vector<std::string>{"walk.png"});
            continue;
        }
        const auto json = ReadTestFile(folder.File("walk.json"));
        const std::string meta = R"("meta": {"app":"quorvel","version":")" QUORVEL_VERSION
                                 R"(","image":"walk.png","format":"I8","size":{"w":)" +
                                 std::to_string(c.sheet.width) + R"(,"h":)" +
                                 std::to_string(c.sheet.height) + R"(},"scale":"1"})";
        for (const char* part : {R"("filename":"walk 1","frame")", R"("duration":100)",
                                 R"("rotated":false,"trimmed":false)", meta.c_str()}) {
            EXPECT_NE(std::string(json.begin(), json.end()).find(part), std::string::npos) << part;
        }
    }
}

// Stitching and cutting again gives back the same file, for grids through their description
// and for key-colour sheets, in both picture formats.
TEST(SheetStitch, CuttingAgainGivesBackTheSameFile) {
    const auto grid = EncodeSpriteFile(Sprites({{8, 4}, {0, 0}, {12, 9}, {4, 0}})).value(),
               key = EncodeSpriteFile(Sprites({{8, 4}, {12, 9}, {4, 3}})).value();
    for (const auto& [picture, byKey] : {std::pair{"s.png", false}, std::pair{"s.png", true},
                                         std::pair{"s.bmp", false}, std::pair{"s.bmp", true}}) {
        SCOPED_TRACE(std::string(picture) + (byKey ? " key" : " grid"));
        TempFolder folder;
        WriteTestFile(folder.File("in.spr"), byKey ? key : grid);
        ASSERT_EQ(StitchSpriteFile(folder.File("in.spr"), folder.File(picture), 3, byKey), 0u);
        const auto layout = byKey ? std::optional(SheetLayout{SheetLayoutKind::Key}) : std::nullopt;
        ASSERT_TRUE(CutSheetFile(folder.File(picture), layout, ConversionMode::Dither,
                                 BlackHandling::KeepVisible, folder.File("out.spr")));
        EXPECT_EQ(ReadTestFile(folder.File("out.spr")), byKey ? key : grid);
    }
}

TEST(SheetStitch, WritesBothFilesOrNeither) {
    FileOperations failing = SystemFileOperations();
    failing.rename = [](const char* from, const char* to) {
        return std::string(to).ends_with(".png") ? (errno = EIO, -1)
                                                 : SystemFileOperations().rename(from, to);
    };
    TempFolder folder;
    WriteText(folder.File("s.json"), "old");
    ResetRecorder();
    const ScopedFileOperations installed(failing);
    EXPECT_FALSE(WriteSheetFiles(Sprites({{4, 4}}), folder.File("s.png"), {}, false));
    EXPECT_EQ(Recorded().fileErrors,
              std::vector<std::string>{"Unable to write " + folder.File("s.png") + "."});
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"s.json"});
    EXPECT_EQ(ReadTestFile(folder.File("s.json")), std::vector<std::uint8_t>({'o', 'l', 'd'}));
}

TEST(SheetCommand, ChecksItsCommandLine) {
    TempFolder folder;
    const std::string in = folder.File("in.spr"), png = folder.File("s.png");
    WriteTestFile(in, EncodeSpriteFile(Sprites({{4, 4}, {0, 0}, {8, 2}, {0, 3}})).value());
    // Rows apart by "|"; P and S stand for the picture and the sprite file.
    std::istringstream rows(
        "--grid 0x2 P S|--cell 4 P S|--border 1 P S|--grid 2x2 --spacing -1 P S|--grid|"
        "--grid 2x2 --cell 2x2 P S|--key --grid 2x2 P S|--columns 2 P S|--stitch --dither S P|"
        "--stitch --keep-black S P|--stitch --key --columns 2 S P|--stitch --columns 0 S P|"
        "--stitch --grid 2x2 S P");
    for (std::string arguments; std::getline(rows, arguments, '|');) {
        std::vector<std::string> line = {"sheet"};
        std::istringstream words(arguments);
        for (std::string word; words >> word;) {
            line.push_back(word == "P" ? png : word == "S" ? in : word);
        }
        const Outcome outcome = RunProgram(QUORVEL_CLI_PATH, line, folder);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_NE(outcome.err.find("Usage: quorvel-cli sheet"), std::string::npos);
    }
    const Outcome k = RunProgram(QUORVEL_CLI_PATH, {"sheet", "--stitch", "--key", in, png}, folder);
    EXPECT_EQ(k.status, 0);
    EXPECT_NE(k.err.find("2 sprites without pixels are left out"), std::string::npos);
    WriteTestFile(in, EncodeSpriteFile(SpriteSet{}).value());
    const Outcome none = RunProgram(QUORVEL_CLI_PATH, {"sheet", "--stitch", in, png}, folder);
    EXPECT_NE(none.err.find("Unable to stitch " + in + ": it holds no sprites."),
              std::string::npos);
    const Outcome cut = RunProgram(QUORVEL_CLI_PATH, {"sheet", "--cell=9x7", png, in}, folder);
    EXPECT_EQ(cut.status, 0) << cut.err;
}

}  // namespace
}  // namespace quorvel::testing
