#include "BarLabels.h"
#include "ChatReceiver.h"
#include "JolvexRun.h"
#include "SystemMenuRows.h"
#include "VisiblePopups.h"
#include "XSession.h"

#include "FixturePictures.h"
#include "platform/Platform.h"
#include "support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {
const QString kMenuTitle = QStringLiteral("^Jolvex menu$");
const QString kPreviewTitle = QStringLiteral("^Jolvex preview$");

// Clicks the button of a one-button message box with the pointer: tries points along its
// bottom edge from the right until the box closes. The reported geometry may be off by the
// window manager's title bar, hence the range of heights.
bool ClickMessageBoxButton(const XSession& session, const QString& box,
                           const QString& title = QStringLiteral("^Jolvex$")) {
    // Right after the box appears the window manager may still be framing it: its geometry
    // reads as empty for a moment.
    QRect rect;
    WaitUntil([&] { return !(rect = session.Geometry(box)).isEmpty(); });
    for (int dx = 20; dx < rect.width(); dx += 12)
        for (int dy : {20, 28, 36, 44}) {
            session.Click(QPoint(rect.right() - dx, rect.bottom() - dy));
            if (session.WaitForNoWindow(title, 150))
                return true;
        }
    return false;
}

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start";
        ASSERT_TRUE(chat.Start()) << "the receiving window did not get the focus";
        // 表情: a sub-folder 动物 (one picture) and two pictures; 文字: one snippet.
        jolvex.Write(QStringLiteral("数据/Order.ini"),
                     Utf16LeLines({QStringLiteral("表情"), QStringLiteral("文字")}));
        QDir().mkpath(jolvex.DataDir() + QStringLiteral("/表情/动物"));
        QDir().mkpath(jolvex.DataDir() + QStringLiteral("/文字"));
        TestPattern(QSize(120, 90)).save(jolvex.DataDir() + QStringLiteral("/表情/动物/小猫.png"));
        TestPattern(QSize(64, 64)).save(jolvex.DataDir() + QStringLiteral("/表情/a.png"));
        WriteGif(jolvex.DataDir() + QStringLiteral("/表情/b.gif"),
                 MovingSquareGif(QSize(80, 60), 4));
        jolvex.Write(QStringLiteral("数据/文字/晚安.txt"),
                     QString::fromUtf8("晚安，好梦").toUtf8());
        ASSERT_TRUE(jolvex.Start());
        const QString window = jolvex.WaitForBar();
        ASSERT_FALSE(window.isEmpty());
        bar = session.Geometry(window);
        labels = LabelRects(
            bar, {QStringLiteral("系统"), QStringLiteral("表情"), QStringLiteral("文字")});
    }

    void TearDown() override {
        // Every key a test pressed was released: a key left down repeats into later tests.
        EXPECT_TRUE(session.KeysHeldDown().isEmpty()) << "keys held down after the test";
    }

    // The visible popups, ordered left to right.
    QList<QRect> Popups() const { return VisiblePopups(session); }
    bool WaitForPopups(int count) {
        return WaitUntil([&] { return Popups().size() == count; });
    }
    // Moves the pointer, then gives the program a moment to follow.
    void MovePointer(QPoint p) const {
        session.XDo({"mousemove", QString::number(p.x()), QString::number(p.y())});
        WaitUntil([] { return false; }, 60);
    }
    // Presses the left button at `from` and moves four `step`s: past the drag threshold.
    void BeginDrag(QPoint from, QPoint step) const {
        MovePointer(from);
        session.XDo({"mousedown", "1"});
        for (int i = 1; i <= 4; ++i)
            MovePointer(from + step * i);
    }
    // Opens 表情, drags a.png across the bar's labels to 文字 and rests on its snippet 晚安,
    // the button still down.
    void DragAcrossTheLabelsOntoTheSnippet() {
        session.Click(labels[1].center());
        ASSERT_TRUE(WaitForPopups(1));
        const QRect popup = Popups().first();
        const QPoint a(popup.x() + 2 + 22, popup.y() + 24 + 22); // a.png
        BeginDrag(a, QPoint(0, -3));
        MovePointer(labels[2].center() + QPoint(-4, 0));
        MovePointer(labels[2].center());
        ASSERT_TRUE(WaitUntil([&] {
            return Popups().size() == 1 && Popups().first().x() == labels[2].x();
        })) << "the popup did not switch to 文字";
        const QRect words = Popups().first();
        const QPoint snippet(words.x() + 40, words.y() + 2 + 11); // 晚安
        MovePointer(snippet + QPoint(0, -4));
        MovePointer(snippet);
    }
    void Artifact(const QString& name) {
        QDir().mkpath(JOLVEX_ARTIFACT_DIR);
        session.Screenshot(QString(JOLVEX_ARTIFACT_DIR) + "/" + name);
    }

    XSession session;
    ChatReceiver chat{session};
    JolvexRun jolvex{session};
    QRect bar;
    QList<QRect> labels;
};

