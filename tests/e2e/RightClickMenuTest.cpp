#include "BarLabels.h"
#include "JolvexRun.h"
#include "VisiblePopups.h"
#include "XSession.h"

#include "FixturePictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
// The popups' own right-click menu with the real pointer and the real clipboard.
class RightClickMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start";
        QDir().mkpath(jolvex.DataDir() + "/表情");
        QDir().mkpath(jolvex.DataDir() + "/收藏");
        ASSERT_TRUE(TestPattern(QSize(48, 48)).save(jolvex.DataDir() + "/表情/a.png"));
        ASSERT_TRUE(TestPattern(QSize(48, 48)).save(jolvex.DataDir() + "/表情/b.png"));
        ASSERT_TRUE(jolvex.Start());
        const QString window = jolvex.WaitForBar();
        ASSERT_FALSE(window.isEmpty());
        labels =
            LabelRects(session.Geometry(window),
                       {QStringLiteral("系统"), QStringLiteral("收藏"), QStringLiteral("表情")});
    }
    QList<QRect> Popups() const { return VisiblePopups(session); }
    // Right-clicks at `at` in an open popup; the menu that opens there, or a null rectangle.
    QRect RightClickForMenu(QPoint at) {
        const int before = static_cast<int>(Popups().size());
        session.Click(at, 3);
        QRect menu;
        WaitUntil([&] {
            for (const QRect& popup : Popups())
                if (popup.topLeft() == at)
                    menu = popup;
            return Popups().size() == before + 1 && !menu.isNull();
        });
        return menu;
    }

    XSession session;
    JolvexRun jolvex{session};
    QList<QRect> labels;
};

// 粘贴到此文件夹 on "空" with a picture on the clipboard (put there by xclip, as any program
// would): it comes in as a PNG; then 移到回收站 on it: the file lies in the user's Trash with
// an info file that names where it was.
TEST_F(RightClickMenuTest, PasteAPictureIntoAFolderThenMoveItToTheTrash) {
    const QString png = jolvex.Folder() + "/clip.png";
    ASSERT_TRUE(TestPattern(QSize(36, 24)).save(png));
    QProcess xclip;
    xclip.setProcessEnvironment(session.Environment());
    xclip.start("xclip", {"-selection", "clipboard", "-t", "image/png", "-i", png});
    ASSERT_TRUE(xclip.waitForFinished(5000));

    session.Click(labels[1].center()); // 收藏: empty
    ASSERT_TRUE(WaitUntil([&] { return Popups().size() == 1; }));
    const QRect folder = Popups().first();
    QRect menu = RightClickForMenu(folder.topLeft() + QPoint(40, 12)); // on "空"
    ASSERT_FALSE(menu.isNull()) << "no menu on 空";
    session.Click(menu.topLeft() + QPoint(40, 2 + 11)); // 粘贴到此文件夹
    QStringList added;
    ASSERT_TRUE(WaitUntil([&] {
        added = QDir(jolvex.DataDir() + "/收藏").entryList({"*.png"});
        return added.size() == 1;
    })) << "nothing was pasted into the folder";
    const QString picture = jolvex.DataDir() + "/收藏/" + added.first();
    EXPECT_EQ(QImage(picture).size(), QSize(36, 24));

    // The popup shows the picture now: right-click it for 移到回收站 (the second row).
    ASSERT_TRUE(
        WaitUntil([&] { return Popups().size() == 1 && Popups().first().height() == 44 + 4; }));
    menu = RightClickForMenu(Popups().first().topLeft() + QPoint(24, 24));
    ASSERT_FALSE(menu.isNull()) << "no menu on the picture";
    session.Click(menu.topLeft() + QPoint(40, 2 + 22 + 11));
    const QString trash = jolvex.Folder() + "/home/.local/share/Trash";
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(trash + "/files/" + added.first()); }))
        << "the picture is not in the Trash";
    EXPECT_FALSE(QFile::exists(picture));
    QFile info(trash + "/info/" + added.first() + ".trashinfo");
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    const QByteArray text = info.readAll();
    EXPECT_TRUE(text.startsWith("[Trash Info]\nPath=" + QUrl::toPercentEncoding(picture, "/") +
                                "\nDeletionDate="))
        << text.toStdString();
}
} // namespace
