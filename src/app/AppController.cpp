#include "app/AppController.h"

#include "app/EntryMenu.h"
#include "app/PopupActions.h"
#include "app/SystemCommands.h"
#include "app/TrayIcon.h"
#include "bar/FloatingBar.h"
#include "base/FileRoutines.h"
#include "base/OptionsFile.h"
#include "library/Library.h"
#include "online/UsageReporter.h"
#include "platform/FileSystem.h"
#include "platform/Logging.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "popup/DragSession.h"
#include "popup/FolderPopup.h"
#include "popup/PopupContext.h"
#include "popup/PreviewWindow.h"
#include "thumbnails/ThumbnailCache.h"
#include "thumbnails/ThumbnailLoader.h"
#include "ui/BarNotice.h"
#include "ui/MessageBox.h"

#include <QDesktopServices>
#include <QRandomGenerator>
#include <QUrl>

namespace {
const char* const kHomePage = "https://www.jolvex.cn/";
}

AppController::AppController(const AppPaths& paths) : paths_(paths) {
    seedEmptyLibrary();
    if (!forceDirectories(paths_.dataDir)) // the program runs on with an empty library
        qCWarning(lcFiles) << "the library folder could not be made:" << paths_.dataDir;
    BarPlacement placement;
    loadBarPlacement(paths_.optionsFile, placement);

    // Made in this order; each one may rely on the ones before.
    platform_ = createNativePlatform();
    thumbnailCache_ = std::make_unique<ThumbnailCache>(ThumbnailCache::DefaultMemoryLimit,
                                                       paths_.thumbnailCacheFolder);
    thumbnails_ = std::make_unique<ThumbnailLoader>(*thumbnailCache_);
    thumbnails_->tidyScaledFiles();
    library_ = std::make_unique<Library>(paths_.dataDir, paths_.recentFile);
    drag_ = std::make_unique<DragSession>();
    preview_ = std::make_unique<PreviewWindow>(*platform_);
    popupContext_ = std::unique_ptr<PopupContext>(
        new PopupContext{*platform_, *library_, *thumbnails_, *preview_, *drag_, drawWindowTag()});
    popup_ = std::make_unique<FolderPopup>(*popupContext_);
    bar_ = std::make_unique<FloatingBar>(*platform_, *library_, *popup_, *preview_,
                                         popupContext_->windowTag, placement);
    commands_ = std::make_unique<SystemCommands>(paths_, *library_, *bar_);
    barNotice_ = std::make_unique<BarNotice>(*platform_);
    popupActions_ = std::make_unique<PopupActions>(*platform_, *library_, *popup_, *thumbnails_,
                                                   *barNotice_, *bar_);
    entryMenu_ =
        std::make_unique<EntryMenu>(*popupContext_, *popup_, *popupActions_, paths_.trashFolder);

    startTimer_.setSingleShot(true);
    startTimer_.setInterval(10);
    connect(&startTimer_, &QTimer::timeout, this, &AppController::startUp);
    startTimer_.start();
}

AppController::~AppController() {
    // A thumbnail being made finishes while the windows and the application still exist.
    thumbnails_->cancelPending();
    thumbnails_->waitForIdle();
}

void AppController::seedEmptyLibrary() {
    // A library with anything in it is the user's own: never touched.
    if (paths_.starterFolder.isEmpty() || !directoryExists(paths_.starterFolder) ||
        !isEmptyFolder(paths_.dataDir))
        return;
    try {
        copyFolderContents(paths_.starterFolder, paths_.dataDir);
    } catch (const FileError& error) {
        qCWarning(lcFiles) << "the starter library was not copied:" << error.what();
    }
}

std::uint32_t AppController::drawWindowTag() {
    return QRandomGenerator::global()->bounded(0x0FFFFFFFu) + 0x40000000u;
}

void AppController::startUp() {
    // A root order file that cannot be read or written back is reported; the start goes on
    // with the folders found, so that the bar and the Exit command stay reachable.
    runReportingErrors([this] { library_->reloadTopFolders(); }); // the bar follows
    tray_ = std::make_unique<TrayIcon>(*platform_, commands_->actions(), *bar_);
    bar_->show();
    askUpdateQuestion();
    // Reports installation and use, and looks for a newer version for the next start.
    reporter_ = std::make_unique<UsageReporter>(UsageReporter::configuredServer());
    reporter_->start();
}

void AppController::bringBack() {
    commands_->bringBarBack();
}

void AppController::askUpdateQuestion() {
    const auto store = SettingsStore::open(false);
    if (!store)
        return;
    if (!store->readFlag(QStringLiteral("UpDate")).value_or(false))
        return;
    const MessageAnswer answer = showMessageBox(
        QStringLiteral("Jolvex已有新的版本，您是否要升级更新？"), MessageKind::Question);
    if (answer == MessageAnswer::Yes)
        QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePage)));
}
