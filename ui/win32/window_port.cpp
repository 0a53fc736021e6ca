#include "ui/win32/window_port.h"

#include <utility>

#include "ui/win32/clipboard.h"
#include "ui/win32/resource.h"
#include "ui/win32/sheet_grid_dialog.h"
#include "ui/win32/system_menu.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/working_folder.h"

namespace quorvel {

DialogWindowPort::DialogWindowPort(std::unique_ptr<FileDialogs> fileDialogs,
                                   std::unique_ptr<MessageBoxes> messageBoxes)
    : fileDialogs_(fileDialogs ? std::move(fileDialogs) : std::make_unique<CommonFileDialogs>()),
      messageBoxes_(messageBoxes ? std::move(messageBoxes)
                                 : std::make_unique<SystemMessageBoxes>()) {}

std::optional<ChosenFile> DialogWindowPort::ChooseFile(FileKind kind, FileAction action) {
    const std::wstring path = fileDialogs_->Choose(dialog_, kind, action);
    if (FileNameOf(path).empty()) {
        return std::nullopt;
    }
    return ChosenFileOf(path);
}

std::vector<ChosenFile> DialogWindowPort::ChoosePictures() {
    return ChosenFilesOf(fileDialogs_->ChoosePictures(dialog_));
}

int DialogWindowPort::ShowBox(const std::string& text, const wchar_t* caption, UINT style) {
    return messageBoxes_->Show(dialog_, Utf8ToWide(text), caption, style);
}

void DialogWindowPort::ShowFileError(const std::string& text) {
    ShowBox(text, L"File Error", MB_OK | MB_ICONERROR);
}

std::optional<SheetGrid> DialogWindowPort::AskSheetGrid() {
    return quorvel::AskSheetGrid(dialog_);
}

bool DialogWindowPort::AskYesNo(const std::string& question) {
    return ShowBox(question, L"quorvel", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

bool DialogWindowPort::EnterFolder(const std::string& folder) {
    return folder.empty() || SetCurrentDirectoryW(Utf8ToWide(folder).c_str()) != FALSE;
}

LRESULT DialogWindowPort::SendToList(UINT message, WPARAM wParam, LPARAM lParam) const {
    return dialog_ != nullptr
               ? SendDlgItemMessageW(dialog_, IDC_SPRITE_LIST, message, wParam, lParam)
               : LB_ERR;
}

std::string DialogWindowPort::LineText(std::int32_t index) const {
    const auto at = static_cast<WPARAM>(index);
    const LRESULT length = SendToList(LB_GETTEXTLEN, at, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendToList(LB_GETTEXT, at, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return WideToUtf8(text);
}

void DialogWindowPort::AppendLine(const std::string& text) {
    const std::wstring line = Utf8ToWide(text);
    SendToList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));  // unsorted: at the end
}

// The list box has no message that changes a line's text, so the line is put in again.
void DialogWindowPort::ReplaceLine(std::int32_t index, const std::string& text) {
    const std::int32_t selected = SelectedLine();
    const std::wstring line = Utf8ToWide(text);
    if (SendToList(LB_DELETESTRING, static_cast<WPARAM>(index), 0) == LB_ERR) {
        return;
    }
    SendToList(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.c_str()));
    SelectLine(selected);
}

void DialogWindowPort::DeleteLine(std::int32_t index) {
    SendToList(LB_DELETESTRING, static_cast<WPARAM>(index), 0);  // fails past the end
}

void DialogWindowPort::ClearLines() {
    SendToList(LB_RESETCONTENT, 0, 0);
}

std::int32_t DialogWindowPort::SelectedLine() const {
    return static_cast<std::int32_t>(SendToList(LB_GETCURSEL, 0, 0));  // LB_ERR is -1
}

void DialogWindowPort::SelectLine(std::int32_t index) {
    SendToList(LB_SETCURSEL, static_cast<WPARAM>(index), 0);  // -1 selects none
}

void DialogWindowPort::SetImageLabel(const std::string& text) {
    SetDlgItemTextW(dialog_, IDC_IMAGE_LABEL, Utf8ToWide(text).c_str());
}

void DialogWindowPort::SetCountLabel(const std::string& text) {
    SetDlgItemTextW(dialog_, IDC_COUNT_LABEL, Utf8ToWide(text).c_str());
}

void DialogWindowPort::CheckMode(ConversionMode mode) {
    CheckRadioButton(dialog_, IDC_NEAREST_COLOR, IDC_DIFFUSION_DITHER,
                     mode == ConversionMode::Dither ? IDC_DIFFUSION_DITHER : IDC_NEAREST_COLOR);
}

ConversionMode DialogWindowPort::CheckedMode() const {
    return IsDlgButtonChecked(dialog_, IDC_DIFFUSION_DITHER) == BST_CHECKED
               ? ConversionMode::Dither
               : ConversionMode::Nearest;
}

BlackHandling DialogWindowPort::KeepBlackItem() const {
    return KeepBlackChecked(dialog_) ? BlackHandling::KeepVisible : BlackHandling::AsSearched;
}

void DialogWindowPort::RequestRepaint() {
    if (dialog_ != nullptr) {  // a null window would mean every window
        InvalidateRect(dialog_, nullptr, FALSE);
    }
}

std::vector<std::uint8_t> DialogWindowPort::PictureOnClipboard() {
    return PictureFileOnClipboard(dialog_);
}

void DialogWindowPort::PutPictureOnClipboard(std::span<const std::uint8_t> bitmapFile) {
    PutBitmapFileOnClipboard(dialog_, bitmapFile);
}

}  // namespace quorvel
