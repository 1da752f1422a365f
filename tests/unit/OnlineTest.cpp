#include "online/HttpGet.h"
#include "online/UsageReporter.h"
#include "online/UsageRules.h"
#include "platform/SettingsDate.h"
#include "platform/SettingsStore.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempTree.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {
const QString kMarker = QStringLiteral("jolvex_4071863925");

// Runs one request to its end on this thread's event loop (which also serves the loopback
// server) and gives its body.
QString Fetch(const QUrl& url, const HttpGetLimits& limits = {}) {
    QNetworkAccessManager network;
    HttpGet::configure(network);
    HttpGet request(network, url, limits);
    QSignalSpy finished(&request, &HttpGet::finished);
    if (!finished.wait(30000))
        return QStringLiteral("(no answer)");
    return finished.first().first().toString();
}

TEST(UsageRules, MarkerAndVersion) {
    const struct {
        QString body;
        bool acknowledged;
        bool newer;
    } cases[] = {
        {kMarker + "1301", true, true},
        {kMarker + "1300", true, false},
        {kMarker + "1299", true, false},
        {kMarker, true, false},
        {kMarker + "2", true, true}, // "2" > "1300" code unit by code unit
        {kMarker + "13011", true, true},
        {kMarker.toUpper() + "1301", true, true},
        {kMarker.left(16), false, false},
        {" " + kMarker + "1301", false, false},
        {"", false, false},
        {"<html>error</html>", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isAcknowledged(c.body), c.acknowledged) << c.body.toStdString();
        EXPECT_EQ(announcesNewerVersion(c.body), c.newer) << c.body.toStdString();
    }
}

TEST(UsageRules, OnlyTheIsoWeekNumberCounts) {
    const struct {
        QDate today, lastExit;
        bool reported;
    } cases[] = {
        {QDate(2026, 12, 10), QDate(), true},             // never exited
        {QDate(2026, 12, 10), QDate(2026, 12, 7), false}, // Monday of the same week
        {QDate(2026, 12, 14), QDate(2026, 12, 13), true}, // Sunday, then Monday
        {QDate(2021, 1, 1), QDate(2020, 12, 31), false},  // both in week 53 of 2020
        {QDate(2025, 1, 5), QDate(2024, 12, 30), false},  // both in week 1 of 2025
        {QDate(2027, 1, 4), QDate(2026, 12, 31), true},   // week 53 and week 1
        {QDate(2026, 3, 5), QDate(2019, 3, 4), false},    // week 10 of other years
    };
    for (const auto& c : cases)
        EXPECT_EQ(useIsReported(c.today, c.lastExit), c.reported)
            << c.today.toString(Qt::ISODate).toStdString() << " after "
            << c.lastExit.toString(Qt::ISODate).toStdString();
}

TEST(HttpGet, BodiesOfAnySizeAndEncoding) {
    LoopbackHttpServer server;
    QByteArray large;
    for (int i = 0; i < 10000; ++i)
        large += char('a' + i % 26);
    server.answer("/large", large);
    QStringEncoder gb18030("GB18030");
    server.answer("/chinese", gb18030.encode(QString::fromUtf8("有新版本")));
    server.answer("/missing-page", "gone", 404);
    QUrl url = server.url();
    url.setPath("/large");
    EXPECT_EQ(Fetch(url), QString::fromLatin1(large)) << "longer than one 4002-byte read";
    url.setPath("/chinese");
    EXPECT_EQ(Fetch(url), QString::fromUtf8("有新版本"));
    url.setPath("/missing-page");
    EXPECT_EQ(Fetch(url), "gone") << "the status is not looked at";

    ASSERT_FALSE(server.requests().isEmpty());
    const QByteArray request = server.requests().first();
    EXPECT_TRUE(request.startsWith("GET /large HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("User-Agent: Ruvo\r\n")) << request.toStdString();
    EXPECT_FALSE(request.toLower().contains("cookie"));
}

TEST(HttpGet, AnEndlessBodyIsCutAtTheLimit) {
    LoopbackHttpServer server;
    server.answer("/endless", QByteArray(3 * 1024 * 1024, 'x'));
    QUrl url = server.url();
    url.setPath("/endless");
    HttpGetLimits limits;
    limits.largestBody = 1024 * 1024;
    EXPECT_EQ(Fetch(url, limits).size(), 1024 * 1024);
}

TEST(HttpGet, NoConnectionNoAnswerOrAnInvalidHostGiveNothing) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close(); // nothing listens there any more: refused
    EXPECT_EQ(Fetch(QUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(port))), "");

    LoopbackHttpServer silent;
    silent.neverAnswer();
    QUrl url = silent.url();
    url.setPath("/slow");
    HttpGetLimits limits;
    limits.timeoutMs = 500;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Fetch(url, limits), "");
    EXPECT_LT(timer.elapsed(), 5000) << "a server that never answers is given up";
    EXPECT_EQ(silent.requests().size(), 1);

    // Destroyed while the server keeps silent: the exchange ends at once, and quietly.
    QNetworkAccessManager network;
    HttpGet::configure(network);
    timer.restart();
    {
        HttpGet request(network, url);
        QSignalSpy finished(&request, &HttpGet::finished);
        ASSERT_TRUE(QTest::qWaitFor([&] { return silent.requests().size() == 2; }, 5000));
        EXPECT_TRUE(finished.isEmpty());
    }
    EXPECT_LT(timer.elapsed(), 5000) << "a dropped request ends at once";

    EXPECT_EQ(Fetch(QUrl("http://stats.jolvex.invalid/x")), "") << "never looked up";
}

