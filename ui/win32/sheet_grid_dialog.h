#pragma once
// "Sheet Grid" (dialog template 104): asks how many columns and rows of frames a sheet holds
// when nothing beside the picture or in its corner says so.

#include <windows.h>

#include <optional>

#include "ui/commands/window_port.h"

namespace quorvel {

// Runs the dialog modally over `owner`; the grid, or nothing when the user cancelled.
std::optional<SheetGrid> AskSheetGrid(HWND owner);

}  // namespace quorvel