TEST_F(PopupTest, FromLabelToSubmenuToPasteAndTheChatKeepsTheFocus) {
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    EXPECT_EQ(popup.topLeft(), QPoint(labels[1].x(), bar.bottom() + 1));
    EXPECT_EQ(popup.height(), 22 + 44 + 4); // the folder row, then one row of two pictures

    // Rest on the folder: its submenu opens beside the popup after 500 ms.
    session.XDo({"mousemove", QString::number(popup.x() + 30), QString::number(popup.y() + 12)});
    ASSERT_TRUE(WaitForPopups(2));
    const QRect sub = Popups().last();
    EXPECT_EQ(sub.x(), popup.right() + 1 - 2);
    EXPECT_EQ(sub.y(), popup.y());
    Artifact("popup-and-submenu.png");

    // Click the picture in the submenu: every popup closes and the chat gets the picture.
    session.Click(QPoint(sub.x() + 2 + 22, sub.y() + 2 + 22));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));
    EXPECT_EQ(chat.WaitForReport("paste-image"), "paste-image 120x90");
    EXPECT_TRUE(chat.HasFocus());
    EXPECT_FALSE(chat.Reports().contains("focus-lost"));
    EXPECT_TRUE(QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/动物/小猫.png.thb")));
}

TEST_F(PopupTest, RestingOnASnippetShowsItsPreviewAndAPressOutsideClosesAll) {
    session.Click(labels[2].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    session.XDo({"mousemove", QString::number(popup.x() + 40), QString::number(popup.y() + 12)});
    const QString preview = session.WaitForWindow(kPreviewTitle, 3000);
    ASSERT_FALSE(preview.isEmpty()) << "no preview after resting on the snippet";
    const QRect hint = session.Geometry(preview);
    EXPECT_EQ(hint.y(), popup.y() + 1 + 1 + 22 + 12);
    EXPECT_TRUE(chat.HasFocus());
    Artifact("snippet-preview.png");

    // Rest on a picture: the image preview with its size.
    session.Click(labels[1].center()); // the open popup closes on a label press
    ASSERT_TRUE(session.WaitForNoWindow(kMenuTitle));
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect pictures = Popups().first();
    session.XDo({"mousemove", QString::number(pictures.x() + 2 + 22),
                 QString::number(pictures.y() + 24 + 22)});
    const QString imagePreview = session.WaitForWindow(kPreviewTitle, 3000);
    ASSERT_FALSE(imagePreview.isEmpty());
    EXPECT_EQ(session.Geometry(imagePreview).size(), QSize(198, 214));
    Artifact("picture-preview.png");

    // A press on the receiving window closes the popups and the preview.
    session.Click(session.Geometry(chat.Window()).center() + QPoint(0, 100));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));
    EXPECT_TRUE(session.WaitForNoWindow(kPreviewTitle));
    EXPECT_TRUE(chat.HasFocus());
    EXPECT_TRUE(chat.WaitForReport("paste-", 500).isEmpty());
}

