#include "PopupFixture.h"

#include "app/AboutDialog.h"
#include "app/TrayIcon.h"
#include "bar/BarLabel.h"
#include "bar/OrderDialog.h"

#include "platform/FileSystem.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>

#include <QPushButton>
#include <QTimer>
#include <sys/stat.h>

namespace {
using SystemCommandsTest = PopupFixture;

TEST(OrderDialogRules, UpAndDownMoveTheSelectedNameAndTheSelectionFollows) {
    const QStringList names{"a", "b", "c", "d", "e"};
    const struct {
        const char* what;
        int selected;
        QList<bool> ups; // true: Up, false: Down
        QStringList order;
        int selectedAfter;
    } cases[] = {
        {"Up on the first row", 0, {true}, names, 0},
        {"Down on the last row", 4, {false}, names, 4},
        {"Up three times from the fourth row", 3, {true, true, true}, {"d", "a", "b", "c", "e"}, 0},
        {"Down twice, Up once", 1, {false, false, true}, {"a", "c", "b", "d", "e"}, 2},
        {"nothing selected", -1, {true, false}, names, -1},
    };
    for (const auto& c : cases) {
        OrderDialog dialog(names);
        if (c.selected >= 0)
            dialog.selectRow(c.selected);
        for (bool up : c.ups)
            up ? dialog.moveUp() : dialog.moveDown();
        EXPECT_EQ(dialog.names(), c.order) << c.what;
        EXPECT_EQ(dialog.selectedRow(), c.selectedAfter) << c.what;
    }
}

// The bar follows every rescan of the top-level folders, also one whose root order file
// cannot be read (here a pipe in its place): it shows the folders found.
TEST_F(SystemCommandsTest, TheBarFollowsEveryRescanOfTheTopFolders) {
    library.MakeFolder("one");
    nodes->reloadTopFolders();
    EXPECT_EQ(bar->labels().size(), 2); // 系统 and one
    library.MakeFolder("two");
    ASSERT_EQ(::mkfifo(QFile::encodeName(library / "Order.ini").constData(), 0600), 0);
    EXPECT_THROW(nodes->reloadTopFolders(), FileError);
    EXPECT_EQ(bar->labels().size(), 3);
}

TEST_F(SystemCommandsTest, SavingTheTopOrderWritesOrderIniAndRebuildsTheBar) {
    for (const char* name : {"one", "two", "three"})
        library.MakeFolder(name);
    nodes->reloadTopFolders();
    EXPECT_EQ(commands->topFolderNames(), (QStringList{"one", "three", "two"}));
    commands->saveTopOrder({"two", "one", "three"});
    EXPECT_EQ(library.Read("Order.ini"), Utf16LeLines({"two", "one", "three"}));
    QStringList captions;
    QList<BarLabel*> labels = bar->labels();
    std::sort(labels.begin(), labels.end(),
              [](BarLabel* a, BarLabel* b) { return a->x() < b->x(); });
    for (BarLabel* label : labels)
        captions << label->caption();
    EXPECT_EQ(captions, (QStringList{QString::fromUtf8("系统"), "two", "one", "three"}));

    // A read-only Order.ini: reported by the caller, the tree and the bar stay.
    library.SetReadOnly("Order.ini", true);
    EXPECT_THROW(commands->saveTopOrder({"three", "two", "one"}), FileError);
    EXPECT_EQ(commands->topFolderNames(), (QStringList{"two", "one", "three"}));
    library.SetReadOnly("Order.ini", false);
}

TEST_F(SystemCommandsTest, WithNoFoldersTheOrderFileHoldsOnlyTheMark) {
    commands->saveTopOrder({});
    EXPECT_EQ(library.Read("Order.ini"), QByteArray("\xFF\xFE", 2));
    EXPECT_EQ(bar->labels().size(), 1);
}

TEST_F(SystemCommandsTest, HidingTwiceShowsTheBarAgainAndTheMenuCarriesTheCheckMark) {
    nodes->reloadTopFolders();
    bar->show();
    LibraryNode* hide = commands->command(QString::fromUtf8("隐藏窗口"));
    ASSERT_NE(hide, nullptr);
    // Without a tray (the offscreen platform has none) hiding first says how the bar comes back.
    QString told;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    hide->trigger();
    EXPECT_TRUE(told.contains(QString::fromUtf8("再次启动"))) << told.toStdString();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(hide->isChecked());

    TrayIcon tray(*platform, commands->actions(), *bar);
    tray.rebuildMenu();
    const QList<QAction*> actions = tray.menu().actions();
    ASSERT_EQ(actions.size(), 12);
    EXPECT_EQ(
        std::count_if(actions.begin(), actions.end(), [](QAction* a) { return a->isSeparator(); }),
        3);
    EXPECT_EQ(actions[5]->text(), QString::fromUtf8("隐藏窗口"));
    EXPECT_TRUE(actions[5]->isChecked());
    actions[5]->trigger(); // the tray menu runs the same command, once the menu has closed
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, 1000));
    EXPECT_FALSE(hide->isChecked());
}

// An import that fails after unpacking leaves its folder in the library: the bar shows it at
// once and the message says where it is.
TEST_F(SystemCommandsTest, AFailedImportThatLeftAFolderShowsItsLabelAndNamesIt) {
    nodes->reloadTopFolders();
    ASSERT_EQ(bar->labels().size(), 1);
    TempTree source;
    source.Write("Files/g/1.gif", "1");
    source.Write("config/Face.Xml", Utf16LeLines({"<FACE FileIndex=\"1.gif\">"}));
    TempTree packages;
    QProcess gsf;
    gsf.setWorkingDirectory(source.Path());
    gsf.start("gsf", {"createole", packages / "cut.eip", "Files", "config"});
    ASSERT_TRUE(gsf.waitForFinished(10000) && gsf.exitCode() == 0);

    PackageImporter importer(QStringLiteral("/nonexistent/"), library.Path());
    const PackageImporter::Outcome outcome =
        importer.importInto(packages / "cut.eip", library.Path());
    ASSERT_EQ(outcome, PackageImporter::Outcome::Failed);
    QString told;
    int labelsWhileTold = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            labelsWhileTold = static_cast<int>(bar->labels().size());
            box->accept();
        }
    });
    commands->reportImport(importer, outcome);
    EXPECT_TRUE(told.contains(QString::fromUtf8("Face.Xml 不完整"))) << told.toStdString();
    EXPECT_TRUE(told.contains(library / "cut")) << told.toStdString();
    EXPECT_EQ(labelsWhileTold, 2) << "the folder had no label while the message was up";
    EXPECT_EQ(commands->topFolderNames(), QStringList{"cut"});
}

TEST(AboutDialogLayout, SizeCaptionAndButton) {
    AboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("关于 Jolvex"));
    EXPECT_EQ(dialog.size(), QSize(308 + 16, 192 + 16));
    const auto* ok = dialog.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QString::fromUtf8("确定"));
    EXPECT_EQ(ok->geometry(), QRect(8 + 224, 8 + 164, 81, 25));
    EXPECT_TRUE(ok->isDefault());
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Jolvex 1.3 正式版")));
    EXPECT_TRUE(texts.contains("https://www.jolvex.cn/"));
}
} // namespace