// The reporter against a loopback server, with its own settings folder.
class Reporting : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.Path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous_); }

    void Run() {
        UsageReporter reporter(server.url());
        reporter.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reporter.isFinished(); }, 10000));
    }
    void SetDate(const QDate& date) {
        auto store = SettingsStore::open(true);
        store->writeBinary("Date", encodeSettingsDate(date));
        ASSERT_TRUE(store->close());
    }
    bool Has(const QString& name) const {
        auto store = SettingsStore::open(false);
        return store && store->hasValue(name);
    }

    TempTree config;
    LoopbackHttpServer server;
    const QString install = QStringLiteral("/stats/jolvex10_install.php");
    const QString uses = QStringLiteral("/stats/jolvex10_uses.php");

private:
    QByteArray previous_;
};

TEST_F(Reporting, TheInstallationIsReportedUntilAcknowledged) {
    server.answer(install, "not yet");
    Run();
    EXPECT_EQ(server.requestsFor(install), 1);
    EXPECT_FALSE(Has("Install"));
    Run();
    EXPECT_EQ(server.requestsFor(install), 2) << "tried again at the next start";

    server.answer(install, kMarker.toUtf8());
    Run();
    EXPECT_TRUE(Has("Install"));
    server.answer(install, "anything");
    Run();
    EXPECT_EQ(server.requestsFor(install), 3) << "never again once acknowledged";
    EXPECT_TRUE(Has("Install"));
}

TEST_F(Reporting, UseIsReportedInAnotherWeekAndANewerVersionSetsTheFlag) {
    server.answer(install, kMarker.toUtf8());
    server.answer(uses, (kMarker + "1300").toUtf8());
    Run(); // no Date: reported
    EXPECT_EQ(server.requestsFor(uses), 1);
    EXPECT_FALSE(Has("UpDate")) << "1300 is not newer";

    SetDate(QDate::currentDate());
    server.answer(uses, (kMarker + "1301").toUtf8());
    Run();
    EXPECT_EQ(server.requestsFor(uses), 1) << "same week: not reported";
    EXPECT_FALSE(Has("UpDate"));

    SetDate(QDate::currentDate().addDays(-7));
    Run();
    EXPECT_EQ(server.requestsFor(uses), 2);
    EXPECT_TRUE(Has("UpDate"));
}

TEST_F(Reporting, NoServerChangesNothingAndEndsPromptly) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QUrl nowhere(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
    closed.close();
    {
        UsageReporter reporter(nowhere);
        reporter.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return reporter.isFinished(); }, 10000));
    }
    EXPECT_FALSE(Has("Install"));
    EXPECT_FALSE(Has("UpDate"));

    // Destroyed while a request hangs: it ends at once, without waiting for the server.
    server.neverAnswer();
    QElapsedTimer timer;
    timer.start();
    {
        UsageReporter reporter(server.url());
        reporter.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !server.requests().isEmpty(); }, 5000));
    }
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(Has("Install"));
}
} // namespace
