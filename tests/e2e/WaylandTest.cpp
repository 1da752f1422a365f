// The program on a GNOME Wayland session (mutter + XWayland), pasting into a native Wayland
// window. Every press and key goes in through the compositor, as a user's would.
#include "BarLabels.h"
#include "ChatReceiver.h"
#include "JolvexRun.h"
#include "WaylandSession.h"

#include "FixturePictures.h"
#include "support/TempTree.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace {
const QString kMenuTitle = QStringLiteral("^Jolvex menu$");
const QString kNoticeTitle = QStringLiteral("^Jolvex notice$");
const QString kGreeting = QStringLiteral("你好\\n世界"); // as the receiver reports line breaks

class WaylandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "mutter with XWayland did not start";
        ASSERT_TRUE(chat.Start()) << "the native receiving window did not get the focus";
        // 表情: a picture; 文字: two snippets, one of them two lines of Chinese.
        jolvex.Write(QStringLiteral("数据/Order.ini"),
                     Utf16LeLines({QStringLiteral("表情"), QStringLiteral("文字")}));
        QDir().mkpath(jolvex.DataDir() + QStringLiteral("/表情"));
        TestPattern(QSize(48, 40)).save(jolvex.DataDir() + QStringLiteral("/表情/a.png"));
        jolvex.Write(QStringLiteral("数据/文字/1问候.txt"),
                     QString::fromUtf8("你好\r\n世界").toUtf8());
        jolvex.Write(QStringLiteral("数据/文字/2晚安.txt"), QString::fromUtf8("晚安").toUtf8());
    }

    void TearDown() override { EXPECT_TRUE(session.KeysHeldDown().isEmpty()); }

    // Starts the program; the portal's dialog takes the focus from the chat and `answer` gives
    // it an answer. Then the chat has the focus again.
    void StartAndAnswerThePortal(bool grant) {
        ASSERT_TRUE(jolvex.Start());
        const QString window = jolvex.WaitForBar();
        ASSERT_FALSE(window.isEmpty());
        bar = window;
        ASSERT_TRUE(WaitUntil([&] { return !chat.HasFocus(); }, 15000))
            << "the portal's permission dialog did not appear";
        QThread::msleep(500); // the dialog takes keys once it has drawn itself
        if (grant)
            session.GrantPortalDialog();
        else
            session.DeclinePortalDialog();
        ASSERT_TRUE(WaitUntil([&] { return chat.HasFocus(); }, 10000))
            << "the chat did not get the focus back after the dialog";
    }

    // The label of the library's folder `index` as the bar shows it now: after the first paste
    // 最近使用 stands after 系统 and the folders move right.
    QRect Label(int index) const {
        const QStringList shown = pasted ? QStringList({"系统", "最近使用", "表情", "文字"})
                                         : QStringList({"系统", "表情", "文字"});
        return LabelRects(session.Geometry(bar), shown)[index == 0 ? 0 : index + (pasted ? 1 : 0)];
    }

    // Opens the label's popup and clicks its entry in row `row` (snippets: one row each).
    // The clock, when given, starts at the click on the entry.
    void ChooseEntry(int label, int row, QElapsedTimer* sinceClick = nullptr) {
        session.Click(Label(label).center());
        ASSERT_FALSE(session.WaitForWindow(kMenuTitle).isEmpty());
        const QRect menu = session.Geometry(session.WaitForWindow(kMenuTitle));
        session.MoveTo(QPoint(menu.x() + 40, menu.y() + 12 + row * 22));
        QThread::msleep(100);
        if (sinceClick)
            sinceClick->start();
        session.Click(QPoint(menu.x() + 40, menu.y() + 12 + row * 22));
        ASSERT_TRUE(session.WaitForNoWindow(kMenuTitle));
        pasted = true;
    }

    WaylandSession session;
    ChatReceiver chat{session};
    JolvexRun jolvex{session};
    QString bar;
    bool pasted = false; // something was chosen: 最近使用 shows
};

TEST_F(WaylandTest, ASnippetAndAPicturePasteIntoTheNativeWindowWhichKeepsTheFocus) {
    StartAndAnswerThePortal(true);
    QElapsedTimer clickToText;
    ChooseEntry(2, 0, &clickToText);
    EXPECT_EQ(chat.WaitForReport("paste-"), "paste-text " + kGreeting);
    std::cout << "[ measure  ] click to text in the native window: " << clickToText.elapsed()
              << " ms\n";
    ChooseEntry(1, 0);
    EXPECT_EQ(chat.WaitForReport("paste-image"), "paste-image 48x40");
    EXPECT_TRUE(chat.HasFocus());
    EXPECT_FALSE(chat.Reports().join('\n').contains("typed"))
        << chat.Reports().join(QLatin1Char(10)).toStdString();
    EXPECT_TRUE(session.FindWindows(kNoticeTitle).isEmpty());
}

