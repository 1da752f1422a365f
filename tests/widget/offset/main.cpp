#include "platform/Platform.h"

#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// The widget tests of this program run on Qt's offscreen plugin with two screens, the primary
// one not at (0, 0) and a second monitor to its right.
int main(int argc, char** argv) {
    QTemporaryFile config;
    if (!config.open())
        return 2;
    config.write(R"({"screens": [
        {"name": "primary", "x": 1000, "y": 300, "width": 1024, "height": 768,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1},
        {"name": "right", "x": 2024, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication application(argc, argv);
    preparePlatformApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