TEST_F(PopupTest, MovingAcrossLabelsSwitchesTheOpenPopup) {
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    EXPECT_EQ(Popups().first().x(), labels[1].x());
    session.XDo({"mousemove", QString::number(labels[2].center().x()),
                 QString::number(labels[2].center().y())});
    EXPECT_TRUE(
        WaitUntil([&] { return Popups().size() == 1 && Popups().first().x() == labels[2].x(); }));
    EXPECT_EQ(Popups().first().height(), 22 + 4);
}

TEST_F(PopupTest, ExitFromTheSystemPopupSavesTheBarPosition) {
    session.Click(labels[0].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect system = Popups().first();
    EXPECT_EQ(system.height(), SystemPopupHeight());
    Artifact("system-popup.png");
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::Exit)));
    ASSERT_TRUE(jolvex.WaitForExit(10000)) << "the program did not end";
    EXPECT_TRUE(jolvex.EndedCleanly()) << jolvex.Output().toStdString();
    QFile options(jolvex.Folder() + "/Options.ini");
    ASSERT_TRUE(options.open(QIODevice::ReadOnly));
    const QByteArray bytes = options.readAll();
    const QString text = QString::fromUtf16(
        reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_EQ(text, QString("[MainWnd]\r\nLeft=%1\r\nTop=%2\r\n\r\n").arg(bar.x()).arg(bar.y()));
    QFile settings(jolvex.ConfigHome() + "/Jolvex/1.0.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    EXPECT_TRUE(stored.contains("DataPath=")) << stored.toStdString();
    EXPECT_TRUE(stored.contains("Date=@ByteArray(")) << stored.toStdString();
}
} // namespace

namespace {
// A paste brings 最近使用 after 系统; after a restart it is still there, and its entry pastes.
TEST_F(PopupTest, APasteShowsUnderRecentlyUsedAndStaysAfterARestart) {
    const QStringList withRecent = {QStringLiteral("系统"), QStringLiteral("最近使用"),
                                    QStringLiteral("表情"), QStringLiteral("文字")};
    session.Click(labels[2].center()); // 文字
    ASSERT_TRUE(WaitForPopups(1));
    session.Click(Popups().first().topLeft() + QPoint(40, 2 + 11)); // 晚安
    EXPECT_EQ(chat.WaitForReport("paste-"), QString::fromUtf8("paste-text 晚安，好梦"));
    const QString window = jolvex.WaitForBar();
    EXPECT_TRUE(WaitUntil([&] {
        return session.Geometry(window).width() == ExpectedBarWidth(withRecent);
    })) << "no 最近使用 label after the paste";

    // The wider bar may stand elsewhere: its labels are found again.
    session.Click(LabelRects(session.Geometry(window), withRecent)[0].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect system = Popups().first();
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::Exit)));
    ASSERT_TRUE(jolvex.WaitForExit(10000));
    ASSERT_TRUE(jolvex.Start());
    const QString again = jolvex.WaitForBar();
    ASSERT_FALSE(again.isEmpty());
    const QRect restarted = session.Geometry(again);
    EXPECT_EQ(restarted.width(), ExpectedBarWidth(withRecent));
    const QList<QRect> shown = LabelRects(restarted, withRecent);
    session.Click(shown[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    EXPECT_EQ(Popups().first().height(), 22 + 4) << "one snippet";
    session.Click(Popups().first().topLeft() + QPoint(40, 2 + 11));
    EXPECT_TRUE(WaitUntil([&] {
        return chat.Reports().count(QString::fromUtf8("paste-text 晚安，好梦")) == 2;
    })) << chat.Reports().join('\n').toStdString();
}

TEST_F(PopupTest, ExitWithAnUnwritableProgramFolderReportsAndRunsOn) {
    QFile::setPermissions(jolvex.Folder(), QFile::ReadOwner | QFile::ExeOwner);
    session.Click(labels[0].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect system = Popups().first();
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::Exit)));
    const QString box = session.WaitForWindow("^Jolvex$");
    QFile::setPermissions(jolvex.Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_FALSE(box.isEmpty()) << "no error message";
    Artifact("exit-error-message.png");
    EXPECT_TRUE(jolvex.IsRunning());
    EXPECT_TRUE(session.PressKey(box, "Return"));
    EXPECT_TRUE(session.WaitForNoWindow("^Jolvex$"));
    EXPECT_FALSE(jolvex.WaitForExit(500)) << "the program must keep running";
    EXPECT_FALSE(QFile::exists(jolvex.Folder() + "/Options.ini"));
    EXPECT_FALSE(QFile::exists(jolvex.ConfigHome() + "/Jolvex/1.0.ini"))
        << "the settings store is not written when Options.ini could not be";
}
} // namespace

