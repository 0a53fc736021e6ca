#pragma once
// Qt's key events in the terms of the window commands' key table.

#include "ui/commands/window_menu.h"

class QKeyEvent;

namespace quorvel {

Key KeyOf(const QKeyEvent& event);
unsigned ModifiersOf(const QKeyEvent& event);  // kControl, kShift, kAlt

}  // namespace quorvel
