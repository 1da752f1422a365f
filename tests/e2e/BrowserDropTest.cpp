#include "BarLabels.h"
#include "JolvexRun.h"
#include "ScreenSearch.h"
#include "VisiblePopups.h"
#include "XSession.h"

#include "FixturePictures.h"
#include "base/TextCodec.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempTree.h"

#include <QDir>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <iostream>

namespace {
const QRgb kMarker = qRgb(0xFF, 0x00, 0xFF);

// An animated GIF, magenta with a small square moving across it: found on the screen by its
// colour, and a GIF whose frames must survive the drop.
QByteArray MarkedGif() {
    GifPicture gif;
    gif.screen = QSize(96, 96);
    gif.palette = {kMarker, qRgb(0, 0, 0)};
    for (int f = 0; f < 3; ++f) {
        GifFrame frame;
        frame.rect = QRect(QPoint(0, 0), gif.screen);
        frame.pixels.fill(0, 96 * 96);
        for (int y = 40; y < 56; ++y)
            for (int x = 10 + 30 * f; x < 26 + 30 * f; ++x)
                frame.pixels[y * 96 + x] = 1;
        gif.frames << frame;
    }
    TempTree made;
    EXPECT_TRUE(WriteGif(made / "m.gif", gif));
    return made.Read("m.gif");
}

struct Browser {
    const char* name;
    QString program;
    QStringList arguments; // {profile} and {url} are filled in
    const char* profileFile;
    QByteArray profileText; // written into the fresh profile before the start
    // Whether it hands over the picture's own file only by saving it where asked (the X
    // Direct Save protocol), rather than as data of the drag.
    bool savesOwnFile;
};

void PrintTo(const Browser& browser, std::ostream* out) {
    *out << browser.name;
}

// Firefox on a machine without network: no first-run pages (a second tab that fails to load),
// no default-browser question, no reports, no session restore.
const QByteArray kFirefoxPreferences =
    "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
    "user_pref(\"browser.startup.homepage_override.mstone\", \"ignore\");\n"
    "user_pref(\"startup.homepage_welcome_url\", \"\");\n"
    "user_pref(\"startup.homepage_welcome_url.additional\", \"\");\n"
    "user_pref(\"browser.aboutwelcome.enabled\", false);\n"
    "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n"
    "user_pref(\"datareporting.policy.firstRunURL\", \"\");\n"
    "user_pref(\"toolkit.telemetry.reportingpolicy.firstRun\", false);\n"
    "user_pref(\"browser.sessionstore.resume_from_crash\", false);\n"
    "user_pref(\"network.captive-portal-service.enabled\", false);\n"
    "user_pref(\"network.connectivity-service.enabled\", false);\n"
    "user_pref(\"browser.safebrowsing.update.enabled\", false);\n"
    "user_pref(\"app.update.enabled\", false);\n"
    "user_pref(\"extensions.update.enabled\", false);\n";

class BrowserDropTest : public ::testing::TestWithParam<Browser> {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.Ready()) << "Xvfb and openbox did not start";
        gif = MarkedGif();
        // Cacheable, as pictures on the web are: a browser that saves the picture's file itself
        // takes it from its cache.
        server.answer("/media/dance.gif", gif, 200,
                      "Content-Type: image/gif\r\nCache-Control: max-age=3600\r\n");
        server.answer("/page.html",
                      "<!DOCTYPE html><html><head><title>Jolvex drag page</title></head>"
                      "<body style=\"margin:40px;background:#ffffff\">"
                      "<img src=\"/media/dance.gif\" width=\"96\" height=\"96\"></body></html>",
                      200, "Content-Type: text/html\r\n");
        QDir().mkpath(jolvex.DataDir() + "/表情");
        ASSERT_TRUE(TestPattern(QSize(48, 48)).save(jolvex.DataDir() + "/表情/a.png"));
        ASSERT_TRUE(TestPattern(QSize(48, 48)).save(jolvex.DataDir() + "/表情/b.png"));
        jolvex.OverrideEnvironment("QT_LOGGING_RULES", "jolvex.fs.info=true");
        ASSERT_TRUE(jolvex.Start());
        const QString window = jolvex.WaitForBar();
        ASSERT_FALSE(window.isEmpty());
        labels =
            LabelRects(session.Geometry(window), {QStringLiteral("系统"), QStringLiteral("表情")});
    }
    void TearDown() override { StopProcess(&browser); }
    void MovePointer(QPoint p) const {
        session.XDo({"mousemove", QString::number(p.x()), QString::number(p.y())});
        WaitUntil([] { return false; }, 80);
    }

    XSession session;
    JolvexRun jolvex{session};
    LoopbackHttpServer server;
    TempTree profile;
    QProcess browser;
    QByteArray gif;
    QList<QRect> labels;
};

