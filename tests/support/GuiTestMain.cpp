#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Windows under test need no display unless a developer asks for one;
    // the offscreen screen is a common desktop's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", K52_TEST_SCREEN);
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
