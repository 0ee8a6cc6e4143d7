// Downloads against a loopback server: what lands in the target, the bounds,
// and that the caller's thread never waits for them.

#include "platform/netdownloader.h"
#include "support/fakes.h"
#include "support/httpserver.h"
#include "support/tlsfront.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace zelk {
void PrintTo(const Fetched& f, std::ostream* os)
{
    *os << "{replaced " << f.replaced << ", verified " << f.verified << "}";
}
} // namespace zelk

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;
using zelktest::TestCertificates;
using zelktest::TlsFront;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QString url(const HttpServer& s, const char* path)
{
    return QString::fromStdString(s.url(path));
}

// Nothing but the targets may be left in the folder (no temporary files).
QStringList folderEntries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

const DownloadLimits kQuick{400, 800, 1024};

// Starts a batch and runs the event loop until it has ended.
QList<Fetched> fetchResults(Downloader& downloader, const QList<DownloadJob>& jobs,
                            DownloadLimits limits = DownloadLimits::textFile())
{
    std::optional<QList<Fetched>> result;
    downloader.fetch(jobs, limits, [&](const QList<Fetched>& results) { result = results; });
    EXPECT_FALSE(result.has_value()) << "the batch must never end inside fetch()";
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
    return result.value_or(QList<Fetched>());
}

// Whether each job's target was replaced.
QList<bool> fetchAll(Downloader& downloader, const QList<DownloadJob>& jobs,
                     DownloadLimits limits = DownloadLimits::textFile())
{
    QList<bool> replaced;
    for (const Fetched& f : fetchResults(downloader, jobs, limits))
        replaced << f.replaced;
    return replaced;
}

class DownloadTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { zelktest::ensureCoreApp(); }
    HttpServer server;
    QTemporaryDir dir;
    NetDownloader downloader;
    QString target(const char* name = "t") const { return dir.filePath(QLatin1String(name)); }
};

} // namespace

struct DownloadCase
{
    const char* name;
    Route route;
    bool replaced;
};

