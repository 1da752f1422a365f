#include "app/UnitMain.h"

#include "app/OptionsFile.h"
#include "app/ShowMessageBox.h"
#include "app/UnitDef.h"
#include "library/FolderScan.h"
#include "menubar/UnitMenuBar.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

TFmMain* FmMain = nullptr;

namespace {
const char* const kHomePage = "https://www.jolvex.cn/";
}

TFmMain::TFmMain() {
    setWindowTitle(QString::fromUtf8(ProgramTitle));
    FormCreate();
}

TFmMain::~TFmMain() {
    UnInstallIcon();
}

void TFmMain::FormCreate() {
    ExeDir = QCoreApplication::applicationDirPath() + PathDelimiter;
    DataDir = ExeDir + QStringLiteral("数据");
    ForceDirectories(DataDir); // a failure leaves an empty library
    OptionsFile = ExeDir + PathDelimiter + QStringLiteral("Options.ini");

    SavedBarPosition saved;
    LoadOptions(OptionsFile, saved);
    HasSavedPosition = saved.HasSavedPosition;
    BarLeft = saved.BarLeft;
    BarTop = saved.BarTop;

    TimerLogin.setSingleShot(true);
    TimerLogin.setInterval(10);
    connect(&TimerLogin, &QTimer::timeout, this, &TFmMain::TimerLoginTimer);
    TimerLogin.start();
}

void TFmMain::TimerLoginTimer() {
    TimerLogin.stop();
    RootNode = FmMenuBar->PMenuItems();
    SystemNode = FmMenuBar->MnSystem;
    RootNode->Hint = DataDir;

    // A root order file that cannot be read or written back is reported; the start goes on
    // with the folders found, so that the bar and the Exit command stay reachable.
    RunReportingErrors([] { LoadTopFolders(RootNode); });
    FmMenuBar->InitToolBarMenu();
    hide();
    InstallIcon();
    FmMenuBar->show();
    AskUpdateQuestion();
    StartStatisticsThread();
}

void TFmMain::InstallIcon() {
    // The tray icon arrives with the tray and System commands.
}

void TFmMain::UnInstallIcon() {}

void TFmMain::AskUpdateQuestion() {
    const auto key = SettingsKey::Open(false);
    if (!key)
        return;
    const auto update = key->ReadDword(QStringLiteral("UpDate"));
    if (!update || *update == 0)
        return;
    const int answer =
        ShowMessageBox(QStringLiteral("Jolvex已有新的版本，您是否要升级更新？"),
                       QString::fromUtf8(MessageCaption), MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES)
        QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePage)));
}

void TFmMain::StartStatisticsThread() {
    // The statistics and update check arrives with the online services.
}