namespace {
// An error box raised while a submenu fills: a press on the box is no press outside the
// program, the popups take no input while it is open, and the submenu goes on once it closes.
TEST_F(PopupTest, AnErrorBoxOverTheSubmenuKeepsThePopupsAndTakesTheirInput) {
    // A stale line that cannot be pruned: the order file is read-only.
    TestPattern(QSize(50, 50)).save(jolvex.DataDir() + QStringLiteral("/表情/动物/小狗.png"));
    const QString order = jolvex.DataDir() + QStringLiteral("/表情/动物/Order.ini");
    jolvex.Write(QStringLiteral("数据/表情/动物/Order.ini"),
                 Utf16LeLines({QStringLiteral("走丢了.png"), QStringLiteral("小猫.png")}));
    ASSERT_TRUE(QFile::setPermissions(order, QFile::ReadOwner | QFile::ReadGroup));

    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    session.XDo({"mousemove", QString::number(popup.x() + 30), QString::number(popup.y() + 12)});
    const QString box = session.WaitForWindow("^Jolvex$");
    ASSERT_FALSE(box.isEmpty()) << "no error box for the order file";
    Artifact("order-file-error-over-popup.png");

    // A click on a picture of the popup while the box is up pastes nothing.
    session.Click(QPoint(popup.x() + 2 + 22, popup.y() + 24 + 22));
    EXPECT_TRUE(chat.WaitForReport("paste-", 1000).isEmpty()) << "an entry took a click";
    EXPECT_EQ(Popups().size(), 1);

    // Click the box's button with the pointer (a press on the rest of the box does nothing).
    ASSERT_TRUE(ClickMessageBoxButton(session, box)) << "the box's button was not found";
    ASSERT_FALSE(jolvex.WaitForExit(500)) << "the program ended: " << jolvex.Output().toStdString();

    // The popups stayed and the submenu opened with what was found.
    ASSERT_TRUE(WaitForPopups(2)) << "the submenu did not open after the box";
    const QRect sub = Popups().last();
    session.Click(QPoint(sub.x() + 2 + 22, sub.y() + 2 + 22));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));
    EXPECT_EQ(chat.WaitForReport("paste-image"), "paste-image 120x90");
    EXPECT_TRUE(jolvex.IsRunning());
    EXPECT_EQ(QFile(order).size(),
              Utf16LeLines({QStringLiteral("走丢了.png"), QStringLiteral("小猫.png")}).size())
        << "the read-only order file is left as it was";
}
} // namespace

namespace {
// Another program holding a pointer grab (a menu of its own, a drag) gets the press itself;
// the popups still see that a press happened outside them.
TEST_F(PopupTest, APressOutsideClosesThePopupsWhileAnotherProgramGrabsThePointer) {
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    QProcess grabber;
    grabber.setProcessEnvironment(session.Environment());
    grabber.start(JOLVEX_POINTER_GRABBER_BINARY, {});
    ASSERT_TRUE(grabber.waitForReadyRead(5000)) << "the grab did not hold";
    ASSERT_EQ(grabber.readAll().trimmed(), "grabbed");
    session.Click(QPoint(900, 600));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle)) << "the press went unseen";
    grabber.kill();
    grabber.waitForFinished(2000);
}
} // namespace

