#include "ui/qt/converter_app.h"

#include "quorvel_version.h"
#include "ui/qt/app_resources.h"
#include "ui/qt/main_dialog.h"

namespace quorvel {

ConverterApp::ConverterApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("quorvel"));
    setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    setDesktopFileName(
        QStringLiteral("io.github.quorvel.quorvel"));  // ties the windows to the desktop entry
    InitResources();
    setWindowIcon(ApplicationIcon());
}

int ConverterApp::Run() {
    MainDialog window;
    // The window runs its own event loop until it is closed; nothing else keeps the program
    // alive, so the program ends with it.
    window.exec();
    return 0;
}

}  // namespace quorvel
