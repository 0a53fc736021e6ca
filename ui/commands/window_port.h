#pragma once
// What the window commands need of a window, and all they know of it. Each toolkit's main
// window realises this once; the commands, written once, run in both windows and in the tests
// through a fake. Texts and paths are UTF-8.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/black_handling.h"
#include "core/conversion_mode.h"
#include "core/file_access.h"

namespace quorvel {

// A file the user picked, split where the window's system splits paths. An empty folder means
// the working folder itself.
struct ChosenFile {
    std::string folder;
    std::string name;
};

// The columns and rows of a sheet whose layout the user gives, each from 1 to kLargestSheetGrid.
struct SheetGrid {
    std::uint32_t columns = 1;
    std::uint32_t rows = 1;
};
inline constexpr std::uint32_t kLargestSheetGrid = 1024;

class WindowPort {
  public:
    virtual ~WindowPort() = default;

    // The open or save dialog for `kind`; nothing when the user cancelled. A save dialog has
    // already refused read-only targets and confirmed replacing a file.
    virtual std::optional<ChosenFile> ChooseFile(FileKind kind, FileAction action) = 0;
    // The picture open dialog with multiple selection: the chosen files, all in one folder, or
    // none when the user cancelled.
    virtual std::vector<ChosenFile> ChoosePictures() = 0;
    // The modal "Sheet Grid" dialog; nothing when the user cancelled.
    virtual std::optional<SheetGrid> AskSheetGrid() = 0;
    // A modal Yes/No question whose default answer is No.
    virtual bool AskYesNo(const std::string& question) = 0;
    // The modal "File Error" box.
    virtual void ShowFileError(const std::string& text) = 0;

    // Makes `folder` the working folder; false, with nothing changed, when it cannot be entered.
    virtual bool EnterFolder(const std::string& folder) = 0;

    // The radio group and the "Keep Black Visible" item, read and set.
    virtual ConversionMode CheckedMode() const = 0;
    virtual void CheckMode(ConversionMode mode) = 0;
    virtual BlackHandling KeepBlackItem() const = 0;

    // The sprite list: text lines in insertion order, at most one selected.
    virtual std::int32_t SelectedLine() const = 0;  // -1 when none
    virtual std::string LineText(std::int32_t index) const = 0;
    virtual void ClearLines() = 0;
    virtual void AppendLine(const std::string& text) = 0;
    virtual void DeleteLine(std::int32_t index) = 0;  // past the end: ignored
    virtual void ReplaceLine(std::int32_t index, const std::string& text) = 0;  // keeps selection
    virtual void SelectLine(std::int32_t index) = 0;  // -1 clears the selection

    virtual void SetCountLabel(const std::string& text) = 0;
    virtual void SetImageLabel(const std::string& text) = 0;
    // Marks the preview for repainting; the paint follows from the event loop.
    virtual void RequestRepaint() = 0;

    // The clipboard. A picture is handed over as the bytes of a picture file: an 8-bit bitmap
    // going out; a bitmap or a PNG file coming in, empty when the clipboard holds no picture.
    virtual void PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) = 0;
    virtual std::vector<std::uint8_t> PictureOnClipboard() = 0;
};

}  // namespace quorvel
