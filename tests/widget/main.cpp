#include "platform/Platform.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widget tests run on Qt's offscreen plugin: real widgets, real fonts, no display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    preparePlatformApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