namespace {
// The import command from the System popup, its two dialogs driven by keys as a user would.
TEST_F(PopupTest, ImportingAPackageAddsALabelWithTheRenamedPictures) {
    TempTree source;
    source.Write("Files/g1/3F2A.gif", "picture");
    source.Write("config/Face.Xml",
                 Utf16LeLines({QStringLiteral("<FACE FileIndex=\"3F2A.gif\">"),
                               QStringLiteral("<FileName>happy.gif</FileName>"), "</FACE>"}));
    const QString package = jolvex.Folder() + "/pack.eip";
    QProcess gsf;
    gsf.setWorkingDirectory(source.Path());
    gsf.start("gsf", {"createole", package, "Files", "config"});
    ASSERT_TRUE(gsf.waitForFinished(10000) && gsf.exitCode() == 0);

    session.Click(labels[0].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect system = Popups().first();
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::Import)));
    const QString open = session.WaitForWindow("^(打开|Open)$");
    ASSERT_FALSE(open.isEmpty()) << "no file dialog";
    session.XDo({"type", "--delay", "20", package});
    session.XDo({"key", "Return"});
    const QString chooser = session.WaitForWindow("^浏览文件夹$");
    ASSERT_FALSE(chooser.isEmpty()) << "no folder chooser";
    Artifact("import-folder-chooser.png");
    // The library itself is the first and only top folder: choose it.
    EXPECT_TRUE(WaitUntil([&] {
        session.PressKey(chooser, "Home");
        session.PressKey(chooser, "Return");
        return session.FindWindows("^浏览文件夹$").isEmpty();
    }));
    const QString done = session.WaitForWindow("^Jolvex$", 20000);
    ASSERT_FALSE(done.isEmpty()) << "no completion message";
    Artifact("import-done.png");
    ASSERT_TRUE(ClickMessageBoxButton(session, done)) << "the box's button was not found";

    EXPECT_TRUE(QFile::exists(jolvex.DataDir() + "/pack/g1/happy.gif"))
        << session.Run("find", {jolvex.DataDir()}).toStdString();
    EXPECT_FALSE(QFile::exists(jolvex.DataDir() + "/pack/Files"));
    const QList<QRect> withPack = LabelRects(
        bar, {QStringLiteral("系统"), QStringLiteral("表情"), QStringLiteral("文字"), "pack"});
    EXPECT_TRUE(WaitUntil([&] {
        return jolvex.BarGeometry().width() == withPack.last().right() + 1 + 7 - bar.x();
    })) << "no new label on the bar";
}
} // namespace

namespace {
TEST_F(PopupTest, ASecondStartBringsTheHiddenBarBackAndEnds) {
    session.Click(labels[0].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect system = Popups().first();
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::Hide)));
    // No tray on this display: a message says how the bar comes back.
    const QString told = session.WaitForWindow("^Jolvex$");
    ASSERT_FALSE(told.isEmpty()) << "no word on how the bar comes back";
    ASSERT_TRUE(ClickMessageBoxButton(session, told));
    EXPECT_TRUE(session.WaitForNoWindow("^Jolvex 1\\.3$")) << "the bar is still shown";

    QProcess second;
    QProcessEnvironment environment = session.Environment();
    environment.insert("XDG_CONFIG_HOME", jolvex.ConfigHome());
    environment.insert("HOME", jolvex.Folder() + "/home");
    second.setProcessEnvironment(environment);
    second.start(jolvex.Folder() + "/jolvex", {});
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second start did not end";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(jolvex.WaitForBar(5000).isEmpty()) << "the first bar did not come back";
    EXPECT_TRUE(jolvex.IsRunning());
}

} // namespace

