#include "app/UnitDef.h"
#include "app/UnitMain.h"
#include "delivery/ThumbnailLoader.h"
#include "menu/UnitHint.h"
#include "menu/UnitMenu.h"
#include "menubar/UnitMenuBar.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

// The program reads no command line of its own.
int main(int argc, char** argv) {
    PreparePlatformProcess();
    WindowTag = DrawWindowTag();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jolvex"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/jolvex.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    PreparePlatformApplication();
    // The program speaks Chinese whatever the locale: Qt's own buttons ("是", "否", "确定") too.
    QTranslator qtTranslations;
    if (qtTranslations.load(QStringLiteral("qtbase_zh_CN"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    // Created in this order; each one's creation may rely on the ones before.
    auto fmMain = std::make_unique<TFmMain>();
    FmMain = fmMain.get();
    auto fmMenuBar = std::make_unique<TFmMenuBar>();
    FmMenuBar = fmMenuBar.get();
    auto fmMenu = std::make_unique<TFmMenu>();
    FmMenu = fmMenu.get();
    auto fmHint = std::make_unique<TFmHint>();
    FmHint = fmHint.get();

    const int exitCode = QApplication::exec();
    // A thumbnail being made finishes while the application object still exists.
    ThumbnailLoader::Instance().CancelPending();
    ThumbnailLoader::Instance().WaitForIdle();
    return exitCode;
}
