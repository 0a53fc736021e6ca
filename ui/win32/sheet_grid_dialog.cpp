#include "ui/win32/sheet_grid_dialog.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include "ui/win32/resource.h"

namespace quorvel {

namespace {

constexpr int kFields[] = {IDC_SHEET_COLUMNS, IDC_SHEET_ROWS};
constexpr int kArrows[] = {IDC_SHEET_COLUMNS_ARROWS, IDC_SHEET_ROWS_ARROWS};

void StartFields(HWND dialog) {
    for (const int arrows : kArrows) {
        SendDlgItemMessageW(dialog, arrows, UDM_SETRANGE32, 1, kLargestSheetGrid);
        SendDlgItemMessageW(dialog, arrows, UDM_SETPOS32, 0, 1);
    }
}

// The two numbers into `grid`, or, when one is out of range, a word to the user and the focus
// on that field.
bool ReadFields(HWND dialog, SheetGrid& grid) {
    std::uint32_t* values[] = {&grid.columns, &grid.rows};
    for (int i = 0; i < 2; ++i) {
        BOOL read = FALSE;
        const UINT value = GetDlgItemInt(dialog, kFields[i], &read, FALSE);
        if (!read || value < 1 || value > kLargestSheetGrid) {
            MessageBoxW(dialog, L"Enter a number from 1 to 1024.", L"Sheet Grid",
                        MB_OK | MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(dialog, kFields[i]));
            SendDlgItemMessageW(dialog, kFields[i], EM_SETSEL, 0, -1);
            return false;
        }
        *values[i] = value;
    }
    return true;
}

INT_PTR CALLBACK SheetGridProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        StartFields(dialog);
        return TRUE;  // the focus goes to the first field
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    auto* grid = reinterpret_cast<SheetGrid*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (LOWORD(wParam) == IDOK && ReadFields(dialog, *grid)) {
        EndDialog(dialog, IDOK);
    } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
    }
    return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
}

}  // namespace

std::optional<SheetGrid> AskSheetGrid(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    SheetGrid grid;
    const INT_PTR answer =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SHEET_GRID), owner,
                        SheetGridProc, reinterpret_cast<LPARAM>(&grid));
    return answer == IDOK ? std::optional(grid) : std::nullopt;
}

}  // namespace quorvel
