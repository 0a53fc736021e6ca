#include <windows.h>

#include "ui/win32/converter_app.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    return quorvel::ConverterApp().Run();
}
