#pragma once
// A window for the commands, kept in memory: scripted file dialogs and answers, and a list,
// labels, choices and clipboard that tests read back. Entering a folder really changes the
// working folder, since the file functions open names relative to it.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/commands/window_port.h"

namespace quorvel::testing {

struct FakeWindow final : WindowPort {
    std::optional<ChosenFile> ChooseFile(FileKind kind, FileAction action) override {
        asked.push_back({kind, action});
        return Next(files).value_or(std::nullopt);
    }
    std::vector<ChosenFile> ChoosePictures() override {
        asked.push_back({FileKind::Picture, FileAction::Open});
        return Next(pictureChoices).value_or(std::vector<ChosenFile>{});
    }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        return Next(answers).value_or(false);
    }
    void ShowFileError(const std::string& text) override { errors.push_back(text); }
    bool EnterFolder(const std::string& folder) override {
        std::error_code error;
        if (!folder.empty()) {
            std::filesystem::current_path(folder, error);
        }
        return !error;
    }

    ConversionMode CheckedMode() const override { return checked; }
    void CheckMode(ConversionMode mode) override {
        checked = mode;
        ++choiceRefreshes;
    }
    BlackHandling KeepBlackItem() const override { return keepBlack; }

    std::int32_t SelectedLine() const override { return selected; }
    std::string LineText(std::int32_t index) const override { return lines.at(Index(index)); }
    void ClearLines() override {
        lines.clear();
        selected = -1;
    }
    void AppendLine(const std::string& text) override { lines.push_back(text); }
    void DeleteLine(std::int32_t index) override {
        if (index < 0 || Index(index) >= lines.size()) {
            return;
        }
        lines.erase(lines.begin() + index);
        // As in a list control: the selection goes with its line and moves up with the lines.
        if (selected >= index) {
            selected = selected == index ? -1 : selected - 1;
        }
    }
    void ReplaceLine(std::int32_t index, const std::string& text) override {
        lines.at(Index(index)) = text;
    }
    void SelectLine(std::int32_t index) override { selected = index; }
    void SetCountLabel(const std::string& text) override { countLabel = text; }
    void SetImageLabel(const std::string& text) override { imageLabel = text; }
    void RequestRepaint() override { ++repaints; }

    void PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) override {
        clipboard.assign(bitmapFile.begin(), bitmapFile.end());
    }
    std::vector<std::uint8_t> PictureOnClipboard() override { return clipboard; }

    template <typename T>
    static std::optional<T> Next(std::deque<T>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        T next = std::move(queue.front());
        queue.pop_front();
        return next;
    }
    static std::size_t Index(std::int32_t index) { return static_cast<std::size_t>(index); }

    // Scripted: each dialog or question takes the next answer; none left is a cancel or No.
    std::deque<std::optional<ChosenFile>> files;
    std::deque<std::vector<ChosenFile>> pictureChoices;
    std::deque<bool> answers;
    ConversionMode checked = ConversionMode::Nearest;
    BlackHandling keepBlack = BlackHandling::AsSearched;
    std::vector<std::uint8_t> clipboard;

    // Seen.
    std::vector<std::pair<FileKind, FileAction>> asked;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> lines;
    std::int32_t selected = -1;
    std::string countLabel = "0 images";
    std::string imageLabel = "(no image)";
    int repaints = 0;
    int choiceRefreshes = 0;
};

}  // namespace quorvel::testing
