#pragma once
// The About box of the window menu: dialog template 100, closed by OK, Enter or Escape.

#include <windows.h>

namespace quorvel {

void ShowAboutBox(HWND owner);

}  // namespace quorvel
