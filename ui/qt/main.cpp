#include "ui/qt/converter_app.h"

int main(int argc, char** argv) {
    quorvel::ConverterApp app(argc, argv);
    return app.Run();
}
