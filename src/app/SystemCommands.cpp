#include "app/SystemCommands.h"

#include "app/AboutDialog.h"
#include "app/Autostart.h"
#include "bar/FloatingBar.h"
#include "bar/OrderDialog.h"
#include "base/NameCompare.h"
#include "base/OptionsFile.h"
#include "base/TextCodec.h"
#include "import/PackageImporter.h"
#include "library/Library.h"
#include "library/OrderFile.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QUrl>

#include <cerrno>

namespace {
// Brings a dialog to the front once its modal loop runs. Showing it before exec() would leave
// it without modality: a window's modality takes effect when it is shown.
void bringForwardOnceShown(QDialog& dialog) {
    QMetaObject::invokeMethod(
        &dialog,
        [&dialog] {
            dialog.raise();
            dialog.activateWindow();
        },
        Qt::QueuedConnection);
}
} // namespace

SystemCommands::SystemCommands(const AppPaths& paths, Library& library, FloatingBar& bar)
    : paths_(paths), library_(library), bar_(bar) {
    addCommands();
}

void SystemCommands::addCommands() {
    LibraryNode* system = library_.systemNode();
    system->clearChildren();
    auto command = [this, system](const char* caption, auto handler) {
        auto* action = new QAction(QString::fromUtf8(caption), this);
        connect(action, &QAction::triggered, this,
                [this, handler](bool checked) { runReportingErrors([&] { handler(checked); }); });
        LibraryNode* node = system->addChild(action->text(), QString(), NodeKind::Command);
        node->setAction([action] { action->trigger(); });
        connect(action, &QAction::toggled, this, [node](bool on) { node->setChecked(on); });
        actions_ << action;
        return action;
    };
    auto plain = [this](void (SystemCommands::*handler)()) {
        return [this, handler](bool) { (this->*handler)(); };
    };
    auto separator = [this, system] {
        system->addChild(QStringLiteral("-"), QString(), NodeKind::Separator);
        auto* line = new QAction(this);
        line->setSeparator(true);
        actions_ << line;
    };
    command("导入QQ表情文件...", plain(&SystemCommands::importPackage));
    command("添加/删除/整理...", plain(&SystemCommands::openLibraryFolder));
    autostartAction_ = command("开机时启动", [this](bool checked) { setStartAtLogin(checked); });
    autostartAction_->setCheckable(true);
    autostartAction_->setChecked(fileExists(paths_.autostartFile));
    separator();
    command("主菜单顺序调整...", plain(&SystemCommands::orderTopFolders));
    hideAction_ = command("隐藏窗口", [this](bool checked) { setBarHidden(checked); });
    hideAction_->setCheckable(true);
    command("清除最近使用", [this](bool) { library_.clearRecent(); });
    separator();
    command("使用帮助", plain(&SystemCommands::openHelp));
    command("关于Jolvex", plain(&SystemCommands::showAbout));
    separator();
    command("退出", plain(&SystemCommands::exitProgram));
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
    const PackageImporter::Outcome outcome = importer.run(nullptr);
    reportImport(importer, outcome);
}

void SystemCommands::reportImport(const PackageImporter& importer,
                                  PackageImporter::Outcome outcome) {
    if (outcome == PackageImporter::Outcome::Nothing)
        return;
    // A folder left in the library, imported or left by a failure, may be a new label: the bar
    // shows it before the message does.
    if (!importer.destination().isEmpty())
        library_.reloadTopFolders();
    if (outcome == PackageImporter::Outcome::Imported) {
        showMessageBox(QStringLiteral("导入QQ表情文件完成。"), MessageKind::Plain);
        return;
    }
    QString text = QStringLiteral("导入QQ表情文件出现错误。\n") + importer.error();
    if (!importer.destination().isEmpty())
        text += QStringLiteral("\n已解开的内容在 \"%1\"。")
                    .arg(QDir::toNativeSeparators(importer.destination()));
    showMessageBox(text, MessageKind::Plain);
}

void SystemCommands::openLibraryFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(paths_.dataDir));
}

QStringList SystemCommands::topFolderNames() const {
    QStringList names;
    const LibraryNode* root = library_.root();
    for (int i = 1; i < root->childCount(); ++i) // child 0, the System menu, is not listed
        names << nodeName(root->child(i)->path());
    return names;
}

void SystemCommands::orderTopFolders() {
    OrderDialog dialog(topFolderNames());
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint); // above the bar
    bringForwardOnceShown(dialog);
    if (dialog.exec() == QDialog::Accepted)
        saveTopOrder(dialog.names());
}

void SystemCommands::saveTopOrder(const QStringList& names) {
    writeUnicodeLines(library_.dataDir() + PathSeparator + QString::fromLatin1(OrderFileName),
                      names);
    library_.reloadTopFolders();
}

void SystemCommands::setBarHidden(bool hidden) {
    if (hidden && !QSystemTrayIcon::isSystemTrayAvailable())
        // No tray icon to bring the bar back: say how it comes back.
        showMessageBox(QStringLiteral("隐藏后，再次启动 Jolvex 即可重新显示工具条。"),
                       MessageKind::Plain);
    hideAction_->setChecked(hidden);
    bar_.setVisible(!hidden);
}

void SystemCommands::setStartAtLogin(bool start) {
    // The check mark follows the file, also when writing or removing it failed.
    const auto showFile =
        qScopeGuard([this] { autostartAction_->setChecked(fileExists(paths_.autostartFile)); });
    if (!start) {
        if (pathExists(paths_.autostartFile) && !QFile::remove(paths_.autostartFile))
            throw FileError(FileProblem::WriteFailed, paths_.autostartFile, EACCES);
        return;
    }
    forceDirectories(QFileInfo(paths_.autostartFile).absolutePath());
    replaceFileContents(paths_.autostartFile, autostartEntry(paths_.programFile));
}

void SystemCommands::bringBarBack() {
    if (hideAction_->isChecked())
        setBarHidden(false);
    bar_.show();
    bar_.raise();
}

void SystemCommands::openHelp() {
    // The guide beside the program or installed with it; a missing guide does nothing.
    if (fileExists(paths_.helpFile))
        QDesktopServices::openUrl(QUrl::fromLocalFile(paths_.helpFile));
}

void SystemCommands::showAbout() {
    AboutDialog dialog;
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    bringForwardOnceShown(dialog);
    dialog.exec();
}

void SystemCommands::exitProgram() {
    const QPoint position = bar_.requestedPosition();
    forceDirectories(QFileInfo(paths_.optionsFile).absolutePath());
    saveBarPlacement(paths_.optionsFile, position.x(), position.y());
    if (auto store = SettingsStore::open(true)) {
        store->writePath(QStringLiteral("DataPath"), paths_.dataDir);
        store->writeDate(QStringLiteral("Date"), QDate::currentDate());
        store->close();
    }
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
