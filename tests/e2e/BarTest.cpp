#include "BarLabels.h"
#include "ChatReceiver.h"
#include "JolvexRun.h"
#include "SystemMenuRows.h"
#include "XSession.h"

#include "platform/Platform.h"
#include "support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {
const QString kMenuTitle = QStringLiteral("^Jolvex menu$");

class BarTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start"; }
    void TearDown() override {
        // Every key a test pressed was released: a key left down repeats into later tests.
        EXPECT_TRUE(session.KeysHeldDown().isEmpty()) << "keys held down after the test";
    }
    XSession session;
};

TEST_F(BarTest, FirstStartCreatesTheDataFolderAndCentresTheSystemLabel) {
    JolvexRun jolvex(session);
    ASSERT_TRUE(jolvex.Start());
    const QRect bar = jolvex.BarGeometry();
    ASSERT_TRUE(bar.isValid());
    EXPECT_TRUE(QDir(jolvex.DataDir()).exists());
    EXPECT_EQ(bar.height(), 26);
    EXPECT_EQ(bar.width(), ExpectedBarWidth({QStringLiteral("系统")}));
    EXPECT_EQ(bar.y(), 0);
    EXPECT_EQ(bar.x(), (XSession::screenWidth - bar.width()) / 2);
    EXPECT_FALSE(QFile::exists(jolvex.ConfigHome() + "/Jolvex/1.0.ini"))
        << "a start without an update flag asks nothing and writes nothing";
}

TEST_F(BarTest, OneLabelPerTopLevelFolder) {
    JolvexRun jolvex(session);
    for (const char* folder : {"表情", "文字", "动物 & 植物"})
        jolvex.MakeFolder(QStringLiteral("数据/") + QString::fromUtf8(folder));
    jolvex.Write(QStringLiteral("数据/loose.gif"), "not a label");
    ASSERT_TRUE(jolvex.Start());
    const QRect bar = jolvex.BarGeometry();
    EXPECT_EQ(bar.width(),
              ExpectedBarWidth({QStringLiteral("系统"), QStringLiteral("表情"),
                                QStringLiteral("文字"), QStringLiteral("动物 & 植物")}));
    EXPECT_EQ(bar.x(), (XSession::screenWidth - bar.width()) / 2);
    QDir().mkpath(JOLVEX_ARTIFACT_DIR);
    session.Screenshot(JOLVEX_ARTIFACT_DIR "/bar.png");
}

TEST_F(BarTest, SavedPositionIsClampedToTheScreen) {
    const struct {
        const char* options;
        int expectedLeft; // -1: flush with the right edge
        int expectedTop;
    } cases[] = {
        {"[MainWnd]\r\nLeft=100\r\nTop=40\r\n", 100, 40},
        {"[MainWnd]\r\nLeft=2000\r\nTop=30\r\n", -1, 30},
        {"[MainWnd]\r\nLeft=-50\r\nTop=0\r\n", 0, 0},
        {"[Other]\r\nKeep=1\r\n[MainWnd]\r\nTop=60\r\n", -2, 60}, // -2: centred
    };
    for (const auto& c : cases) {
        JolvexRun jolvex(session);
        jolvex.WriteOptions(QString::fromLatin1(c.options));
        ASSERT_TRUE(jolvex.Start());
        const QRect bar = jolvex.BarGeometry();
        ASSERT_TRUE(bar.isValid()) << c.options;
        int left = c.expectedLeft;
        if (left == -1)
            left = XSession::screenWidth - bar.width();
        if (left == -2)
            left = (XSession::screenWidth - bar.width()) / 2;
        EXPECT_EQ(bar.x(), left) << c.options;
        EXPECT_EQ(bar.y(), c.expectedTop) << c.options;
    }
}

TEST_F(BarTest, DraggingMovesTheBarAndReleasingNearTheTopSnapsIt) {
    JolvexRun jolvex(session);
    jolvex.WriteOptions("[MainWnd]\r\nLeft=200\r\nTop=100\r\n");
    ASSERT_TRUE(jolvex.Start());
    const QString window = jolvex.WaitForBar();
    QRect bar = session.Geometry(window);
    ASSERT_EQ(bar.topLeft(), QPoint(200, 100));

    // Grab the left end cap and drop the bar 10 pixels below the top edge: it snaps to 0.
    const QPoint grab(bar.x() + 3, bar.y() + 13);
    session.Drag(grab, grab + QPoint(50, -90));
    ASSERT_TRUE(WaitUntil([&] { return session.Geometry(window).topLeft() == QPoint(250, 0); }))
        << "bar at " << session.Geometry(window).x() << "," << session.Geometry(window).y();

    // 16 pixels below the top it stays where it was dropped.
    bar = session.Geometry(window);
    const QPoint again(bar.x() + 3, bar.y() + 13);
    session.Drag(again, again + QPoint(-30, 16));
    EXPECT_TRUE(WaitUntil([&] { return session.Geometry(window).topLeft() == QPoint(220, 16); }))
        << "bar at " << session.Geometry(window).x() << "," << session.Geometry(window).y();

    // Beyond the left edge it comes back to 0.
    bar = session.Geometry(window);
    const QPoint third(bar.x() + 3, bar.y() + 13);
    session.Drag(third, QPoint(1, third.y() + 200));
    EXPECT_TRUE(WaitUntil([&] { return session.Geometry(window).x() == 0; }));
    EXPECT_EQ(session.Geometry(window).y(), 216);
}

