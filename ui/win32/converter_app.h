#pragma once
// The application object: prepares the controls, shows the main window and ends the program
// when it closes.

namespace quorvel {

class ConverterApp {
  public:
    int Run();
};

}  // namespace quorvel
