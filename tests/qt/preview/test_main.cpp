#include <gtest/gtest.h>

#include <QGuiApplication>

// The preview paints into images; a GUI application object gives Qt its image plugins. The tests
// need no screen: without a platform chosen (as when CTest lists the tests) they run offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
