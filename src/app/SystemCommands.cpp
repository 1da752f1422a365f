#include "app/SystemCommands.h"

#include "bar/FloatingBar.h"
#include "base/OptionsFile.h"
#include "base/SettingsDate.h"
#include "import/PackageImporter.h"
#include "library/Library.h"
#include "platform/SettingsStore.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QUrl>

SystemCommands::SystemCommands(const AppPaths& paths, Library& library, FloatingBar& bar)
    : paths_(paths), library_(library), bar_(bar) {
    addCommands();
}

void SystemCommands::addCommands() {
    LibraryNode* system = library_.systemNode();
    system->clearChildren();
    auto command = [this, system](const char* caption, void (SystemCommands::*handler)()) {
        LibraryNode* node =
            system->addChild(QString::fromUtf8(caption), QString(), NodeKind::Command);
        node->setAction(
            [this, handler] { runReportingErrors([this, handler] { (this->*handler)(); }); });
    };
    auto separator = [system] {
        system->addChild(QStringLiteral("-"), QString(), NodeKind::Separator);
    };
    command("导入QQ表情文件...", &SystemCommands::importPackage);
    command("添加/删除/整理...", &SystemCommands::openLibraryFolder);
    separator();
    command("主菜单顺序调整...", &SystemCommands::orderTopFolders);
    command("隐藏窗口", &SystemCommands::toggleHidden);
    separator();
    command("使用帮助", &SystemCommands::openHelp);
    command("关于Jolvex", &SystemCommands::showAbout);
    separator();
    command("退出", &SystemCommands::exitProgram);
}

LibraryNode* SystemCommands::command(const QString& caption) const {
    const LibraryNode* system = library_.systemNode();
    for (int i = 0; i < system->childCount(); ++i)
        if (system->child(i)->caption() == caption)
            return system->child(i);
    return nullptr;
}

void SystemCommands::importPackage() {
    PackageImporter importer(paths_.exeDir, paths_.dataDir);
    switch (importer.run(nullptr)) {
    case PackageImporter::Outcome::Nothing:
        return;
    case PackageImporter::Outcome::Failed:
        showMessageBox(QStringLiteral("导入QQ表情文件出现错误。\n") + importer.error(),
                       MessageKind::Plain);
        return;
    case PackageImporter::Outcome::Imported:
        showMessageBox(QStringLiteral("导入QQ表情文件完成。"), MessageKind::Plain);
        // A new top-level folder becomes a new label.
        library_.reloadTopFolders();
        bar_.rebuildLabels();
        return;
    }
}

void SystemCommands::openLibraryFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(paths_.dataDir));
}

void SystemCommands::orderTopFolders() {
    // The top-level order dialog arrives with its own change.
}

void SystemCommands::toggleHidden() {
    // Hiding waits for the tray icon: without it a hidden bar could not come back.
}

void SystemCommands::openHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(paths_.exeDir + QStringLiteral("Jolvex.chm")));
}

void SystemCommands::showAbout() {
    // The About dialog arrives with the tray and the other System commands.
}

void SystemCommands::exitProgram() {
    const QPoint position = bar_.requestedPosition();
    saveBarPlacement(paths_.optionsFile, position.x(), position.y());
    if (auto store = SettingsStore::open(true)) {
        store->writeString(QStringLiteral("DataPath"), paths_.dataDir);
        store->writeBinary(QStringLiteral("Date"), encodeSettingsDate(QDate::currentDate()));
        store->close();
    }
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
