#include "BarLabels.h"
#include "JolvexRun.h"
#include "ScreenSearch.h"
#include "XSession.h"

#include "FixturePictures.h"
#include "base/TextCodec.h"
#include "support/TempTree.h"

#include <QDir>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace {
const QRgb kMarker = qRgb(0xFF, 0x00, 0xFF); // the dragged picture, easy to find on the screen

// Debian's file manager PCManFM showing a folder, in a home of its own, its icons large
// enough to be found on a screenshot by their colour.
class FileManager {
public:
    FileManager(const XSession& session, const QString& folder) : session_(session) {
        home_.Write(".config/pcmanfm/default/pcmanfm.conf",
                    "[config]\nbm_open_method=0\n\n[ui]\nalways_show_tabs=0\n"
                    "show_statusbar=0\nview_mode=icon\nshow_hidden=0\n"
                    "side_pane_mode=hidden\n");
        home_.Write(".config/libfm/libfm.conf",
                    "[config]\nsingle_click=0\nthumbnail_local=1\nthumbnail_max=16384\n"
                    "confirm_del=1\n\n[ui]\nbig_icon_size=96\nthumbnail_size=128\n");
        process_.setProcessEnvironment([&] {
            QProcessEnvironment environment = session.Environment();
            environment.insert("HOME", home_.Path());
            environment.insert("XDG_CONFIG_HOME", home_ / ".config");
            environment.insert("XDG_CACHE_HOME", home_ / ".cache");
            environment.insert("XDG_DATA_HOME", home_ / ".local/share");
            environment.insert("NO_AT_BRIDGE", "1");
            return environment;
        }());
        process_.setStandardInputFile(QProcess::nullDevice());
        process_.start("pcmanfm", {"--no-desktop", folder});
    }
    ~FileManager() { StopProcess(&process_); }
    QString Window(const QString& titlePattern) const {
        return session_.WaitForWindow(titlePattern, 15000);
    }

private:
    const XSession& session_;
    TempTree home_;
    QProcess process_;
};

class FileManagerDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start";
        QDir().mkpath(jolvex.DataDir() + "/表情");
        ASSERT_TRUE(TestPattern(QSize(48, 48)).save(jolvex.DataDir() + "/表情/a.png"));
        ASSERT_TRUE(TestPattern(QSize(48, 48)).save(jolvex.DataDir() + "/表情/b.png"));
        QImage marker(96, 96, QImage::Format_RGB32);
        marker.fill(kMarker);
        ASSERT_TRUE(marker.save(outside / "拖我.png"));
        marked = outside.Read("拖我.png");
        jolvex.OverrideEnvironment("QT_LOGGING_RULES", "jolvex.fs.info=true");
        ASSERT_TRUE(jolvex.Start());
        const QString window = jolvex.WaitForBar();
        ASSERT_FALSE(window.isEmpty());
        bar = session.Geometry(window);
        labels = LabelRects(bar, {QStringLiteral("系统"), QStringLiteral("表情")});
    }
    void Artifact(const QString& name) const {
        QDir().mkpath(JOLVEX_ARTIFACT_DIR);
        session.Screenshot(QString(JOLVEX_ARTIFACT_DIR) + "/" + name);
    }
    void MovePointer(QPoint p) const {
        session.XDo({"mousemove", QString::number(p.x()), QString::number(p.y())});
        WaitUntil([] { return false; }, 80);
    }

    XSession session;
    JolvexRun jolvex{session};
    TempTree outside;
    QByteArray marked;
    QRect bar;
    QList<QRect> labels;
};

// A picture dragged with the real pointer from PCManFM's window, over the 表情 label (which
// opens its popup) onto the second entry (b.png): copied in before it, the source left as it
// was; a second drop of the same picture onto the second entry (now the copy) gets a free name.
TEST_F(FileManagerDropTest, AFileFromPcmanfmComesInBeforeTheEntryItIsDroppedOn) {
    FileManager files(session, outside.Path());
    const QString window = files.Window(QString("^%1").arg(QDir(outside.Path()).dirName()));
    ASSERT_FALSE(window.isEmpty()) << "PCManFM did not show the folder";
    session.XDo({"windowmove", window, "300", "250"});
    session.XDo({"windowsize", window, "700", "450"});
    QRect fileWindow;
    ASSERT_TRUE(WaitUntil([&] { return (fileWindow = session.Geometry(window)).x() >= 290; }));

    for (int drop = 1; drop <= 2; ++drop) {
        // A click on the view's empty corner: the icon a drag left selected shows in its own
        // colour again.
        session.Click(fileWindow.bottomRight() - QPoint(40, 40));
        QPoint icon;
        ASSERT_TRUE(WaitUntil(
            [&] {
                // Kept among the artifacts: it shows what the file manager showed.
                const QString shot = QString(JOLVEX_ARTIFACT_DIR) + "/pcmanfm-window.png";
                QDir().mkpath(JOLVEX_ARTIFACT_DIR);
                session.Screenshot(shot);
                icon = FindColour(QImage(shot).convertToFormat(QImage::Format_RGB32), fileWindow,
                                  kMarker, 50);
                return !icon.isNull();
            },
            15000))
            << "the picture's thumbnail did not show in PCManFM";
        // Press on the icon, move past the drag threshold, then over the label and down onto
        // the second cell of the popup that opened.
        MovePointer(icon);
        session.XDo({"mousedown", "1"});
        for (int i = 1; i <= 5; ++i)
            MovePointer(icon + QPoint(-6 * i, -6 * i));
        const QPoint label = labels[1].center();
        MovePointer(label + QPoint(0, 10));
        MovePointer(label);
        QString popup;
        EXPECT_TRUE(WaitUntil([&] {
            const QStringList found = session.FindWindows("^Jolvex menu$");
            return !found.isEmpty() && !(popup = found.first()).isEmpty();
        })) << "the drag over the label did not open its popup";
        const QRect menu = session.Geometry(popup);
        const QPoint second(menu.x() + 2 + 44 + 22, menu.y() + 2 + 22); // b.png
        MovePointer(second + QPoint(0, -8));
        MovePointer(second);
        MovePointer(second + QPoint(1, 0));
        if (drop == 1)
            Artifact("pcmanfm-drag-over-popup.png");
        session.XDo({"mouseup", "1"});
        // The copy shows before Order.ini lists it: the drop is done once both are there.
        const QString copy = drop == 1 ? "拖我.png" : "拖我 (2).png";
        ASSERT_TRUE(WaitUntil(
            [&] {
                return QFile::exists(jolvex.DataDir() + "/表情/" + copy) &&
                       readTextLines(jolvex.DataDir() + "/表情/Order.ini").contains(copy);
            },
            8000))
            << "drop " << drop << " did not copy the picture";
    }
    QFile copy(jolvex.DataDir() + "/表情/拖我.png");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), marked);
    // The second drop landed on the second cell again, now the first copy.
    EXPECT_EQ(readTextLines(jolvex.DataDir() + "/表情/Order.ini"),
              QStringList({"a.png", "拖我 (2).png", "拖我.png", "b.png"}));
    EXPECT_EQ(outside.Read("拖我.png"), marked) << "the source is left as it was";
    EXPECT_TRUE(outside.Names().contains("拖我.png"));
    const QString output = jolvex.Output();
    const qsizetype offers = output.indexOf("a drop from another program offers");
    ASSERT_GE(offers, 0) << output.toStdString();
    std::cout << "[ measure ] PCManFM "
              << output.mid(offers, output.indexOf('\n', offers) - offers).toStdString()
              << std::endl;
}
} // namespace
