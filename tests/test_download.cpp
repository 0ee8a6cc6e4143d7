// Downloads against a loopback server: what lands in the target, and bounds.

#include "platform/curldownloader.h"
#include "support/httpserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// Nothing but the target may be left in the folder (no temporary files).
QStringList folderEntries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

struct DownloadCase
{
    const char* name;
    Route route;
    bool replaced;
};

TEST(Download, ReplacesTheTargetOnlyOnSuccess)
{
    const DownloadCase cases[] = {
        {"ok", Route{200, "1.2.1\r\n", "text/plain"}, true},
        {"empty body", Route{200, "", "text/plain"}, true},
        {"not found", Route{404, "<html>missing</html>", "text/html"}, false},
        {"server error", Route{500, "boom", "text/plain"}, false},
        {"too large", Route{200, std::string(2 * 1024 * 1024, 'x'), "text/plain"}, false},
    };
    HttpServer server;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.setRoute("/file.txt", c.route);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("version.txt"));
        writeAll(target, "old");
        CurlDownloader downloader;
        EXPECT_EQ(downloader.download(url(server, "/file.txt"), target), c.replaced);
        EXPECT_EQ(readAll(target),
                  c.replaced ? QByteArray::fromStdString(c.route.body) : QByteArray("old"));
        EXPECT_EQ(folderEntries(dir), QStringList{QStringLiteral("version.txt")});
    }
}

TEST(Download, CreatesAMissingTarget)
{
    HttpServer server;
    server.setRoute("/RDS1.ini", Route{200, "Now: Song", "text/plain"});
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("RDS1.ini"));
    CurlDownloader downloader;
    ASSERT_TRUE(downloader.download(url(server, "/RDS1.ini"), target));
    EXPECT_EQ(readAll(target), QByteArray("Now: Song"));
}

TEST(Download, BadAddressesFailWithoutTouchingTheTarget)
{
    HttpServer closed;
    const QString refused = url(closed, "/x");
    closed.stop();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("t"));
    writeAll(target, "old");
    // A local file address must never be read through the downloader.
    const QString localFile = QStringLiteral("file://") + target;
    CurlDownloader downloader;
    for (const QString& address : {refused, QString(), QStringLiteral("   "),
                                   QStringLiteral("not an address"), localFile}) {
        EXPECT_FALSE(downloader.download(address, target)) << address.toStdString();
        EXPECT_EQ(readAll(target), QByteArray("old"));
    }
    EXPECT_FALSE(downloader.download(refused, dir.filePath(QStringLiteral("no/such/dir/t"))));
}

TEST(Download, SilentServerIsCutOffByTheTotalTimeout)
{
    HttpServer server;
    server.setRoute("/hang", Route{200, "", "text/plain", true});
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("t"));
    writeAll(target, "old");
    CurlDownloader downloader(DownloadLimits{500, 800, 1024});
    // The bound is the downloader's own limit; the test only checks that the
    // call came back failed and left the target alone (a hang would time the
    // test out).
    EXPECT_FALSE(downloader.download(url(server, "/hang"), target));
    EXPECT_EQ(readAll(target), QByteArray("old"));
}

TEST(Download, ManyAtOnceEachLandsOrLeavesItsTarget)
{
    HttpServer server;
    server.setRoute("/1", Route{200, "one", "text/plain"});
    server.setRoute("/2", Route{404, "", "text/plain"});
    server.setRoute("/3", Route{200, "three", "text/plain"});
    server.setRoute("/4", Route{200, "", "text/plain", true});
    server.setRoute("/5", Route{200, "", "text/plain", true});
    QTemporaryDir dir;
    auto target = [&](int i) { return dir.filePath(QStringLiteral("RDS%1.ini").arg(i)); };
    for (int i = 1; i <= 6; ++i)
        writeAll(target(i), "old");
    CurlDownloader downloader(DownloadLimits{500, 800, 1024});
    downloader.downloadAll({{url(server, "/1"), target(1)},
                            {url(server, "/2"), target(2)},
                            {url(server, "/3"), target(3)},
                            {url(server, "/4"), target(4)},
                            {url(server, "/5"), target(5)},
                            {QString(), target(6)}});
    EXPECT_EQ(readAll(target(1)), QByteArray("one"));
    EXPECT_EQ(readAll(target(2)), QByteArray("old"));
    EXPECT_EQ(readAll(target(3)), QByteArray("three"));
    EXPECT_EQ(readAll(target(4)), QByteArray("old"));
    EXPECT_EQ(readAll(target(5)), QByteArray("old"));
    EXPECT_EQ(readAll(target(6)), QByteArray("old"));
    EXPECT_EQ(folderEntries(dir).size(), 6);
}

TEST(Download, AfterClearingTheCacheRequestsAskForAFreshCopy)
{
    HttpServer server;
    server.setRoute("/v", Route{200, "1.2.0", "text/plain"});
    QTemporaryDir dir;
    CurlDownloader downloader;
    ASSERT_TRUE(downloader.download(url(server, "/v"), dir.filePath(QStringLiteral("a"))));
    downloader.clearUrlCache();
    ASSERT_TRUE(downloader.download(url(server, "/v"), dir.filePath(QStringLiteral("b"))));
    const auto raw = server.rawRequests();
    ASSERT_EQ(raw.size(), 2u);
    EXPECT_EQ(raw[0].find("no-cache"), std::string::npos);
    EXPECT_NE(raw[1].find("Cache-Control: no-cache"), std::string::npos);
    EXPECT_NE(raw[1].find("Pragma: no-cache"), std::string::npos);
}
