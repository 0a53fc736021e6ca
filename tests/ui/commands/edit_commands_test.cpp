// The commands that change the sprite set, undo and redo, and the clipboard, through a fake
// window.

#include <sstream>
#include <tuple>

#include "core/bitmap_writer.h"
#include "tests/ui/commands/fake_window.h"

namespace quorvel::testing {
namespace {

using C = WindowCommands;

// Add, Insert, Delete, Replace, Move Up and Down, Copy to Image, Add Pictures, Undo, Redo, Save
// and Load, a letter each; and (o) a dropped sprite file.
constexpr std::string_view kCodes = "aidr^vcpzysl";
constexpr void (C::*kCommands[])() = {
    &C::OnAddSprite,    &C::OnInsertSprite,   &C::OnDeleteSprite,      &C::OnReplaceSprite,
    &C::OnMoveSpriteUp, &C::OnMoveSpriteDown, &C::OnCopySpriteToImage, &C::OnAddPictures,
    &C::OnUndo,         &C::OnRedo,           &C::OnSaveSprites,       &C::OnLoadSprites};

// List lines written short, numbered in turn: "2:" is "#i:\t2 × 2", "5x2" is "#i\t5 × 2".
Lines Expand(const std::string& code) {
    Lines lines;
    std::istringstream words(code);
    for (std::string w; words >> w;) {
        const bool colon = w.back() == ':';
        w.resize(w.size() - colon);
        const std::size_t x = w.find('x');
        lines.push_back("#" + std::to_string(lines.size()) + (colon ? ":\t" : "\t") +
                        w.substr(0, x) + " × " + (x == w.npos ? w : w.substr(x + 1)));
    }
    return lines;
}

// From four sprites of 1 × 1 to 4 × 4 loaded from a file, so that their lines carry the colon.
class EditCommands : public CommandsTest {
  protected:
    void SetUp() override {
        CommandsTest::SetUp();
        SpriteSet four{4, {1, 2, 3, 4}, {1, 2, 3, 4}, {}};
        for (const std::uint32_t side : four.widths) {
            four.images.push_back(PatternImage(side, side).pixels);
        }
        Write("four.spr", EncodeSpriteFile(four).value());
        window_.files = {ChosenFile{"", "four.spr"}};
        commands_.OnLoadSprites();
        for (const auto& [name, width] : {std::pair("a", 4u), {"b9", 8u}, {"b10", 12u}}) {
            Write("in/" + std::string(name) + ".bmp",
                  EncodeBitmap(PatternImage(width, width / 4)).value());
        }
    }
    void Run(const std::string& codes) {
        for (const char code : codes) {
            window_.files = {ChosenFile{"", "saved.spr"}};  // for Save and Load
            code == 'o' ? commands_.OpenDroppedFile({"", "saved.spr"})
                        : (commands_.*kCommands[kCodes.find(code)])();
        }
    }
    // Everything undo must put back.
    auto State() const {
        const SpriteSet& set = CurrentSpriteSet();
        return std::tuple(set.count, set.widths, set.heights, set.images, window_.lines,
                          window_.selected, window_.countLabel, HasUnsavedSprites());
    }
};

// Each change shows its lines, selection and count, refreshes the radio group once, and is one
// step that undo and redo put back exactly, leaving the image, its label and the choice alone.
// Pictures go in natural order before the selected sprite, or after the last.
TEST_F(EditCommands, EachChangeIsOneStepThatUndoAndRedoPutBack) {
    // The selected line, the command, the lines afterwards, the line then selected, repaints.
    const std::tuple<std::int32_t, char, const char*, std::int32_t, int> cases[] = {
        {1, 'a', "1: 2: 3: 4: 5x2", 1, 1},
        {1, 'i', "1: 5x2 2 3 4", 1, 1},
        {-1, 'i', "1: 2: 3: 4: 5x2", -1, 1},
        {0, 'd', "2 3 4", 0, 0},
        {3, 'd', "1: 2: 3:", 2, 0},
        {2, 'r', "1: 2: 5x2 4:", 2, 1},
        {2, '^', "1: 3 2 4:", 1, 0},
        {0, 'v', "2 1 3: 4:", 1, 0},
        {1, 'p', "1: 4x1 8x2 12x3 2 3 4", 1, 1},
        {-1, 'p', "1: 2: 3: 4: 4x1 8x2 12x3", -1, 1}};
    for (const auto& [selected, command, code, selectedAfter, repaints] : cases) {
        SCOPED_TRACE(std::string{command} + code);
        SetUp();
        window_.pictureChoices = {{Chosen("in/b10.bmp"), {"", "a.bmp"}, {"", "b9.bmp"}}};
        CurrentImage() = PatternImage(5, 2);
        window_.SelectLine(selected);
        const auto before = State();
        std::tie(window_.countLabel, window_.choiceRefreshes, window_.repaints) =
            std::tuple("stale", 0, 0);
        Run({command});
        EXPECT_EQ(std::tuple(window_.lines, window_.selected, window_.errors, window_.countLabel,
                             window_.choiceRefreshes, window_.repaints),
                  std::tuple(Expand(code), selectedAfter, Lines{},
                             std::to_string(Expand(code).size()) + " images", 1, repaints));
        const SpriteSet& set = CurrentSpriteSet();
        for (std::uint32_t i = 0; i < set.count; ++i) {  // each sprite with its own pixels
            EXPECT_EQ(set.images[i], PatternImage(set.widths[i], set.heights[i]).pixels) << i;
        }
        const auto after = State();
        // Dither: a choice that only a refresh would undo.
        std::tie(window_.checked, window_.choiceRefreshes, window_.repaints) =
            std::tuple(Dither, 0, 0);
        for (int round = 0; round < 2; ++round) {
            commands_.OnUndo();
            EXPECT_EQ(std::tuple(State(), commands_.CanUndo()), std::tuple(before, false));
            commands_.OnRedo();
            EXPECT_EQ(std::tuple(State(), commands_.CanRedo()), std::tuple(after, false));
        }
        EXPECT_EQ(std::tuple(CurrentImage().pixels, window_.imageLabel, window_.checked,
                             window_.choiceRefreshes, window_.repaints),
                  std::tuple(PatternImage(5, 2).pixels, std::string("(no image)"), Dither, 0, 0));
    }
}

// With an image without pixels nothing is added or put in place; without a selection or past
// either end nothing is deleted, replaced, moved or copied. Add Pictures cancelled, or stopped by
// a picture it cannot read, which it reports, entering the pictures' folder.
TEST_F(EditCommands, WhatChangesNothingLeavesNoStep) {
    Write("in/2.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    window_.pictureChoices = {{Chosen("in/a.bmp"), {"", "2.png"}}, {Chosen("gone/a.bmp")}, {}};
    CurrentImage() = PatternImage(4, 0);
    const auto before = State();
    for (const auto& [selected, codes] : {std::pair(0, "air^c"), {3, "v"}, {-1, "dr^vcppp"}}) {
        window_.SelectLine(selected);
        Run(codes);
    }
    EXPECT_EQ(std::tuple(State(), commands_.CanUndo()), std::tuple(before, false));
    ASSERT_EQ(window_.errors.size(), 2u);
    EXPECT_EQ(Lines({window_.errors[0].substr(0, 22), window_.errors[1]}),
              Lines({"Unable to read 2.png: ", CannotOpenForRead("a.bmp")}));
    EXPECT_EQ(std::filesystem::current_path(), folder_.path() / "in");
}

// After each step: whether closing asks first (?), and whether redo can run (>). A new step after
// an undo drops the saved point and the redo; a dropped or loaded set asks, and No keeps it.
TEST_F(EditCommands, ASetUndoneOrRedoneToItsSavedPointCountsAsSaved) {
    CurrentImage() = PatternImage(4, 4);
    window_.SelectLine(1);
    std::istringstream steps("d? s a? z> z?> y> z?> r? z?> o?> l?>");
    for (std::string step; steps >> step;) {
        Run(step.substr(0, 1));
        window_.questions.clear();
        window_.answers = {false};
        const bool mayClose = commands_.MayClose(), asks = step.find('?') != step.npos;
        EXPECT_EQ(std::tuple(mayClose, window_.questions.size(), commands_.CanRedo()),
                  std::tuple(!asks, asks ? 1u : 0u, step.find('>') != step.npos))
            << steps.tellg();
    }
}

// Steps of the given pixel bytes, kept while at most three and within 250 bytes, the newest
// always. The start counts as saved, out of reach once a step has been dropped.
TEST(EditHistory, KeepsTheNewestStepsWithinItsLimits) {
    const std::pair<std::vector<std::size_t>, int> cases[] = {
        {{1, 1, 1, 1, 1}, 3}, {{100, 100, 100}, 2}, {{100, 300}, 1}, {{0, 0, 0}, 3}};
    for (const auto& [steps, kept] : cases) {
        EditHistory history(3, 250);
        for (const std::size_t bytes : steps) {
            history.Push({0, {}, {{{1, 1, std::vector<std::uint8_t>(bytes)}}, {}, -1}});
        }
        int undone = 0;
        for (; history.CanUndo(); ++undone) {
            static_cast<void>(history.Undo());
        }
        EXPECT_EQ(std::tuple(undone, history.AtSavedPoint()),
                  std::tuple(kept, kept == static_cast<int>(steps.size())));
    }
}

// Copy hands out an 8-bit bitmap in the game palette; paste reduces what it gets as "Load" would,
// reading the radio group and keep-black first, and changes no sprite. Nothing there: no error.
TEST_F(EditCommands, TheClipboardCarriesPicturesBothWays) {
    CurrentImage() = PatternImage(8, 3);
    commands_.OnCopyImage();
    const std::vector<std::uint8_t> bitmap = window_.clipboard,
                                    png = ReadTestFile(QUORVEL_PNG_DATA "/noise-37x23.png");
    EXPECT_EQ(bitmap, EncodeBitmap(PatternImage(8, 3)).value());
    using Case = std::tuple<std::vector<std::uint8_t>, ConversionMode, BlackHandling>;
    const Case cases[] = {{png, Nearest, KeepVisible},
                          {png, Dither, AsSearched},
                          {bitmap, Dither, AsSearched},
                          {{}, Dither, AsSearched},
                          {{'B', 'M', 1}, Nearest, AsSearched}};
    for (const auto& [clipboard, mode, black] : cases) {
        CurrentImage() = PatternImage(2, 2);
        window_.clipboard = clipboard;
        std::tie(window_.checked, window_.keepBlack) = std::tuple(mode, black);
        commands_.OnPasteImage();
        const Result<IndexedImage> pasted = DecodePicture(clipboard, mode, black);
        EXPECT_EQ(std::tuple(commands_.conversionMode(), CurrentImage().pixels),
                  std::tuple(mode, (pasted ? pasted.value() : PatternImage(2, 2)).pixels));
    }
    EXPECT_EQ(std::tuple(window_.imageLabel, commands_.CanUndo(), window_.errors.size()),
              std::tuple(std::string("(8 × 3)"), false, 1u));  // the last bitmap's size
    EXPECT_TRUE(window_.errors.at(0).starts_with("Unable to paste the picture: "));
}

}  // namespace
}  // namespace quorvel::testing
