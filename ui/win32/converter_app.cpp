#include "ui/win32/converter_app.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "ui/win32/main_dialog.h"

namespace quorvel {

int ConverterApp::Run() {
    // The buttons, list and texts in the current visual style (common controls 6, named by
    // the manifest).
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // The window runs its own message loop until it is closed; nothing else keeps the program
    // alive, so the program ends with it.
    MainDialog window;
    window.RunModal();
    return 0;
}

}  // namespace quorvel