TEST_F(BarTest, TheChatWindowKeepsTheFocusWhileTheBarIsUsed) {
    ChatReceiver chat(session);
    ASSERT_TRUE(chat.Start()) << "the receiving window did not get the focus";
    JolvexRun jolvex(session);
    jolvex.MakeFolder(QStringLiteral("数据/表情"));
    ASSERT_TRUE(jolvex.Start());
    const QString window = jolvex.WaitForBar();
    ASSERT_FALSE(window.isEmpty());
    const QRect bar = session.Geometry(window);
    const QPoint systemLabel(bar.x() + 12, bar.y() + 13);

    // A press on a label opens the popup under it; a second press closes it.
    session.Click(systemLabel);
    const QString menu = session.WaitForWindow(kMenuTitle);
    ASSERT_FALSE(menu.isEmpty());
    const QRect popup = session.Geometry(menu);
    EXPECT_EQ(popup.topLeft(), QPoint(bar.x() + 7, bar.bottom() + 1));
    EXPECT_TRUE(chat.HasFocus());
    session.Click(systemLabel);
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));

    // Dragging the bar.
    session.Drag(QPoint(bar.x() + 3, bar.y() + 13), QPoint(bar.x() + 83, bar.y() + 213));
    EXPECT_TRUE(WaitUntil([&] { return session.Geometry(window).y() == 200; }));
    EXPECT_TRUE(chat.HasFocus());

    // With the popup open, a press on the chat window closes it.
    const QRect moved = session.Geometry(window);
    session.Click(QPoint(moved.x() + 12, moved.y() + 13));
    ASSERT_FALSE(session.WaitForWindow(kMenuTitle).isEmpty());
    session.Click(session.Geometry(chat.Window()).center() + QPoint(0, 100));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));

    EXPECT_TRUE(chat.HasFocus());
    EXPECT_FALSE(chat.Reports().contains("focus-lost")) << chat.Reports().join(",").toStdString();
    EXPECT_TRUE(jolvex.IsRunning());
}
} // namespace

namespace {
TEST_F(BarTest, TheUpdateFlagAsksAfterTheBarIsShownAndNoChangesNothing) {
    JolvexRun jolvex(session);
    jolvex.Write("config/Jolvex/1.0.ini", "[General]\nUpDate=1\n");
    ASSERT_TRUE(jolvex.Start());
    const QString question = session.WaitForWindow("^Jolvex$");
    ASSERT_FALSE(question.isEmpty()) << "no update question";
    EXPECT_FALSE(jolvex.WaitForBar(100).isEmpty()) << "the bar shows before the question";
    EXPECT_TRUE(session.PressKey(question, "n")); // 否 / No
    EXPECT_TRUE(session.WaitForNoWindow("^Jolvex$"));
    EXPECT_TRUE(jolvex.IsRunning());
    QFile settings(jolvex.ConfigHome() + "/Jolvex/1.0.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("UpDate=1")) << "the flag stays for the next start";
}
TEST_F(BarTest, TheUpdateQuestionAnsweredYesOpensTheHomePage) {
    JolvexRun jolvex(session);
    jolvex.InstallFakeBrowser();
    jolvex.Write("config/Jolvex/1.0.ini", "[General]\nUpDate=1\n");
    ASSERT_TRUE(jolvex.Start());
    const QString question = session.WaitForWindow("^Jolvex$");
    ASSERT_FALSE(question.isEmpty()) << "no update question";
    EXPECT_TRUE(session.PressKey(question, "y")); // 是 / Yes
    EXPECT_TRUE(session.WaitForNoWindow("^Jolvex$"));
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(jolvex.OpenedFile()); }));
    QFile opened(jolvex.OpenedFile());
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll().trimmed(), "https://www.jolvex.cn/");
    EXPECT_TRUE(jolvex.IsRunning());
}

