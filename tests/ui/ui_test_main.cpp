#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Drawn off screen unless told otherwise, so the tests need no display, also when the
    // build runs them to list their names.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
