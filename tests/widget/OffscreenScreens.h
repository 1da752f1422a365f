#pragma once

#include "platform/Platform.h"

#include <QApplication>
#include <QByteArray>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// Runs the tests of this program on Qt's offscreen plugin with the screens `screensJson`
// describes (the plugin's configuration: names, places, sizes, device pixel ratios).
inline int RunTestsOnOffscreenScreens(int argc, char** argv, const QByteArray& screensJson) {
    QTemporaryFile config;
    if (!config.open())
        return 2;
    config.write(screensJson);
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication application(argc, argv);
    preparePlatformApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
