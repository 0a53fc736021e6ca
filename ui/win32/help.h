#pragma once
// The help page, help.html beside the program, opened in the user's browser. F1 in the main
// window and the Help buttons of the file dialogs lead here.

#include <windows.h>

namespace quorvel {

void ShowHelp(HWND owner);

}  // namespace quorvel
