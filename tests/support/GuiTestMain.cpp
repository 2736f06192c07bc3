#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows under test need no display unless a developer asks for one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
