// The program as the Debian package installs it, run from the package's extracted files (see
// check-package) with a fresh home: where it keeps its files, the starter library, the
// autostart entry and the saved bar position.
#include "BarLabels.h"
#include "JolvexRun.h"
#include "SystemMenuRows.h"
#include "XSession.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {
const QString kMenuTitle = QStringLiteral("^Jolvex menu$");

// The root the package was extracted into.
QString InstalledRoot() {
    return qEnvironmentVariable("JOLVEX_INSTALLED_ROOT");
}

QString InstalledProgram() {
    return InstalledRoot() + "/usr/bin/jolvex";
}

// Every file and folder under `folder`, as relative paths, sorted.
QStringList Tree(const QString& folder) {
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(folder).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

TEST(InstalledProgram, VersionAndHelpAnswerWithOneLine) {
    ASSERT_FALSE(InstalledRoot().isEmpty()) << "run by check-package, which extracts the package";
    const struct {
        const char* argument;
        const char* starts;
    } cases[] = {{"--version", "Jolvex 1.3\n"}, {"--help", "用法：jolvex"}};
    for (const auto& c : cases) {
        QProcess program;
        program.start(InstalledProgram(), {c.argument});
        ASSERT_TRUE(program.waitForFinished(10000)) << c.argument;
        EXPECT_EQ(program.exitCode(), 0) << c.argument;
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(QString::fromUtf8(c.starts))) << out.toStdString();
        EXPECT_EQ(out.count('\n'), 1) << out.toStdString();
    }
}

class InstalledProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstalledRoot().isEmpty()) << "run by check-package";
        ASSERT_TRUE(session.Ready());
        installedFiles = Tree(InstalledRoot());
        jolvex.OverrideEnvironment("XDG_DATA_HOME", DataHome());
    }
    QString DataHome() const { return jolvex.Folder() + "/data"; }
    QString Library() const { return DataHome() + QStringLiteral("/Jolvex/数据"); }

    // Opens the System popup from the bar and clicks one of its entries.
    void ChooseSystemCommand(const QRect& bar, SystemEntry entry) {
        session.Click(QPoint(bar.x() + 12, bar.y() + 13)); // 系统
        const QString popup = session.WaitForWindow(kMenuTitle);
        ASSERT_FALSE(popup.isEmpty()) << "no System popup";
        const QRect system = session.Geometry(popup);
        session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(entry)));
        ASSERT_TRUE(session.WaitForNoWindow(kMenuTitle)) << "the popup stayed open";
    }

    XSession session;
    JolvexRun jolvex{session, InstalledProgram()};
    QStringList installedFiles;
};

TEST_F(InstalledProgramTest, FirstStartSeedsTheLibraryAtHomeAndWritesNothingBesideTheProgram) {
    ASSERT_TRUE(jolvex.Start());
    const QRect bar = jolvex.BarGeometry();
    ASSERT_TRUE(bar.isValid()) << jolvex.Output().toStdString();

    // The starter library, copied whole into the user's data folder.
    const QString starter = InstalledRoot() + "/usr/share/jolvex/starter";
    const QStringList starterFiles = Tree(starter);
    ASSERT_FALSE(starterFiles.isEmpty());
    for (const QString& path : starterFiles)
        EXPECT_TRUE(QFileInfo::exists(Library() + "/" + path)) << path.toStdString();
    EXPECT_GT(bar.width(), ExpectedBarWidth({QStringLiteral("系统")}))
        << "the starter folders are the bar's labels";

    // What a user sees: the bar and the first folder's popup.
    const int firstLabel = bar.x() + ExpectedBarWidth({QStringLiteral("系统")}) - 7 + 10;
    session.Click(QPoint(firstLabel, bar.y() + 13));
    EXPECT_FALSE(session.WaitForWindow(kMenuTitle).isEmpty()) << "no popup for the first label";
    WaitUntil([] { return false; }, 1500); // its thumbnails are made meanwhile
    QDir().mkpath(JOLVEX_ARTIFACT_DIR);
    session.Screenshot(JOLVEX_ARTIFACT_DIR "/installed-first-start.png");
    session.Click(QPoint(firstLabel, bar.y() + 13));
    ASSERT_TRUE(session.WaitForNoWindow(kMenuTitle));

    // 开机时启动 writes the user's autostart entry for this program, and removes it again.
    const QString autostart = jolvex.ConfigHome() + "/autostart/jolvex.desktop";
    ChooseSystemCommand(bar, SystemEntry::StartAtLogin);
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(autostart); })) << "no autostart entry";
    QFile entry(autostart);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=\"" + InstalledProgram().toUtf8() + "\"\n"));
    ChooseSystemCommand(bar, SystemEntry::StartAtLogin);
    EXPECT_TRUE(WaitUntil([&] { return !QFile::exists(autostart); })) << "the entry stayed";

    // Exit saves the bar's place under the user's config folder.
    ChooseSystemCommand(bar, SystemEntry::Exit);
    ASSERT_TRUE(jolvex.WaitForExit(10000));
    EXPECT_TRUE(jolvex.EndedCleanly()) << jolvex.Output().toStdString();
    QFile options(jolvex.ConfigHome() + "/Jolvex/Options.ini");
    ASSERT_TRUE(options.open(QIODevice::ReadOnly)) << "no Options.ini in the config folder";
    EXPECT_TRUE(options.readAll().startsWith("\xFF\xFE"));

    EXPECT_EQ(Tree(InstalledRoot()), installedFiles) << "something was written beside the program";
}
} // namespace
