// Downloads against a loopback server: what lands in the target, the bounds,
// and that the caller's thread never waits for them.

#include "platform/netdownloader.h"
#include "support/fakes.h"
#include "support/httpserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;

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
QList<bool> fetchAll(Downloader& downloader, const QList<DownloadJob>& jobs,
                     DownloadLimits limits = DownloadLimits::textFile())
{
    std::optional<QList<bool>> result;
    downloader.fetch(jobs, limits, [&](const QList<bool>& replaced) { result = replaced; });
    EXPECT_FALSE(result.has_value()) << "the batch must never end inside fetch()";
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 20000));
    return result.value_or(QList<bool>());
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
                                                     [&](const QList<bool>&) { ended = true; });
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