namespace {
// The tray: a real tray host on the display, the icon's menu with the System commands, Hide
// and show through it, and the modal branch while the About dialog is open.
class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready());
        tray.setProcessEnvironment(session.Environment());
        tray.start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                              "--height", "24", "--SetDockType", "true"});
        ASSERT_TRUE(tray.waitForStarted(5000));
        ASSERT_TRUE(jolvex.Start());
        ASSERT_FALSE(jolvex.WaitForBar().isEmpty());
    }
    void TearDown() override {
        // Every key a test pressed was released: a key left down repeats into later tests.
        EXPECT_TRUE(session.KeysHeldDown().isEmpty()) << "keys held down after the test";
        tray.kill();
        tray.waitForFinished(2000);
    }
    // The program's windows that are shown, by id.
    QStringList Shown() const {
        return session
            .XDo({"search", "--onlyvisible", "--pid", QString::number(jolvex.ProcessId()), ""})
            .split('\n', Qt::SkipEmptyParts);
    }
    // Whether the tray menu shows: a tall window of the program near the icon.
    bool MenuShown() const {
        for (const QString& window : Shown()) {
            const QRect rect = session.Geometry(window);
            if (rect.height() > 100 && rect.x() > 900 && rect.y() > 400)
                return true;
        }
        return false;
    }
    // Walks the open menu down to `entry` with keys and chooses it.
    void ChooseFromMenu(SystemEntry entry) {
        for (int i = 0; i < SystemMenuDownPresses(entry); ++i)
            session.XDo({"key", "--delay", "30", "Down"});
        session.XDo({"key", "--delay", "30", "Return"});
    }
    // The icon: the program's small window that the tray host holds.
    QRect Icon() const {
        for (const QString& window : Shown()) {
            const QRect rect = session.Geometry(window);
            if (rect.width() <= 48 && rect.height() <= 48 && rect.y() > 600)
                return rect;
        }
        return {};
    }

    XSession session;
    JolvexRun jolvex{session};
    QProcess tray;
};

TEST_F(TrayTest, TheIconsMenuHidesAndShowsTheBar) {
    QRect icon;
    ASSERT_TRUE(WaitUntil([&] { return (icon = Icon()).isValid(); }, 10000)) << "no tray icon";
    const int before = Shown().size();
    session.Click(icon.center());
    ASSERT_TRUE(WaitUntil([&] { return Shown().size() > before; })) << "no menu";
    QDir().mkpath(JOLVEX_ARTIFACT_DIR);
    session.Screenshot(JOLVEX_ARTIFACT_DIR "/tray-menu.png");
    // 隐藏窗口: the menu opens upwards from the bottom edge, so it is reached by keys.
    ChooseFromMenu(SystemEntry::Hide);
    EXPECT_TRUE(session.WaitForNoWindow("^Jolvex 1\\.3$")) << "the bar is still shown";

    const int hidden = Shown().size();
    session.Click(icon.center());
    ASSERT_TRUE(WaitUntil([&] { return Shown().size() > hidden; }))
        << "no menu: " << before << " " << hidden << " " << Shown().size();
    ChooseFromMenu(SystemEntry::Hide);
    EXPECT_FALSE(jolvex.WaitForBar(5000).isEmpty()) << "the bar did not come back";
}
TEST_F(TrayTest, WhileADialogIsOpenTheIconBringsItForwardInsteadOfTheMenu) {
    QRect icon;
    ASSERT_TRUE(WaitUntil([&] { return (icon = Icon()).isValid(); }, 10000)) << "no tray icon";
    const int before = Shown().size();
    session.Click(icon.center());
    ASSERT_TRUE(WaitUntil([&] { return Shown().size() > before; })) << "no menu";
    ASSERT_TRUE(MenuShown());
    ChooseFromMenu(SystemEntry::About);
    const QString about = session.WaitForWindow("^关于 Jolvex$");
    ASSERT_FALSE(about.isEmpty()) << "no About dialog";
    EXPECT_TRUE(WaitUntil([&] { return !MenuShown(); })) << "the menu stayed under the dialog";

    session.Click(icon.center());
    WaitUntil([] { return false; }, 500); // time for a menu to appear, if one would
    QDir().mkpath(JOLVEX_ARTIFACT_DIR);
    session.Screenshot(JOLVEX_ARTIFACT_DIR "/tray-click-over-about.png");
    EXPECT_FALSE(MenuShown()) << "a menu opened over the modal dialog";
    const QString where = session.XDo({"getmouselocation", "--shell"});
    EXPECT_TRUE(where.contains(QString("X=%1\n").arg(icon.center().x())) &&
                where.contains(QString("Y=%1\n").arg(icon.center().y())))
        << "the pointer did not come back: " << where.toStdString();
    EXPECT_FALSE(session.FindWindows("^关于 Jolvex$").isEmpty());
    EXPECT_TRUE(ClickMessageBoxButton(session, about, "^关于 Jolvex$")) << "确定 not found";
    EXPECT_TRUE(jolvex.IsRunning());
}
} // namespace

