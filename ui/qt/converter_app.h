#pragma once
// The application object: starts the program, shows the main window, and ends the program
// when that window closes.

#include <QApplication>

namespace quorvel {

class ConverterApp : public QApplication {
  public:
    ConverterApp(int& argc, char** argv);

    // Shows the main window and returns once it has been closed.
    int Run();
};

}  // namespace quorvel
