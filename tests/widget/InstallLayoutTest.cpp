#include "PopupFixture.h"

#include "app/AppPaths.h"
#include "app/Autostart.h"

#include <QAction>
#include <QMessageBox>
#include <QTimer>

namespace {
QProcessEnvironment Environment(const QMap<QString, QString>& values) {
    QProcessEnvironment environment;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        environment.insert(it.key(), it.value());
    return environment;
}

// Where the library and Options.ini go: beside a program in a folder of its own, in the
// user's XDG folders for an installed one, beside it again when 数据 is already there.
TEST(AppPaths, AProgramFolderOfItsOwnKeepsEverythingBesideTheProgram) {
    TempTree tree;
    tree.MakeFolder("portable");
    const AppPaths paths =
        AppPaths::locate(tree / "portable/jolvex", Environment({{"HOME", tree / "home"}}));
    EXPECT_TRUE(paths.portable);
    EXPECT_EQ(paths.dataDir, tree / "portable/数据");
    EXPECT_EQ(paths.optionsFile, tree / "portable/Options.ini");
    EXPECT_EQ(paths.helpFile, tree / "portable/help/index.html");
    EXPECT_TRUE(paths.starterFolder.isEmpty());
    EXPECT_EQ(paths.autostartFile, tree / "home/.config/autostart/jolvex.desktop");
}

TEST(AppPaths, AnInstalledProgramKeepsTheLibraryInTheUsersFolders) {
    TempTree tree;
    tree.MakeFolder("usr/bin");
    tree.MakeFolder("usr/share/jolvex/starter");
    const struct {
        const char* what;
        QMap<QString, QString> environment;
        const char* data;
        const char* options;
    } cases[] = {
        {"the XDG folders given",
         {{"HOME", tree / "home"}, {"XDG_DATA_HOME", tree / "d"}, {"XDG_CONFIG_HOME", tree / "c"}},
         "d/Jolvex/数据",
         "c/Jolvex/Options.ini"},
        {"their defaults",
         {{"HOME", tree / "home"}},
         "home/.local/share/Jolvex/数据",
         "home/.config/Jolvex/Options.ini"},
        {"relative XDG paths are ignored",
         {{"HOME", tree / "home"}, {"XDG_DATA_HOME", "rel"}, {"XDG_CONFIG_HOME", "rel"}},
         "home/.local/share/Jolvex/数据",
         "home/.config/Jolvex/Options.ini"},
    };
    for (const auto& c : cases) {
        const AppPaths paths =
            AppPaths::locate(tree / "usr/bin/jolvex", Environment(c.environment));
        EXPECT_FALSE(paths.portable) << c.what;
        EXPECT_EQ(paths.dataDir, tree / QString::fromUtf8(c.data)) << c.what;
        EXPECT_EQ(paths.optionsFile, tree / c.options) << c.what;
        EXPECT_EQ(paths.helpFile, tree / "usr/share/jolvex/help/index.html") << c.what;
        EXPECT_EQ(paths.starterFolder, tree / "usr/share/jolvex/starter") << c.what;
        EXPECT_EQ(paths.programFile, tree / "usr/bin/jolvex") << c.what;
    }

    tree.MakeFolder("usr/bin/数据"); // a library beside the program always wins
    const AppPaths beside =
        AppPaths::locate(tree / "usr/bin/jolvex", Environment({{"HOME", tree / "home"}}));
    EXPECT_TRUE(beside.portable);
    EXPECT_EQ(beside.dataDir, tree / "usr/bin/数据");
}

TEST(Autostart, TheEntryStartsTheProgramByItsQuotedPath) {
    const struct {
        const char* program;
        const char* exec;
    } cases[] = {
        {"/usr/bin/jolvex", "Exec=\"/usr/bin/jolvex\"\n"},
        {"/home/小明/my apps/jolvex", "Exec=\"/home/小明/my apps/jolvex\"\n"},
        {"/a/\"q\"/$x/`b`/jolvex", "Exec=\"/a/\\\\\"q\\\\\"/\\\\$x/\\\\`b\\\\`/jolvex\"\n"},
        {"/a/100%/jolvex", "Exec=\"/a/100%%/jolvex\"\n"},
        {"/a\\b/jolvex", "Exec=\"/a\\\\\\\\b/jolvex\"\n"},
    };
    for (const auto& c : cases) {
        const QByteArray entry = autostartEntry(QString::fromUtf8(c.program));
        EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\n")) << c.program;
        EXPECT_TRUE(entry.contains(c.exec)) << c.program << "\n" << entry.toStdString();
    }
}

using StartAtLogin = PopupFixture;

TEST_F(StartAtLogin, TheCommandWritesAndRemovesTheAutostartEntryAndItsCheckMarkFollows) {
    LibraryNode* command = commands->command(QString::fromUtf8("开机时启动"));
    ASSERT_NE(command, nullptr);
    const QString entry = home / "config/autostart/jolvex.desktop";
    EXPECT_FALSE(command->isChecked());

    command->trigger();
    EXPECT_TRUE(command->isChecked());
    EXPECT_TRUE(QFile::exists(entry));
    EXPECT_TRUE(home.Read("config/autostart/jolvex.desktop")
                    .contains("Exec=\"" + (library / "jolvex").toUtf8() + "\""));

    command->trigger();
    EXPECT_FALSE(command->isChecked());
    EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(StartAtLogin, AnEntryThatCannotBeWrittenIsReportedAndLeavesNoCheckMark) {
    home.Write("config/autostart", "a file where the folder belongs");
    QString told;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    LibraryNode* command = commands->command(QString::fromUtf8("开机时启动"));
    command->trigger();
    EXPECT_FALSE(told.isEmpty()) << "nothing was said";
    EXPECT_FALSE(command->isChecked());
    EXPECT_EQ(home.Read("config/autostart"), "a file where the folder belongs");
}
} // namespace