namespace {
// Organising by dragging with the real pointer: a reorder inside a folder keeps the popup open.
TEST_F(PopupTest, DraggingAPictureOntoAnotherReordersTheFolder) {
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    const QPoint a(popup.x() + 2 + 22, popup.y() + 24 + 22); // a.png, after the folder row
    const QPoint b = a + QPoint(44, 0);                      // b.gif
    session.Drag(b, a);
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(jolvex.DataDir() + "/表情/Order.ini"); }))
        << "nothing was written";
    QFile order(jolvex.DataDir() + QStringLiteral("/表情/Order.ini"));
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    EXPECT_EQ(order.readAll(), Utf16LeLines({QStringLiteral("动物"), "b.gif", "a.png"}));
    EXPECT_EQ(Popups().size(), 1) << "the popup stays open, refilled";
    EXPECT_TRUE(chat.WaitForReport("paste-", 500).isEmpty()) << "a drag pasted";
    EXPECT_TRUE(chat.HasFocus());
}
} // namespace

namespace {
// Across the bar: over another label the popup switches to that folder, and a drop there moves
// the picture on disk, just before the entry it was dropped on, and closes the popups.
TEST_F(PopupTest, DraggingAPictureAcrossTheLabelsMovesItIntoAnotherFolder) {
    ASSERT_NO_FATAL_FAILURE(DragAcrossTheLabelsOntoTheSnippet());
    session.XDo({"mouseup", "1"});
    // The move comes first, the order file right after it: wait for both.
    EXPECT_TRUE(WaitUntil([&] {
        return QFile::exists(jolvex.DataDir() + "/文字/a.png") &&
               QFile::exists(jolvex.DataDir() + "/文字/Order.ini");
    }));
    EXPECT_FALSE(QFile::exists(jolvex.DataDir() + "/表情/a.png"));
    QFile order(jolvex.DataDir() + QStringLiteral("/文字/Order.ini"));
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    EXPECT_EQ(order.readAll(), Utf16LeLines({"a.png", QStringLiteral("晚安.txt")}));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle)) << "the popups stay open";
    EXPECT_TRUE(chat.WaitForReport("paste-", 500).isEmpty());
    EXPECT_TRUE(chat.HasFocus());
}
} // namespace

namespace {
// A drag that comes back to its own entry changes and pastes nothing; a drag out over another
// program's window closes the popups.
TEST_F(PopupTest, ADragBackOntoItselfDoesNothingAndOneOutOfThePopupsClosesThem) {
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    const QPoint b(popup.x() + 2 + 22 + 44, popup.y() + 24 + 22); // b.gif
    session.Drag(b, b + QPoint(0, 8));
    session.Drag(b + QPoint(0, 8), b); // pressed there, dragged away and back, released
    WaitUntil([] { return false; }, 300);
    EXPECT_FALSE(QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/Order.ini")));
    EXPECT_TRUE(chat.WaitForReport("paste-", 500).isEmpty()) << "a drag pasted";
    EXPECT_EQ(Popups().size(), 1);

    const QPoint outside = session.Geometry(chat.Window()).center() + QPoint(0, 100);
    session.Drag(b, outside);
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle)) << "the popups stayed over another window";
    EXPECT_TRUE(QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/b.gif")));
    EXPECT_TRUE(chat.WaitForReport("paste-", 500).isEmpty());
    EXPECT_TRUE(chat.HasFocus());
}
} // namespace