// The keys must not overtake the compositor's view of the clipboard: each paste brings what
// was just chosen, not what was chosen before.
TEST_F(WaylandTest, EveryPasteBringsTheSnippetJustChosen) {
    StartAndAnswerThePortal(true);
    const QStringList expected{kGreeting, QStringLiteral("晚安")};
    constexpr int kTries = 8;
    int stale = 0;
    for (int i = 0; i < kTries; ++i) {
        const int before = chat.Reports().size();
        ChooseEntry(2, i % 2);
        EXPECT_TRUE(WaitUntil(
            [&] {
                const QStringList reports = chat.Reports().mid(before);
                return std::any_of(reports.begin(), reports.end(),
                                   [](const QString& r) { return r.startsWith("paste-"); });
            },
            5000))
            << "paste " << i << " did not arrive: " << chat.Reports().join('\n').toStdString();
        for (const QString& report : chat.Reports().mid(before))
            if (report.startsWith("paste-") && report != "paste-text " + expected[i % 2])
                ++stale;
    }
    EXPECT_EQ(stale, 0) << chat.Reports().join('\n').toStdString();
}

TEST_F(WaylandTest, APressOnTheNativeWindowClosesThePopupAndTheChatKeepsTheFocus) {
    StartAndAnswerThePortal(true);
    const auto pressesOnTheChat = [&] { return chat.Reports().count("pressed"); };
    const qsizetype pressesBefore = pressesOnTheChat();
    session.Click(Label(1).center());
    ASSERT_FALSE(session.WaitForWindow(kMenuTitle).isEmpty());
    session.Click(QPoint(XSession::screenWidth / 4, XSession::screenHeight * 3 / 4));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle)) << "the popup stayed open";
    EXPECT_TRUE(chat.HasFocus());
    EXPECT_EQ(pressesOnTheChat(), pressesBefore) << "the closing press went on to the chat";
    // The bar's labels still work after that, and so does the next outside press.
    session.Click(Label(2).center());
    EXPECT_FALSE(session.WaitForWindow(kMenuTitle).isEmpty());
    session.Click(QPoint(XSession::screenWidth - 50, XSession::screenHeight - 50));
    EXPECT_TRUE(session.WaitForNoWindow(kMenuTitle));
    // With the popups closed, presses reach the chat again.
    session.Click(QPoint(XSession::screenWidth / 2, XSession::screenHeight / 2));
    EXPECT_TRUE(WaitUntil([&] { return pressesOnTheChat() == pressesBefore + 1; }));
}

// Without the permission the snippet stays on the clipboard and a note says to paste by hand;
// the user's Ctrl+V then pastes it.
TEST_F(WaylandTest, WithoutPermissionANoteAsksForCtrlVAndTheClipboardHoldsTheSnippet) {
    StartAndAnswerThePortal(false);
    ChooseEntry(2, 0);
    EXPECT_FALSE(session.WaitForWindow(kNoticeTitle).isEmpty());
    EXPECT_TRUE(chat.HasFocus());
    EXPECT_TRUE(chat.WaitForReport("paste-", 500).isEmpty()) << "pasted without permission";
    session.PressKey({}, "ctrl+v");
    EXPECT_EQ(chat.WaitForReport("paste-"), "paste-text " + kGreeting)
        << chat.Reports().join('\n').toStdString();
    EXPECT_TRUE(session.WaitForNoWindow(kNoticeTitle, 8000)) << "the note stayed";
}

TEST_F(WaylandTest, WithoutAPortalANoteAsksForCtrlV) {
    jolvex.OverrideEnvironment("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    ASSERT_TRUE(jolvex.Start());
    const QString window = jolvex.WaitForBar();
    ASSERT_FALSE(window.isEmpty());
    bar = window;
    ChooseEntry(2, 1);
    EXPECT_FALSE(session.WaitForWindow(kNoticeTitle).isEmpty());
    EXPECT_TRUE(chat.HasFocus());
    // The next popup takes the note away.
    session.Click(Label(1).center());
    EXPECT_TRUE(session.WaitForNoWindow(kNoticeTitle));
    session.PressKey({}, "Escape");
}

} // namespace