// The popup's place comes from where the bar is, also in the first moments after it appears,
// before the window manager has confirmed where it put the bar.
TEST_F(BarTest, ALabelPressedTheMomentTheBarAppearsOpensItsPopupUnderIt) {
    const int width = ExpectedBarWidth({QStringLiteral("系统"), QStringLiteral("表情")});
    const int barLeft = (XSession::screenWidth - width) / 2;
    const QPoint label(barLeft + 7 + 12, 13); // inside 表情's neighbour 系统, at its left part
    for (int run = 0; run < 3; ++run) {
        JolvexRun jolvex(session);
        jolvex.MakeFolder(QStringLiteral("数据/表情"));
        session.XDo({"mousemove", "100", "700"}); // the pointer is not over the bar before
        ASSERT_TRUE(jolvex.Start());
        // One xdotool run waits for the bar to be shown and presses at once.
        session.XDo({"search", "--sync", "--onlyvisible", "--name", "^Jolvex 1\\.3$", "mousemove",
                     QString::number(label.x()), QString::number(label.y()), "click", "1"});
        const QString popup = session.WaitForWindow(kMenuTitle, 3000);
        ASSERT_FALSE(popup.isEmpty()) << "run " << run;
        EXPECT_EQ(session.Geometry(popup).topLeft(), QPoint(barLeft + 7, 26)) << "run " << run;
    }
}
// The order dialog from the System popup, driven by keys: a name moves up three times and OK
// rewrites the top-level Order.ini and the bar.
TEST_F(BarTest, TheOrderDialogMovesANameUpAndOkRewritesTheBar) {
    JolvexRun jolvex(session);
    jolvex.Write(QStringLiteral("数据/Order.ini"),
                 Utf16LeLines({QStringLiteral("表情"), QStringLiteral("文字")}));
    for (const char* name : {"表情", "文字", "动物", "植物", "风景"})
        jolvex.MakeFolder(QStringLiteral("数据/") + QString::fromUtf8(name));
    ASSERT_TRUE(jolvex.Start());
    const QRect bar = jolvex.BarGeometry();
    ASSERT_TRUE(bar.isValid());
    session.Click(QPoint(bar.x() + 12, bar.y() + 13)); // 系统
    const QString popup = session.WaitForWindow(kMenuTitle);
    ASSERT_FALSE(popup.isEmpty());
    const QRect system = session.Geometry(popup);
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::OrderLabels)));
    const QString dialog = session.WaitForWindow("^主菜单顺序调整$");
    ASSERT_FALSE(dialog.isEmpty()) << "no order dialog";
    // The list: 表情 文字 (Order.ini), then 动物 植物 风景 by name. Select the fourth, 植物,
    // move it up three times, then OK. The list has the focus, on its first row.
    session.XDo({"windowactivate", "--sync", dialog});
    for (const char* key :
         {"Down", "Down", "Down", "Tab", "space", "space", "space", "Tab", "Tab", "space"})
        session.XDo({"key", "--delay", "30", key});
    ASSERT_TRUE(session.WaitForNoWindow("^主菜单顺序调整$"));
    QFile order(jolvex.DataDir() + "/Order.ini");
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    EXPECT_EQ(order.readAll(),
              Utf16LeLines({QStringLiteral("植物"), QStringLiteral("表情"), QStringLiteral("文字"),
                            QStringLiteral("动物"), QStringLiteral("风景")}));
    // Again, moving a name but cancelling: nothing is written.
    session.Click(QPoint(bar.x() + 12, bar.y() + 13));
    const QString again = session.WaitForWindow(kMenuTitle);
    ASSERT_FALSE(again.isEmpty());
    session.Click(QPoint(system.x() + 40, system.y() + SystemRowCentre(SystemEntry::OrderLabels)));
    const QString second = session.WaitForWindow("^主菜单顺序调整$");
    ASSERT_FALSE(second.isEmpty());
    session.XDo({"windowactivate", "--sync", second});
    for (const char* key : {"Down", "Tab", "space", "Tab", "Tab", "Tab", "space"}) // 取消
        session.XDo({"key", "--delay", "30", key});
    ASSERT_TRUE(session.WaitForNoWindow("^主菜单顺序调整$"));
    order.close();
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    EXPECT_EQ(order.readAll(),
              Utf16LeLines({QStringLiteral("植物"), QStringLiteral("表情"), QStringLiteral("文字"),
                            QStringLiteral("动物"), QStringLiteral("风景")}))
        << "Cancel wrote the order";

    // The label after 系统 opens 植物, an empty folder: one row.
    const int secondLabel = bar.x() + ExpectedBarWidth({QStringLiteral("系统")}) - 7;
    session.Click(QPoint(secondLabel + 10, bar.y() + 13));
    const QString opened = session.WaitForWindow(kMenuTitle);
    ASSERT_FALSE(opened.isEmpty());
    EXPECT_EQ(session.Geometry(opened).height(), 22 + 4) << "not the empty folder 植物";
}
} // namespace
