// The commands that change the sprite set, undo and redo, and the clipboard, through a fake
// window.

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "ui/commands/window_commands.h"
#include "core/bitmap_writer.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/ui/commands/fake_window.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {
namespace {

using Lines = std::vector<std::string>;

// Four sprites of 1 × 1 to 4 × 4, loaded from a file, so their lines carry the colon.
const SpriteSet kFour{4,
                      {1, 2, 3, 4},
                      {1, 2, 3, 4},
                      {PatternImage(1, 1).pixels, PatternImage(2, 2).pixels,
                       PatternImage(3, 3).pixels, PatternImage(4, 4).pixels}};

class EditCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::current_path(folder_.path());
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
        WriteTestFile("four.spr", EncodeSpriteFile(kFour).value());
        window_.files.push_back(ChosenFile{"", "four.spr"});
        commands_.OnLoadSprites();
    }
    void TearDown() override { std::filesystem::current_path(folder_.path().parent_path()); }

    // Everything undo must put back, and what it must leave alone.
    auto State() const {
        const SpriteSet& set = CurrentSpriteSet();
        return std::tuple(set.count, set.widths, set.heights, set.images, window_.lines,
                          window_.selected, window_.countLabel, HasUnsavedSprites());
    }
    auto Untouched() const {
        return std::tuple(CurrentImage().pixels, window_.imageLabel, window_.checked,
                          window_.choiceRefreshes, window_.repaints);
    }
    void WritePicture(const std::string& name, std::uint32_t width, std::uint32_t height) {
        WriteTestFile(name, EncodeBitmap(PatternImage(width, height)).value());
    }

    TempFolder folder_;
    FakeWindow window_;
    WindowCommands commands_{window_};
};

struct EditCase {
    const char* name;
    std::int32_t selected;
    std::function<void(WindowCommands&)> command;
    Lines lines;  // afterwards
    std::int32_t selectedAfter;
};

TEST_F(EditCommands, EachChangeIsOneStepThatUndoAndRedoPutBackExactly) {
    using C = WindowCommands;
    const auto pictures = [](C& c) { c.OnAddPictures(); };
    const EditCase cases[] = {
        {"add",
         1,
         &C::OnAddSprite,
         {"#0:\t1 × 1", "#1:\t2 × 2", "#2:\t3 × 3", "#3:\t4 × 4", "#4\t5 × 2"},
         1},
        {"insert",
         1,
         &C::OnInsertSprite,
         {"#0:\t1 × 1", "#1\t5 × 2", "#2\t2 × 2", "#3\t3 × 3", "#4\t4 × 4"},
         1},
        {"delete", 0, &C::OnDeleteSprite, {"#0\t2 × 2", "#1\t3 × 3", "#2\t4 × 4"}, 0},
        {"delete last", 3, &C::OnDeleteSprite, {"#0:\t1 × 1", "#1:\t2 × 2", "#2:\t3 × 3"}, 2},
        {"replace",
         2,
         &C::OnReplaceSprite,
         {"#0:\t1 × 1", "#1:\t2 × 2", "#2\t5 × 2", "#3:\t4 × 4"},
         2},
        {"up", 2, &C::OnMoveSpriteUp, {"#0:\t1 × 1", "#1\t3 × 3", "#2\t2 × 2", "#3:\t4 × 4"}, 1},
        {"down",
         0,
         &C::OnMoveSpriteDown,
         {"#0\t2 × 2", "#1\t1 × 1", "#2:\t3 × 3", "#3:\t4 × 4"},
         1},
        // In natural order, before the selected sprite or after the last.
        {"pictures",
         1,
         pictures,
         {"#0:\t1 × 1", "#1\t4 × 1", "#2\t8 × 2", "#3\t12 × 3", "#4\t2 × 2", "#5\t3 × 3",
          "#6\t4 × 4"},
         1},
        {"pictures at the end",
         -1,
         pictures,
         {"#0:\t1 × 1", "#1:\t2 × 2", "#2:\t3 × 3", "#3:\t4 × 4", "#4\t4 × 1", "#5\t8 × 2",
          "#6\t12 × 3"},
         -1},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        WritePicture("b10.bmp", 12, 3);
        WritePicture("b9.bmp", 8, 2);
        WritePicture("a.bmp", 4, 1);
        window_.pictureChoices.push_back(
            {{"", "b10.bmp"}, {folder_.File("."), "a.bmp"}, {"", "b9.bmp"}});
        CurrentImage() = PatternImage(5, 2);
        window_.SelectLine(c.selected);
        const auto before = State();
        c.command(commands_);
        const auto after = State();
        EXPECT_EQ(std::tuple(window_.lines, window_.selected, window_.errors),
                  std::tuple(c.lines, c.selectedAfter, Lines{}));
        EXPECT_TRUE(commands_.CanUndo());
        window_.checked = ConversionMode::Dither;  // a choice that only a refresh would undo
        const auto untouched = Untouched();
        for (int round = 0; round < 2; ++round) {
            commands_.OnUndo();
            EXPECT_EQ(State(), before);
            EXPECT_FALSE(commands_.CanUndo());
            commands_.OnRedo();
            EXPECT_EQ(State(), after);
            EXPECT_FALSE(commands_.CanRedo());
        }
        EXPECT_EQ(Untouched(), untouched);
    }
}

