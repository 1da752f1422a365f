#include "app/AppController.h"
#include "app/SingleInstance.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

// The program reads no command line of its own.
int main(int argc, char** argv) {
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

    // A second start for the same program folder brings the running bar back and ends.
    SingleInstance instance(QCoreApplication::applicationDirPath());
    if (!instance.isFirst())
        return 0;
    AppController controller(QCoreApplication::applicationDirPath());
    QObject::connect(&instance, &SingleInstance::calledBack, &controller,
                     [&controller] { controller.bringBack(); });
    return QApplication::exec();
}
