#include <windows.h>

#include "win32/converter_app.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    return quorvel::ConverterApp().Run();
}