namespace {
// Into a sub-folder: resting on the folder during the drag opens its submenu, and a drop on
// an entry there moves the picture in.
TEST_F(PopupTest, RestingOnAFolderDuringADragOpensItsSubmenuForTheDrop) {
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    const QPoint a(popup.x() + 2 + 22, popup.y() + 24 + 22); // a.png
    const QPoint folder(popup.x() + 30, popup.y() + 12);     // 动物
    BeginDrag(a, QPoint(3, 0));
    MovePointer(folder + QPoint(0, 4));
    MovePointer(folder);
    ASSERT_TRUE(WaitForPopups(2)) << "resting on the folder did not open its submenu";
    const QRect sub = Popups().last();
    const QPoint kitten(sub.x() + 2 + 22, sub.y() + 2 + 22); // 小猫.png
    MovePointer(QPoint(sub.x() + 10, folder.y()));
    MovePointer(kitten);
    session.XDo({"mouseup", "1"});
    EXPECT_TRUE(WaitUntil([&] {
        return QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/动物/a.png")) &&
               QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/动物/Order.ini"));
    })) << "not moved into the sub-folder";
    QFile order(jolvex.DataDir() + QStringLiteral("/表情/动物/Order.ini"));
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    EXPECT_EQ(order.readAll(), Utf16LeLines({"a.png", QStringLiteral("小猫.png")}));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));
    EXPECT_TRUE(chat.HasFocus());
}
} // namespace

namespace {
// An empty sub-folder: its submenu shows the placeholder, which takes the drop.
TEST_F(PopupTest, ADropOnAnEmptyFoldersPlaceholderMovesThePictureThere) {
    QDir().mkpath(jolvex.DataDir() + QStringLiteral("/表情/空的")); // sorts after 动物
    session.Click(labels[1].center());
    ASSERT_TRUE(WaitForPopups(1));
    const QRect popup = Popups().first();
    const QPoint a(popup.x() + 2 + 22, popup.y() + 2 + 22 + 22 + 22); // below two folder rows
    const QPoint empty(popup.x() + 30, popup.y() + 2 + 22 + 11);      // 空的
    BeginDrag(a, QPoint(3, 0));
    MovePointer(empty + QPoint(0, 4));
    MovePointer(empty);
    ASSERT_TRUE(WaitForPopups(2)) << "the empty folder's submenu did not open";
    const QRect sub = Popups().last();
    MovePointer(QPoint(sub.x() + 10, empty.y()));
    MovePointer(QPoint(sub.x() + 30, sub.y() + 2 + 11)); // the placeholder 空
    session.XDo({"mouseup", "1"});
    EXPECT_TRUE(WaitUntil([&] {
        return QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/空的/a.png")) &&
               QFile::exists(jolvex.DataDir() + QStringLiteral("/表情/空的/Order.ini"));
    })) << "not moved into the empty folder";
    QFile order(jolvex.DataDir() + QStringLiteral("/表情/空的/Order.ini"));
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    EXPECT_EQ(order.readAll(), QByteArray("\xFF\xFE", 2)) << "it lists no names";
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));
}
} // namespace

namespace {
// A preview shown while a drag rests on an entry goes with the drag: a drop that moves the
// picture closes the popups and the preview with them.
TEST_F(PopupTest, APreviewShownDuringADragClosesWithTheDrop) {
    ASSERT_NO_FATAL_FAILURE(DragAcrossTheLabelsOntoTheSnippet());
    ASSERT_FALSE(session.WaitForWindow(kPreviewTitle).isEmpty())
        << "resting on the snippet showed no preview";
    session.XDo({"mouseup", "1"});
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(jolvex.DataDir() + "/文字/a.png"); }));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle)) << "the popups stay open";
    // After the drag the pointer enters whatever lies under it again: nothing may arm a
    // preview on the hidden popup, whose hover delay is 800 ms.
    WaitUntil([] { return false; }, 1500);
    EXPECT_TRUE(session.FindWindows(kPreviewTitle).isEmpty()) << "the preview outlived the drop";
    EXPECT_TRUE(chat.HasFocus());
}
} // namespace
