#include "ChatReceiver.h"
#include "XSession.h"

#include "FixturePictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
// Runs the delivery program on the session's display; it stays alive to serve the clipboard.
class Delivery {
public:
    Delivery(const XSession& session, const QString& kind, const QString& path) {
        process_.setProcessEnvironment(session.Environment());
        process_.setStandardInputFile(QProcess::nullDevice());
        process_.start(QStringLiteral(JOLVEX_DELIVER_BINARY), {kind, path});
        process_.waitForStarted(10000);
    }
    ~Delivery() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool WaitDelivered() {
        return WaitUntil([this] {
            process_.waitForReadyRead(10);
            output_ += process_.readAllStandardOutput();
            return output_.contains("delivered");
        });
    }

private:
    QProcess process_;
    QByteArray output_;
};

class DeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start";
        ASSERT_TRUE(chat.Start()) << "the receiving window did not get the focus";
    }
    void TearDown() override {
        // Every key a test pressed was released: a key left down repeats into later tests.
        EXPECT_TRUE(session.KeysHeldDown().isEmpty()) << "keys held down after the test";
    }
    QStringList ClipboardTargets() const {
        return session.Run("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"})
            .split('\n', Qt::SkipEmptyParts);
    }
    XSession session;
    ChatReceiver chat{session};
    QTemporaryDir folder;
};

TEST_F(DeliveryTest, ASnippetArrivesAsText) {
    const QString path = folder.path() + QStringLiteral("/晚安.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QString::fromUtf8("晚安，好梦～\n明天见。").toUtf8());
    file.close();
    Delivery delivery(session, "text", path);
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_EQ(chat.WaitForReport("paste-text"),
              QString::fromUtf8("paste-text 晚安，好梦～\\n明天见。"));
    EXPECT_TRUE(chat.HasFocus());
}

TEST_F(DeliveryTest, CtrlVArrivesWhenTheKeyboardLayoutHasNoLatinV) {
    // A Cyrillic-only layout: no key of the keyboard carries the letter v.
    session.Run("setxkbmap", {"-display", session.Display(), "ru"});
    ASSERT_FALSE(session.Run("xmodmap", {"-display", session.Display(), "-pke"}).contains(" v "))
        << "the layout still has a v key";
    const QString path = folder.path() + QStringLiteral("/好.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QString::fromUtf8("你好").toUtf8());
    file.close();
    Delivery delivery(session, "text", path);
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_EQ(chat.WaitForReport("paste-text"), QString::fromUtf8("paste-text 你好"));
    EXPECT_TRUE(chat.HasFocus());
}

TEST_F(DeliveryTest, AMissingSnippetPastesAnEmptyText) {
    Delivery delivery(session, "text", folder.path() + "/gone.txt");
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_EQ(chat.WaitForReport("paste-text"), "paste-text");
}

TEST_F(DeliveryTest, APngArrivesAsAnImageOfItsSize) {
    const QString path = folder.path() + "/smile.PNG";
    ASSERT_TRUE(TestPattern(QSize(100, 50)).save(path, "PNG"));
    Delivery delivery(session, "image", path);
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_EQ(chat.WaitForReport("paste-image"), "paste-image 100x50");
    const QStringList targets = ClipboardTargets();
    EXPECT_TRUE(targets.contains("image/png")) << targets.join(' ').toStdString();
    EXPECT_FALSE(targets.contains("text/uri-list"));
    EXPECT_TRUE(chat.HasFocus());
}

TEST_F(DeliveryTest, AGifArrivesAsItsFirstFrameAndItsFile) {
    const QString path = folder.path() + QStringLiteral("/跳跳.gif");
    ASSERT_TRUE(WriteGif(path, MovingSquareGif(QSize(80, 60), 4)));
    Delivery delivery(session, "image", path);
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_EQ(chat.WaitForReport("paste-image"), "paste-image 80x60");
    EXPECT_EQ(chat.WaitForReport("paste-uri"),
              "paste-uri " + QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()));
    const QStringList targets = ClipboardTargets();
    EXPECT_TRUE(targets.contains("image/png")) << targets.join(' ').toStdString();
    EXPECT_TRUE(targets.contains("text/uri-list"));
    EXPECT_EQ(session.Run("xclip", {"-selection", "clipboard", "-t", "text/plain", "-o"}), "")
        << "a text field must not paste the file's URL";
    EXPECT_EQ(session.Run("xclip", {"-selection", "clipboard", "-t", "UTF8_STRING", "-o"}), "");
    EXPECT_FALSE(targets.contains("text/x-moz-url")) << "a browser would paste the path as text";
    EXPECT_FALSE(targets.contains("text/plain"));
    EXPECT_TRUE(chat.HasFocus());
}

TEST_F(DeliveryTest, ALargeGifGoesOutInPiecesWhole) {
    // Noise does not compress: its PNG is far larger than one X request may carry.
    GifPicture noise;
    noise.screen = QSize(700, 500);
    for (int i = 0; i < 256; ++i)
        noise.palette << qRgb(i, (i * 7) % 256, (i * 13) % 256);
    GifFrame frame{QRect(QPoint(0, 0), noise.screen), {}, 10, 0, -1, false, {}};
    std::uint32_t state = 12345;
    for (int i = 0; i < 700 * 500; ++i) {
        state = state * 1664525u + 1013904223u;
        frame.pixels << static_cast<std::uint8_t>(state >> 24);
    }
    noise.frames = {frame};
    const QString path = folder.path() + "/noise.gif";
    ASSERT_TRUE(WriteGif(path, noise));
    Delivery delivery(session, "image", path);
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_EQ(chat.WaitForReport("paste-image"), "paste-image 700x500");
    const QString png = folder.path() + "/clipboard.png";
    session.Run("sh", {"-c", "xclip -selection clipboard -t image/png -o > '" + png + "'"});
    EXPECT_GT(QFileInfo(png).size(), 512 * 1024) << "not large enough to need pieces";
    EXPECT_EQ(QImage(png).size(), QSize(700, 500)) << "the picture arrived damaged";
}

TEST_F(DeliveryTest, AMissingPictureIsReportedAndNothingIsPasted) {
    Delivery delivery(session, "image", folder.path() + "/gone.png");
    const QString box = session.WaitForWindow("^Jolvex$");
    ASSERT_FALSE(box.isEmpty()) << "no message box";
    QDir().mkpath(JOLVEX_ARTIFACT_DIR);
    session.Screenshot(JOLVEX_ARTIFACT_DIR "/missing-picture-message.png");
    EXPECT_TRUE(session.PressKey(box, "Return"));
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_TRUE(chat.WaitForReport("paste-", 1000).isEmpty()) << "a keystroke was sent";
}

TEST_F(DeliveryTest, AnUndecodablePicturePastesNothingQuietly) {
    const QString path = folder.path() + "/broken.jpg";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no picture");
    file.close();
    Delivery delivery(session, "image", path);
    ASSERT_TRUE(delivery.WaitDelivered());
    EXPECT_TRUE(session.FindWindows("^Jolvex$").isEmpty());
    EXPECT_TRUE(chat.WaitForReport("paste-", 1000).isEmpty());
    EXPECT_TRUE(chat.HasFocus());
}
} // namespace
