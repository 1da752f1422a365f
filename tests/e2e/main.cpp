#include <QGuiApplication>

#include <gtest/gtest.h>

// The test process itself draws nothing: it measures text with the offscreen plugin and drives
// the program on its private X server from outside.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
