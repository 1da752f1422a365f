#include "platform/Platform.h"

#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// The widget tests of this program run on Qt's offscreen plugin with three screens side by
// side, of device pixel ratios 1, 1.5 and 2 (a laptop's panel beside two monitors).
int main(int argc, char** argv) {
    QTemporaryFile config;
    if (!config.open())
        return 2;
    config.write(R"({"screens": [
        {"name": "ratio-2", "x": 0, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 2},
        {"name": "ratio-1.5", "x": 1000, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1.5},
        {"name": "ratio-1", "x": 2000, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication application(argc, argv);
    preparePlatformApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
