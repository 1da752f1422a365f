#include "app/AppController.h"
#include "app/AppPaths.h"
#include "app/SingleInstance.h"
#include "base/Version.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {
// `--version` and `--help` answer with one line and end the program; any other argument is
// ignored.
bool answeredCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Jolvex %s\n", ProgramVersion);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("用法：jolvex [--version] [--help]  "
                        "启动表情工具条；再次启动时显示已运行的工具条。\n");
            return true;
        }
    }
    return false;
}
} // namespace

int main(int argc, char** argv) {
    if (answeredCommandLine(argc, argv))
        return 0;
    preparePlatformProcess();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jolvex"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/jolvex.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    preparePlatformApplication();
    // The program speaks Chinese whatever the locale: Qt's own buttons ("是", "否", "确定") too.
    QTranslator qtTranslations;
    if (qtTranslations.load(QStringLiteral("qtbase_zh_CN"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    const AppPaths paths = AppPaths::locate(QCoreApplication::applicationFilePath());
    // A second start for the same library brings the running bar back and ends.
    SingleInstance instance(paths.dataDir);
    if (!instance.isFirst())
        return 0;
    AppController controller(paths);
    QObject::connect(&instance, &SingleInstance::calledBack, &controller,
                     [&controller] { controller.bringBack(); });
    return QApplication::exec();
}
