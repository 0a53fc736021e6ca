// The window services as the main window provides them. Every call acts on the one open
// MainDialog; while there is none, the list and labels have nowhere to go and their calls do
// nothing, while a file error is still shown.

#include "core/window_services.h"

#include "win32/main_dialog.h"
#include "win32/resource.h"
#include "win32/wide_text.h"

namespace quorvel {

namespace {

HWND OpenWindow() {
    const MainDialog* dialog = MainDialog::Instance();
    return dialog != nullptr ? dialog->Handle() : nullptr;
}

LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = OpenWindow();
    return window != nullptr ? SendDlgItemMessageW(window, IDC_SPRITE_LIST, message, wParam, lParam)
                             : LB_ERR;
}

void SetLabel(int control, const std::string& text) {
    if (HWND window = OpenWindow()) {
        SetDlgItemTextW(window, control, Utf8ToWide(text).c_str());
    }
}

}  // namespace

void ShowFileError(const std::string& text) {
    constexpr UINT kStyle = MB_OK | MB_ICONERROR;
    if (MainDialog* dialog = MainDialog::Instance()) {
        dialog->ShowMessage(Utf8ToWide(text), L"File Error", kStyle);
    } else {
        MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"File Error", kStyle | MB_TASKMODAL);
    }
}

void RequestRepaint() {
    if (HWND window = OpenWindow()) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

std::int32_t GetSelectedLine() {
    return static_cast<std::int32_t>(SendToList(LB_GETCURSEL, 0, 0));  // LB_ERR is -1
}

void ClearLines() {
    SendToList(LB_RESETCONTENT, 0, 0);
}

void AppendLine(const std::string& text) {
    const std::wstring line = Utf8ToWide(text);
    SendToList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));  // unsorted: at the end
}

void DeleteLine(std::int32_t index) {
    SendToList(LB_DELETESTRING, static_cast<WPARAM>(index), 0);  // fails past the end
}

void SelectLine(std::int32_t index) {
    SendToList(LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetCountLabel(const std::string& text) {
    SetLabel(IDC_COUNT_LABEL, text);
}

void SetImageLabel(const std::string& text) {
    SetLabel(IDC_IMAGE_LABEL, text);
}

void RefreshChoice() {
    if (MainDialog* dialog = MainDialog::Instance(); dialog != nullptr && dialog->Handle()) {
        dialog->RefreshChoice();
    }
}

}  // namespace quorvel
