#include "ui/win32/system_menu.h"

#include <iterator>

#include "ui/win32/resource.h"
#include "ui/win32/wide_text.h"

namespace quorvel {

namespace {

constexpr UINT kEditItemStep = 16;  // the system keeps the low four bits of an id

UINT EditItemId(std::size_t row) {
    return IDM_EDIT_FIRST + kEditItemStep * static_cast<UINT>(row);
}

void AddItem(HMENU menu, UINT flags, UINT_PTR id, const char* text) {
    AppendMenuW(menu, flags, id, Utf8ToWide(text).c_str());
}

HMENU BuildEditMenu() {
    HMENU edit = CreatePopupMenu();
    for (std::size_t row = 0; row < std::size(kEditMenu); ++row) {
        if (kEditMenu[row].command == EditCommand::None) {
            AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
        } else {
            AddItem(edit, MF_STRING, EditItemId(row), kEditMenu[row].text);
        }
    }
    return edit;
}

}  // namespace

void AddProgramItems(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AddItem(menu, MF_STRING, IDM_KEEP_BLACK, kKeepBlackItem);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AddItem(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildEditMenu()), kEditMenuText);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AddItem(menu, MF_STRING, IDM_MAKE_BACKGROUND, kMakeBackgroundItem);
    AddItem(menu, MF_STRING, IDM_EXPORT_BACKGROUND, kExportBackgroundItem);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AddItem(menu, MF_STRING, IDM_IMPORT_SHEET, kImportSheetItem);
    AddItem(menu, MF_STRING, IDM_EXPORT_SHEET, kExportSheetItem);
    AddItem(menu, MF_STRING, IDM_EXPORT_PALETTE, kExportPaletteItem);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AddItem(menu, MF_STRING, IDM_ABOUT, kAboutItem);
}

std::optional<EditCommand> EditCommandOfItem(UINT id) {
    id &= 0xFFF0;
    if (id < IDM_EDIT_FIRST) {
        return std::nullopt;
    }
    const std::size_t row = (id - IDM_EDIT_FIRST) / kEditItemStep;
    if (row >= std::size(kEditMenu) || kEditMenu[row].command == EditCommand::None) {
        return std::nullopt;
    }
    return kEditMenu[row].command;
}

void UpdateEditItems(HWND window, const WindowCommands& commands) {
    HMENU menu = GetSystemMenu(window, FALSE);
    for (std::size_t row = 0; row < std::size(kEditMenu); ++row) {
        const EditCommand command = kEditMenu[row].command;
        if (command != EditCommand::None) {
            const bool can = CanRunEditCommand(commands, command);
            EnableMenuItem(menu, EditItemId(row), MF_BYCOMMAND | (can ? MF_ENABLED : MF_GRAYED));
        }
    }
}

bool KeepBlackChecked(HWND window) {
    const UINT state = GetMenuState(GetSystemMenu(window, FALSE), IDM_KEEP_BLACK, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void ToggleKeepBlackItem(HWND window) {
    CheckMenuItem(GetSystemMenu(window, FALSE), IDM_KEEP_BLACK,
                  MF_BYCOMMAND | (KeepBlackChecked(window) ? MF_UNCHECKED : MF_CHECKED));
}

}  // namespace quorvel