TEST_F(EditCommands, WhatChangesNothingLeavesNoStep) {
    const std::function<void(WindowCommands&)> commands[] = {
        &WindowCommands::OnAddSprite,         &WindowCommands::OnInsertSprite,
        &WindowCommands::OnDeleteSprite,      &WindowCommands::OnReplaceSprite,
        &WindowCommands::OnMoveSpriteUp,      &WindowCommands::OnMoveSpriteDown,
        &WindowCommands::OnCopySpriteToImage,
        &WindowCommands::OnAddPictures,  // cancelled
    };
    // Without a selection, with an image without pixels.
    window_.SelectLine(-1);
    CurrentImage() = PatternImage(4, 0);
    for (const auto& command : commands) {
        command(commands_);
    }
    // With a selection: no image to add or put in its place, no sprite past either end.
    window_.SelectLine(0);
    for (const auto& command : {commands[0], commands[1], commands[3], commands[4], commands[6]}) {
        command(commands_);
    }
    window_.SelectLine(3);
    commands_.OnMoveSpriteDown();
    EXPECT_FALSE(commands_.CanUndo());
    EXPECT_EQ(CurrentSpriteSet().widths, kFour.widths);
}

// A failing picture is reported and stops the whole command before the set changes.
TEST_F(EditCommands, AddPicturesIsAllOrNothingAndEntersTheirFolder) {
    std::filesystem::create_directory("in");
    WritePicture("in/1.bmp", 4, 4);
    WriteTestFile("in/2.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    window_.pictureChoices.push_back({{folder_.File("in"), "1.bmp"}, {"", "2.png"}});
    window_.pictureChoices.push_back({{folder_.File("gone"), "1.bmp"}});
    const auto before = State();
    commands_.OnAddPictures();
    commands_.OnAddPictures();
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(commands_.CanUndo());
    ASSERT_EQ(window_.errors.size(), 2u);
    EXPECT_EQ(window_.errors[0].rfind("Unable to read 2.png: ", 0), 0u) << window_.errors[0];
    EXPECT_EQ(window_.errors[1], CannotOpenForRead("1.bmp"));
    EXPECT_EQ(std::filesystem::current_path(), folder_.path() / "in");
}

// After each action: whether closing would ask before dropping the set.
TEST_F(EditCommands, ASetUndoneOrRedoneToItsSavedPointCountsAsSaved) {
    CurrentImage() = PatternImage(4, 4);
    window_.SelectLine(1);
    const auto save = [this](WindowCommands& c) {
        window_.files.push_back(ChosenFile{"", "saved.spr"});
        c.OnSaveSprites();
    };
    const std::pair<std::function<void(WindowCommands&)>, bool> steps[] = {
        {&WindowCommands::OnDeleteSprite, true},  {save, false},
        {&WindowCommands::OnAddSprite, true},     {&WindowCommands::OnUndo, false},
        {&WindowCommands::OnUndo, true},          {&WindowCommands::OnRedo, false},
        {&WindowCommands::OnUndo, true},  // and a new step: the saved point is gone for good
        {&WindowCommands::OnReplaceSprite, true}, {&WindowCommands::OnUndo, true},
    };
    for (const auto& [step, asks] : steps) {
        step(commands_);
        window_.questions.clear();
        window_.answers.push_back(false);
        EXPECT_EQ(commands_.MayClose(), !asks) << &step - &steps[0].first;
        EXPECT_EQ(window_.questions.size(), asks ? 1u : 0u);
        window_.answers.clear();
    }
}

TEST(EditHistory, KeepsTheNewestStepsWithinItsLimits) {
    const auto step = [](std::size_t bytes) {
        EditStep s;
        s.after.sprites.push_back({1, 1, std::vector<std::uint8_t>(bytes)});
        return s;
    };
    struct Case {
        std::size_t stepLimit, budget;
        std::vector<std::size_t> steps;  // pixel bytes of each
        int undoable;
    };
    for (const Case& c : {Case{3, 1000, {1, 1, 1, 1, 1}, 3}, Case{100, 250, {100, 100, 100}, 2},
                          Case{100, 250, {100, 300}, 1}, Case{100, 250, {0, 0, 0}, 3}}) {
        EditHistory history(c.stepLimit, c.budget);
        for (const std::size_t bytes : c.steps) {
            history.Push(step(bytes));
        }
        int undone = 0;
        for (; history.CanUndo(); ++undone) {
            static_cast<void>(history.Undo());
        }
        EXPECT_EQ(undone, c.undoable) << c.stepLimit << " " << c.budget;
        // The start is the saved point, out of reach once a step has been dropped.
        EXPECT_EQ(history.AtSavedPoint(), undone == static_cast<int>(c.steps.size()));
    }
}

// Copy hands out an 8-bit bitmap in the game palette; paste reduces what it gets as "Load"
// would, reading the radio group and keep-black first. It is no change to the set.
TEST_F(EditCommands, TheClipboardCarriesPicturesBothWays) {
    const IndexedImage image = CurrentImage() = PatternImage(8, 3);
    commands_.OnCopyImage();
    EXPECT_EQ(window_.clipboard, EncodeBitmap(image).value());

    const std::vector<std::uint8_t> png = ReadTestFile(QUORVEL_PNG_DATA "/noise-37x23.png");
    struct Case {
        std::vector<std::uint8_t> clipboard;
        ConversionMode mode;
        BlackHandling black;
        std::string error;  // how the one message starts
    };
    const Case cases[] = {
        {png, ConversionMode::Nearest, BlackHandling::KeepVisible, ""},
        {png, ConversionMode::Dither, BlackHandling::AsSearched, ""},
        {EncodeBitmap(image).value(), ConversionMode::Dither, BlackHandling::AsSearched, ""},
        {{}, ConversionMode::Dither, BlackHandling::AsSearched, ""},
        {{'B', 'M', 1},
         ConversionMode::Nearest,
         BlackHandling::AsSearched,
         "Unable to paste the picture: "},
    };
    for (const Case& c : cases) {
        CurrentImage() = PatternImage(2, 2);
        window_.clipboard = c.clipboard;
        window_.checked = c.mode;
        window_.keepBlack = c.black;
        window_.errors.clear();
        commands_.OnPasteImage();
        const Result<IndexedImage> pasted = DecodePicture(c.clipboard, c.mode, c.black);
        EXPECT_EQ(commands_.conversionMode(), c.mode);
        EXPECT_EQ(CurrentImage().pixels,
                  pasted ? pasted.value().pixels : PatternImage(2, 2).pixels);
        EXPECT_EQ(window_.errors.empty() ? "" : window_.errors[0].substr(0, c.error.size()),
                  c.error);
    }
    EXPECT_EQ(std::tuple(window_.imageLabel, commands_.CanUndo()),
              std::tuple(std::string("(8 × 3)"), false));
}

}  // namespace
}  // namespace quorvel::testing