// The picture of a real page, dragged with the real pointer from the browser over the 表情
// label onto its second entry: saved in the library from the browser's data, never fetched.
TEST_P(BrowserDropTest, APictureFromAPageComesInBeforeTheEntry) {
    const Browser& b = GetParam();
    QStringList arguments;
    for (QString argument : b.arguments)
        arguments << argument.replace("{profile}", profile.Path())
                         .replace("{url}", server.url().toString() + "/page.html");
    if (b.profileFile)
        profile.Write(b.profileFile, b.profileText);
    QProcessEnvironment environment = session.Environment();
    environment.insert("HOME", profile.Path());
    environment.insert("NO_AT_BRIDGE", "1");
    browser.setProcessEnvironment(environment);
    browser.setStandardInputFile(QProcess::nullDevice());
    browser.start(b.program, arguments);
    const QString window = session.WaitForWindow("Jolvex drag page", 30000);
    ASSERT_FALSE(window.isEmpty()) << b.name << " did not show the page";
    session.XDo({"windowmove", window, "300", "250"});
    session.XDo({"windowsize", window, "700", "450"});
    // The picture's place once it has stayed put for a moment: a bar the browser shows above
    // the page after loading it moves the page down.
    QPoint picture;
    QPoint before;
    ASSERT_TRUE(WaitUntil(
        [&] {
            WaitUntil([] { return false; }, 400); // the server answers from this thread
            const QString shot = QString(JOLVEX_ARTIFACT_DIR) + "/" + b.name + "-window.png";
            QDir().mkpath(JOLVEX_ARTIFACT_DIR);
            session.Screenshot(shot);
            before = picture;
            picture = FindColour(QImage(shot).convertToFormat(QImage::Format_RGB32),
                                 QRect(0, 0, XSession::screenWidth, XSession::screenHeight),
                                 kMarker, 200);
            return !picture.isNull() && picture == before;
        },
        30000))
        << "the picture did not show in " << b.name;
    const int fetchedBefore = server.requestsFor("/media/dance.gif");

    MovePointer(picture + QPoint(-2, 0));
    MovePointer(picture);
    WaitUntil([] { return false; }, 300);
    session.XDo({"mousedown", "1"});
    for (int i = 1; i <= 6; ++i)
        MovePointer(picture + QPoint(-5 * i, -5 * i));
    // On to the label in small steps: the browser's drag follows motion, not jumps.
    const QPoint label = labels[1].center();
    const QPoint from = picture + QPoint(-30, -30);
    for (int i = 1; i <= 12; ++i)
        MovePointer(from + (label + QPoint(0, 12) - from) * i / 12);
    MovePointer(label);
    session.Screenshot(QString(JOLVEX_ARTIFACT_DIR) + "/" + b.name + "-over-label.png");
    ASSERT_TRUE(WaitUntil([&] { return !VisiblePopups(session).isEmpty(); }))
        << "the drag over the label did not open its popup";
    const QRect menu = VisiblePopups(session).value(0);
    const QPoint second(menu.x() + 2 + 44 + 22, menu.y() + 2 + 22);
    MovePointer(second + QPoint(0, -8));
    MovePointer(second);
    MovePointer(second + QPoint(1, 0));
    session.XDo({"mouseup", "1"});
    // The file shows before Order.ini lists it: the drop is done once both are there.
    ASSERT_TRUE(WaitUntil(
        [&] {
            return QFile::exists(jolvex.DataDir() + "/表情/dance.gif") &&
                   readTextLines(jolvex.DataDir() + "/表情/Order.ini").contains("dance.gif");
        },
        8000))
        << jolvex.Output().toStdString();
    QFile saved(jolvex.DataDir() + "/表情/dance.gif");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), gif) << "the GIF's own bytes, every frame";
    EXPECT_EQ(readTextLines(jolvex.DataDir() + "/表情/Order.ini"),
              QStringList({"a.png", "dance.gif", "b.png"}));
    QString output;
    const QString lastLine =
        b.savesOwnFile ? "the drag's source saved its file" : "a drop from another program";
    EXPECT_TRUE(WaitUntil([&] { return (output += jolvex.Output()).contains(lastLine); }))
        << output.toStdString();
    for (const char* measured : {"a drop from another program offers", "the drag's source saved"}) {
        const qsizetype at = output.indexOf(QString::fromUtf8(measured));
        if (at >= 0)
            std::cout << "[ measure ] " << b.name << " "
                      << output.mid(at, output.indexOf('\n', at) - at).toStdString() << std::endl;
    }
    EXPECT_EQ(server.requestsFor("/media/dance.gif"), fetchedBefore) << "nothing was fetched";
}

INSTANTIATE_TEST_SUITE_P(
    RealBrowsers, BrowserDropTest,
    ::testing::Values(Browser{"chromium",
                              "chromium",
                              {"--no-sandbox", "--test-type", "--no-first-run", "--disable-gpu",
                               "--password-store=basic", "--user-data-dir={profile}",
                               "--app={url}"},
                              nullptr,
                              {},
                              false},
                      Browser{"firefox",
                              "firefox-esr",
                              {"--no-remote", "--profile", "{profile}", "{url}"},
                              "user.js",
                              kFirefoxPreferences,
                              true}),
    [](const ::testing::TestParamInfo<Browser>& info) { return std::string(info.param.name); });
} // namespace
