#pragma once
// The program's items in the window menu (the title bar's menu, Alt+Space), after the system's
// own: "Keep Black Visible", the Edit submenu, the two background commands and About, each
// group after a separator, with the texts of commands/window_menu.h.

#include <windows.h>

#include <optional>

#include "ui/commands/window_menu.h"

namespace quorvel {

// Adds the items to the window menu of `window`; "Keep Black Visible" starts unchecked.
void AddProgramItems(HWND window);

// The Edit command of a menu item's id (its low four bits ignored), or nothing.
std::optional<EditCommand> EditCommandOfItem(UINT id);

// Greys the Edit items that cannot run now, enables the others.
void UpdateEditItems(HWND window, const WindowCommands& commands);

// Whether "Keep Black Visible" is checked, and checking or unchecking it.
bool KeepBlackChecked(HWND window);
void ToggleKeepBlackItem(HWND window);

}  // namespace quorvel
