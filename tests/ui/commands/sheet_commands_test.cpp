// The sheet and palette commands, through a fake window: how a sheet's layout is found, the
// frames going in as one undo step, and the files written out.

#include <filesystem>

#include "tests/sheets/sheet_test_support.h"
#include "tests/ui/commands/fake_window.h"

namespace quorvel::testing {
namespace {

constexpr const char* kTwoFrames =
    R"({"frames": [{"frame": {"x": 0, "y": 0, "w": 4, "h": 2}},
                   {"frame": {"x": 4, "y": 0, "w": 4, "h": 3}}], "meta": {}})";

// The picture chosen (written first unless "gone"), the grid the user gives, then the sizes of
// the sprites that go in before the selected second one, and the message shown.
TEST_F(CommandsTest, ImportSheetFindsTheLayoutAndAddsTheFramesAsOneStep) {
    const IndexedImage eight = PaintSheet(8, 3, 0, {{0, 0, 8, 3}});
    const IndexedImage keyed = PaintSheet(20, 12, 100, {{5, 5, 4, 2}, {12, 5, 3, 3}});
    const std::tuple<const char*, std::optional<SheetGrid>, const char*, const char*> rows[] = {
        {"frames.png", std::nullopt, "4x2 4x3", ""},  // by frames.json
        {"keyed.bmp", std::nullopt, "4x2 4x3", ""},
        {"grid.bmp", SheetGrid{2, 1}, "4x3 4x3", ""},
        {"grid.bmp", std::nullopt, "", ""},  // the grid dialog cancelled
        {"grid.bmp", SheetGrid{3, 1}, "",
         "Unable to cut grid.bmp: a grid of 3 × 1 does not "
         "divide 8 × 3."},
    };
    WriteSheet(eight, "frames.png");
    Write("frames.json", std::vector<std::uint8_t>(kTwoFrames, kTwoFrames + strlen(kTwoFrames)));
    WriteSheet(keyed, "keyed.bmp");
    WriteSheet(eight, "grid.bmp");
    for (const auto& [picture, grid, added, error] : rows) {
        SCOPED_TRACE(picture);
        CurrentSpriteSet() = SpriteSet{};
        window_.ClearLines();
        CurrentImage() = PatternImage(8, 3);
        commands_.OnAddSprite(), commands_.OnAddSprite();
        window_.SelectLine(1);
        std::tie(window_.files, window_.grid, window_.errors) =
            std::tuple(std::deque{std::optional(Chosen(picture))}, grid, Lines{});
        commands_.OnImportSheet();
        std::string sizes;
        const SpriteSet& set = CurrentSpriteSet();
        for (std::uint32_t i = 1; i + 1 < set.count; ++i) {
            sizes += (i > 1 ? " " : "") + std::to_string(set.widths[i]) + "x" +
                     std::to_string(set.heights[i]);
        }
        EXPECT_EQ(std::tuple(sizes, window_.errors, window_.lines.size(), CurrentImage().width),
                  std::tuple(added, *error ? Lines{error} : Lines{}, set.count, 8u));
        if (*added != 0) {
            commands_.OnUndo();
            EXPECT_EQ(CurrentSpriteSet().count, 2u);
        }
    }
}

// Export Sheet writes the picture and its JSON file; Export Palette the format the name says.
TEST_F(CommandsTest, ExportSheetAndPaletteWriteTheChosenFiles) {
    CurrentImage() = PatternImage(4, 2);
    commands_.OnAddSprite();
    window_.files = {Chosen("out.png"), Chosen("c1.act"), Chosen("c1.txt")};
    commands_.OnExportSheet();
    commands_.OnExportPalette();
    commands_.OnExportPalette();
    EXPECT_EQ(window_.asked, "P>L>L>");
    EXPECT_TRUE(std::filesystem::exists("out.png") && std::filesystem::exists("out.json"));
    EXPECT_EQ(std::filesystem::file_size("c1.act"), 768u);
    EXPECT_EQ(window_.errors,
              Lines{"Unable to write c1.txt: a palette file must end in .gpl, .act or .pal."});
}

}  // namespace
}  // namespace quorvel::testing
