#pragma once
// The window the shared commands act on, realised on the main dialog's controls: its radio
// group, sprite list and labels, the window menu's check item, the common file dialogs, the
// message boxes and the clipboard. It acts on the dialog given to Attach; before that, and
// after the dialog is gone, the controls' calls reach nothing.

#include <windows.h>

#include <memory>

#include "ui/commands/window_port.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/message_boxes.h"

namespace quorvel {

class DialogWindowPort final : public WindowPort {
  public:
    DialogWindowPort(std::unique_ptr<FileDialogs> fileDialogs,
                     std::unique_ptr<MessageBoxes> messageBoxes);
    void Attach(HWND dialog) { dialog_ = dialog; }

    // Dialogs and boxes, owned by the dialog.
    std::optional<ChosenFile> ChooseFile(FileKind kind, FileAction action) override;
    std::vector<ChosenFile> ChoosePictures() override;
    void ShowFileError(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    std::optional<SheetGrid> AskSheetGrid() override;
    bool EnterFolder(const std::string& folder) override;

    // The list box, by its messages.
    std::string LineText(std::int32_t index) const override;
    void AppendLine(const std::string& text) override;
    void ReplaceLine(std::int32_t index, const std::string& text) override;
    void DeleteLine(std::int32_t index) override;
    void ClearLines() override;
    std::int32_t SelectedLine() const override;
    void SelectLine(std::int32_t index) override;

    // The other controls and the window menu's check item.
    void SetImageLabel(const std::string& text) override;
    void SetCountLabel(const std::string& text) override;
    void CheckMode(ConversionMode mode) override;
    ConversionMode CheckedMode() const override;
    BlackHandling KeepBlackItem() const override;
    void RequestRepaint() override;

    std::vector<std::uint8_t> PictureOnClipboard() override;
    void PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) override;

  private:
    LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam) const;
    int ShowBox(const std::string& text, const wchar_t* caption, UINT style);

    HWND dialog_ = nullptr;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<MessageBoxes> messageBoxes_;
};

}  // namespace quorvel
