#pragma once
// A window for the commands, kept in memory: scripted dialogs and answers, and a list, labels,
// choices and clipboard to read back. Entering a folder really changes the working folder.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"
#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"
#include "ui/commands/window_commands.h"

namespace quorvel::testing {

using Lines = std::vector<std::string>;
using enum ConversionMode;
using enum BlackHandling;

// The next scripted answer; none left is a cancel or No.
template <typename T>
T Next(std::deque<T>& queue) {
    if (queue.empty()) {
        return T{};
    }
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

struct FakeWindow final : WindowPort {
    std::optional<ChosenFile> ChooseFile(FileKind kind, FileAction action) override {
        asked += std::string(1, "PSL"[static_cast<int>(kind)]) +
                 (action == FileAction::Open ? "<" : ">");
        return Next(files);
    }
    std::vector<ChosenFile> ChoosePictures() override { return Next(pictureChoices); }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        return Next(answers);
    }
    void ShowFileError(const std::string& text) override { errors.push_back(text); }
    bool EnterFolder(const std::string& folder) override {
        std::error_code error;
        std::filesystem::current_path(PathOf(folder.empty() ? "." : folder), error);
        return !error;
    }

    ConversionMode CheckedMode() const override { return checked; }
    void CheckMode(ConversionMode mode) override {
        checked = mode;
        ++choiceRefreshes;
    }
    BlackHandling KeepBlackItem() const override { return keepBlack; }

    std::int32_t SelectedLine() const override { return selected; }
    std::string LineText(std::int32_t index) const override { return lines.at(std::size_t(index)); }
    void ClearLines() override {
        lines.clear();
        selected = -1;
    }
    void AppendLine(const std::string& text) override { lines.push_back(text); }
    void DeleteLine(std::int32_t index) override {
        if (index >= 0 && std::size_t(index) < lines.size()) {
            lines.erase(lines.begin() + index);
        }
        // As in a list control: the selection goes with its line and moves up with the lines.
        selected = selected == index ? -1 : selected - (selected > index);
    }
    void ReplaceLine(std::int32_t index, const std::string& text) override {
        lines.at(std::size_t(index)) = text;
    }
    void SelectLine(std::int32_t index) override { selected = index; }
    void SetCountLabel(const std::string& text) override { countLabel = text; }
    void SetImageLabel(const std::string& text) override { imageLabel = text; }
    void RequestRepaint() override { ++repaints; }

    void PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) override {
        clipboard.assign(bitmapFile.begin(), bitmapFile.end());
    }
    std::vector<std::uint8_t> PictureOnClipboard() override { return clipboard; }
    std::optional<SheetGrid> AskSheetGrid() override { return grid; }
    std::optional<SheetGrid> grid;

    // Scripted.
    std::deque<std::optional<ChosenFile>> files;
    std::deque<std::vector<ChosenFile>> pictureChoices;
    std::deque<bool> answers;
    ConversionMode checked = Nearest;
    BlackHandling keepBlack = AsSearched;
    std::vector<std::uint8_t> clipboard;

    // Seen.
    std::string asked;  // the file dialogs: P, S or L for the kind, < to open and > to save
    Lines questions, errors, lines;
    std::int32_t selected = -1;
    std::string countLabel = "0 images", imageLabel = "(no image)";
    int repaints = 0, choiceRefreshes = 0;
};

// The commands on a fake window, in a fresh temporary folder that is the working folder, from no
// current image and an empty set.
class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::current_path(folder_.path());
        CurrentImage() = IndexedImage{};
        CurrentSpriteSet() = SpriteSet{};
    }
    void TearDown() override { std::filesystem::current_path(folder_.path().parent_path()); }

    void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::filesystem::create_directories(folder_.path() / PathOf(path).parent_path());
        WriteTestFile(folder_.File(path), bytes);
    }
    // The file `path` of the temporary folder as a dialog gives it.
    ChosenFile Chosen(const std::string& path) const {
        const std::filesystem::path full = folder_.path() / PathOf(path);
        return {Utf8Of(full.parent_path()), Utf8Of(full.filename())};
    }

    TempFolder folder_;
    FakeWindow window_;
    WindowCommands commands_{window_};
};

}  // namespace quorvel::testing