TEST_F(DownloadTest, ReplacesTheTargetOnlyOnSuccess)
{
    const DownloadCase cases[] = {
        {"ok", Route{200, "1.2.1\r\n", "text/plain"}, true},
        {"empty body", Route{200, "", "text/plain"}, true},
        {"not found", Route{404, "<html>missing</html>", "text/html"}, false},
        {"server error", Route{500, "boom", "text/plain"}, false},
        {"too large", Route{200, std::string(2 * 1024 * 1024, 'x'), "text/plain"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.setRoute("/file.txt", c.route);
        writeAll(target("version.txt"), "old");
        EXPECT_EQ(fetchAll(downloader, {{url(server, "/file.txt"), target("version.txt")}}),
                  QList<bool>{c.replaced});
        EXPECT_EQ(readAll(target("version.txt")),
                  c.replaced ? QByteArray::fromStdString(c.route.body) : QByteArray("old"));
        EXPECT_EQ(folderEntries(dir), QStringList{QStringLiteral("version.txt")});
    }
}

TEST_F(DownloadTest, CreatesAMissingTarget)
{
    server.setRoute("/RDS1.ini", Route{200, "Now: Song", "text/plain"});
    ASSERT_EQ(fetchAll(downloader, {{url(server, "/RDS1.ini"), target("RDS1.ini")}}),
              QList<bool>{true});
    EXPECT_EQ(readAll(target("RDS1.ini")), QByteArray("Now: Song"));
}

TEST_F(DownloadTest, BadAddressesFailWithoutTouchingTheTarget)
{
    HttpServer closed;
    const QString refused = url(closed, "/x");
    closed.stop();
    writeAll(target(), "old");
    // A local file address must never be read through the downloader.
    const QString localFile = QStringLiteral("file://") + target();
    for (const QString& address :
         {refused, QString(), QStringLiteral("   "), QStringLiteral("not an address"), localFile,
          QStringLiteral("ftp://127.0.0.1/x")}) {
        EXPECT_EQ(fetchAll(downloader, {{address, target()}}), QList<bool>{false})
            << address.toStdString();
        EXPECT_EQ(readAll(target()), QByteArray("old"));
    }
    EXPECT_EQ(fetchAll(downloader, {{refused, dir.filePath(QStringLiteral("no/such/dir/t"))}}),
              QList<bool>{false});
}

TEST_F(DownloadTest, RedirectsOnlyToWebAddresses)
{
    server.setRoute("/moved",
                    Route{302, "", "text/plain", false, false, "Location: " + server.url("/here")});
    server.setRoute("/here", Route{200, "arrived", "text/plain"});
    server.setRoute("/to-file",
                    Route{302, "", "text/plain", false, false, "Location: file:///etc/passwd"});
    EXPECT_EQ(fetchAll(downloader, {{url(server, "/moved"), target("a")},
                                    {url(server, "/to-file"), target("b")}}),
              (QList<bool>{true, false}));
    EXPECT_EQ(readAll(target("a")), QByteArray("arrived"));
    EXPECT_EQ(readAll(target("b")), QByteArray("<missing>"));
}

TEST_F(DownloadTest, SilentServersEndTheBatchAtItsBoundWhileTheLoopRuns)
{
    server.setRoute("/hang", Route{200, "", "text/plain", true});
    server.setRoute("/ok", Route{200, "fine", "text/plain"});
    writeAll(target("a"), "old");
    // A heartbeat on this thread: it must keep beating while the servers
    // hang, which a blocking download would stop.
    int beats = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
    heartbeat.start(20);
    QElapsedTimer clock;
    clock.start();
    const QList<bool> result = fetchAll(downloader,
                                        {{url(server, "/hang"), target("a")},
                                         {url(server, "/hang"), target("b")},
                                         {url(server, "/ok"), target("c")}},
                                        kQuick);
    EXPECT_EQ(result, (QList<bool>{false, false, true}));
    EXPECT_EQ(readAll(target("a")), QByteArray("old"));
    EXPECT_EQ(readAll(target("c")), QByteArray("fine"));
    EXPECT_LT(clock.elapsed(), 5000) << "the bound holds for hanging servers";
    EXPECT_GE(beats, 10) << "the thread went on with its work meanwhile";
}

TEST_F(DownloadTest, ManyAtOnceEachLandsOrLeavesItsTarget)
{
    server.setRoute("/1", Route{200, "one", "text/plain"});
    server.setRoute("/2", Route{404, "", "text/plain"});
    server.setRoute("/3", Route{200, "three", "text/plain"});
    server.setRoute("/4", Route{200, "", "text/plain", true});
    server.setRoute("/5", Route{200, "", "text/plain", true});
    auto t = [&](int i) { return dir.filePath(QStringLiteral("RDS%1.ini").arg(i)); };
    for (int i = 1; i <= 6; ++i)
        writeAll(t(i), "old");
    const QList<bool> result = fetchAll(downloader,
                                        {{url(server, "/1"), t(1)},
                                         {url(server, "/2"), t(2)},
                                         {url(server, "/3"), t(3)},
                                         {url(server, "/4"), t(4)},
                                         {url(server, "/5"), t(5)},
                                         {QString(), t(6)}},
                                        kQuick);
    EXPECT_EQ(result, (QList<bool>{true, false, true, false, false, false}));
    const QByteArray expected[] = {"one", "old", "three", "old", "old", "old"};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(readAll(t(i)), expected[i - 1]) << i;
    EXPECT_EQ(folderEntries(dir).size(), 6);
}

TEST_F(DownloadTest, CancelledBatchNeverEndsAndLeavesNothingBehind)
{
    server.setRoute("/hang", Route{200, "", "text/plain", true});
    writeAll(target(), "old");
    bool ended = false;
    const Downloader::Batch batch = downloader.fetch({{url(server, "/hang"), target()}}, kQuick,
                                                     [&](const QList<Fetched>&) { ended = true; });
    QTest::qWait(100);
    downloader.cancel(batch);
    QTest::qWait(1200);
    EXPECT_FALSE(ended);
    EXPECT_EQ(readAll(target()), QByteArray("old"));
    EXPECT_EQ(folderEntries(dir), QStringList{QStringLiteral("t")});
}

TEST_F(DownloadTest, AfterClearingTheCacheRequestsAskForAFreshCopy)
{
    server.setRoute("/v", Route{200, "1.2.0", "text/plain"});
    ASSERT_EQ(fetchAll(downloader, {{url(server, "/v"), target("a")}}), QList<bool>{true});
    downloader.clearUrlCache();
    ASSERT_EQ(fetchAll(downloader, {{url(server, "/v"), target("b")}}, DownloadLimits::installer()),
              QList<bool>{true});
    const auto raw = server.rawRequests();
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(raw[0].find("no-cache"), std::string::npos);
    EXPECT_NE(raw[1].find("Cache-Control: no-cache"), std::string::npos);
    EXPECT_NE(raw[1].find("Pragma: no-cache"), std::string::npos);
}

namespace {

// Every message that Qt and the program log while it lives.
class LogCapture
{
public:
    LogCapture() { s_current = this, m_previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    std::string notTheProgramsOwn() const
    {
        QStringList foreign;
        for (const auto& [category, text] : m_lines)
            if (!category.startsWith(QLatin1String("zelk.")))
                foreign << category + QStringLiteral(": ") + text;
        return foreign.join(QLatin1Char('\n')).toStdString();
    }
    int count() const { return static_cast<int>(m_lines.size()); }

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& text)
    {
        if (s_current)
            s_current->m_lines.append(
                {QString::fromLatin1(context.category ? context.category : "default"), text});
    }
    static inline LogCapture* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    QList<std::pair<QString, QString>> m_lines;
};

} // namespace

TEST_F(DownloadTest, EachReplyEndsOnceAndTheLogHoldsOnlyTheProgramsLines)
{
    // Six station texts whose servers refuse the connection, refreshed
    // again and again as the station text timer does; with refusals amid
    // transfers that are ended by the bound, and batches given up while
    // their refusals are arriving.
    HttpServer refusing;
    const std::string refused = refusing.url("/text");
    refusing.stop();
    server.setRoute("/hang", Route{200, "", "text/plain", true});
    QList<DownloadJob> sixRefused;
    for (int n = 1; n <= 6; ++n)
        sixRefused.append({QString::fromStdString(refused + std::to_string(n)),
                           dir.filePath(QStringLiteral("RDS%1.ini").arg(n))});
    QList<DownloadJob> mixed = sixRefused.mid(0, 3);
    mixed.append({url(server, "/hang"), target("hang")});
    QLoggingCategory::setFilterRules(QStringLiteral("zelk.*=true"));
    LogCapture log;
    for (int refresh = 0; refresh < 3; ++refresh) {
        downloader.clearUrlCache();
        EXPECT_EQ(fetchAll(downloader, sixRefused), QList<bool>(6, false));
    }
    EXPECT_EQ(fetchAll(downloader, mixed, kQuick), QList<bool>(4, false));
    for (int wait : {0, 1, 5, 20}) {
        const Downloader::Batch batch =
            downloader.fetch(sixRefused, kQuick, [](const QList<Fetched>&) {});
        QTest::qWait(wait);
        downloader.cancel(batch);
    }
    QTest::qWait(kQuick.totalTimeoutMs + 200);
    QLoggingCategory::setFilterRules(QString());
    EXPECT_GE(log.count(), 18) << "each failed transfer is logged by the program itself";
    EXPECT_EQ(log.notTheProgramsOwn(), "");
}

struct OriginCase
{
    const char* name;
    std::string url;
    Fetched expected;
};

TEST_F(DownloadTest, VerifiedOnlyWhenEveryHopWasHttpsWithATrustedCertificate)
{
    const TestCertificates& certs = TestCertificates::get();
    ASSERT_FALSE(certs.ca.isNull());
    TlsFront https(server, certs.server, certs.serverKey);
    TlsFront stranger(server, certs.stranger, certs.strangerKey);
    NetDownloader trusting({certs.ca});
    server.setRoute("/v", Route{200, "1.2.1", "text/plain"});
    server.setRoute("/to-http",
                    Route{302, "", "text/plain", false, false, "Location: " + server.url("/v")});
    server.setRoute("/to-https",
                    Route{302, "", "text/plain", false, false, "Location: " + https.url("/v")});
    server.setRoute("/to-stranger",
                    Route{302, "", "text/plain", false, false, "Location: " + stranger.url("/v")});

    const OriginCase cases[] = {
        {"https, trusted", https.url("/v"), {true, true}},
        {"https redirected within https", https.url("/to-https"), {true, true}},
        {"plain http", server.url("/v"), {true, false}},
        {"https redirected to http", https.url("/to-http"), {true, false}},
        {"http redirected to https", server.url("/to-https"), {true, false}},
        {"untrusted certificate", stranger.url("/v"), {false, false}},
        {"https redirected to an untrusted certificate", https.url("/to-stranger"), {false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(target(), "old");
        EXPECT_EQ(fetchResults(trusting, {{QString::fromStdString(c.url), target()}}),
                  QList<Fetched>{c.expected});
        EXPECT_EQ(readAll(target()), c.expected.replaced ? QByteArray("1.2.1") : QByteArray("old"));
    }
    // Without the test's root only the system's store decides, and it
    // knows nothing of the loopback CA: nothing lets an unknown issuer pass.
    EXPECT_EQ(fetchResults(downloader, {{QString::fromStdString(https.url("/v")), target()}}),
              QList<Fetched>{Fetched{}});
    EXPECT_EQ(readAll(target()), QByteArray("old"));
}
