// The station directory: its answers read as untrusted, the search and the
// play count against a loopback directory, the choice of server, logos, and
// a chosen station stored into a preset of Radio.ini.

#include "platform/nethttpget.h"
#include "platform/serverlookup.h"
#include "stations/directory.h"
#include "stations/logo.h"
#include "stations/station.h"
#include "support/core_fixture.h"
#include "support/httpserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;

namespace {

using State = StationDirectory::State;

QJsonObject stationJson(const QString& uuid, const QString& name, const QString& url,
                        const QString& favicon = {})
{
    return QJsonObject{{QStringLiteral("changeuuid"), QStringLiteral("0a1b")},
                       {QStringLiteral("stationuuid"), uuid},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("url"), url},
                       {QStringLiteral("url_resolved"), url},
                       {QStringLiteral("homepage"), QStringLiteral("https://example.org/")},
                       {QStringLiteral("favicon"), favicon},
                       {QStringLiteral("tags"), QStringLiteral("pop,rock")},
                       {QStringLiteral("country"), QStringLiteral("Germany")},
                       {QStringLiteral("countrycode"), QStringLiteral("DE")},
                       {QStringLiteral("codec"), QStringLiteral("MP3")},
                       {QStringLiteral("bitrate"), 128},
                       {QStringLiteral("hls"), 0},
                       {QStringLiteral("lastcheckok"), 1},
                       {QStringLiteral("clickcount"), 42},
                       {QStringLiteral("votes"), 7}};
}

std::string json(const QJsonArray& array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Compact).toStdString();
}

Route jsonRoute(const std::string& body)
{
    return Route{200, body, "application/json"};
}

QString uuidOf(int i)
{
    return QStringLiteral("9617a958-0601-11e8-ae97-52543be04c%1").arg(i, 2, 10, QLatin1Char('0'));
}

const QByteArray kPng = QByteArray::fromHex(
    "89504e470d0a1a0a0000000d4948445200000001000000010806000000"
    "1f15c4890000000d49444154789c6360000002000100e221bc330000000049454e44ae426082");

struct Loop
{
    static void SetUpTestSuite() { zelktest::ensureCoreApp(); }
};

// Records every request and answers from a table by the server's host:
// for the logic that chooses servers, not for the network.
class ScriptedGetter : public HttpGetter
{
public:
    QStringList asked;
    std::map<QString, HttpAnswer> byHost;
    Request get(const QString& url, const HttpLimits&, Done done) override
    {
        asked << url;
        HttpAnswer answer;
        answer.error = QStringLiteral("refused");
        if (auto it = byHost.find(QUrl(url).host()); it != byHost.end())
            answer = it->second;
        const Request id = ++m_last;
        QTimer::singleShot(0, &m_alive, [done = std::move(done), answer] { done(answer); });
        return id;
    }
    void cancel(Request) override {}

private:
    Request m_last = 0;
    QObject m_alive;
};

HttpAnswer okAnswer(const QByteArray& body)
{
    HttpAnswer a;
    a.ok = true;
    a.status = 200;
    a.body = body;
    return a;
}

bool waitForState(const StationDirectory& d, int timeoutMs = 20000)
{
    return QTest::qWaitFor([&] { return d.state() != State::Searching; }, timeoutMs);
}

} // namespace

// ---- the answer read as untrusted ----

struct ParseCase
{
    const char* name;
    QJsonValue entry;
    bool kept;
    const char* url = "";
    const char* stationName = "";
};

TEST(DirectoryAnswer, EachEntryIsBoundedAndOnlyOfferableAddressesStay)
{
    const QString big(1024 * 1024, QLatin1Char('x'));
    QJsonObject wrongTypes{{"stationuuid", 17},
                           {"name", 3.5},
                           {"url", "http://a.example/s"},
                           {"url_resolved", QJsonArray{1}},
                           {"favicon", true},
                           {"countrycode", 4},
                           {"codec", QJsonObject{}},
                           {"bitrate", "abc"},
                           {"hls", "maybe"},
                           {"tags", 12}};
    const ParseCase cases[] = {
        {"a full entry", stationJson(uuidOf(1), "Loop FM", "http://a.example/s"), true,
         "http://a.example/s", "Loop FM"},
        {"url_resolved first",
         QJsonObject{{"name", "R"},
                     {"url", "http://a.example/p.m3u"},
                     {"url_resolved", "https://b.example/live"}},
         true, "https://b.example/live", "R"},
        {"url when url_resolved is broken",
         QJsonObject{{"name", "R"},
                     {"url", "http://a.example/p.m3u"},
                     {"url_resolved", "http://b.example/x\ny"}},
         true, "http://a.example/p.m3u", "R"},
        {"wrong types", wrongTypes, true, "http://a.example/s", "a.example"},
        {"missing fields", QJsonObject{{"url", "http://c.example/"}}, true, "http://c.example/",
         "c.example"},
        {"no address at all", QJsonObject{{"name", "Nothing"}}, false},
        {"line break in the address",
         QJsonObject{{"name", "N"}, {"url", "http://a.example/s\r\nx"}}, false},
        {"tab in the address", QJsonObject{{"name", "N"}, {"url", "http://a.example/s\tx"}}, false},
        {"line separator in the address",
         QJsonObject{{"name", "N"}, {"url", QStringLiteral("http://a.example/s\u2028x")}}, false},
        {"mms", QJsonObject{{"name", "N"}, {"url", "mms://a.example/s"}}, false},
        {"file", QJsonObject{{"name", "N"}, {"url", "file:///etc/passwd"}}, false},
        {"javascript", QJsonObject{{"name", "N"}, {"url", "javascript:alert(1)"}}, false},
        {"no host", QJsonObject{{"name", "N"}, {"url", "http:///s"}}, false},
        {"4097 characters",
         QJsonObject{{"name", "N"}, {"url", "http://a.example/" + QString(4097 - 17, 'a')}}, false},
        {"4096 characters",
         QJsonObject{{"name", "N"}, {"url", "http://a.example/" + QString(4096 - 17, 'a')}}, true},
        {"blanks around the address", QJsonObject{{"name", "N"}, {"url", "  http://a.example/s  "}},
         true, "http://a.example/s", "N"},
        {"name of three lines",
         QJsonObject{{"name", " One\nTwo\r\n\tThree "}, {"url", "http://a.example/s"}}, true,
         "http://a.example/s", "One Two Three"},
        {"markup stays text",
         QJsonObject{{"name", "<b>Bold</b> <img src=x>"}, {"url", "http://a.example/s"}}, true,
         "http://a.example/s", "<b>Bold</b> <img src=x>"},
        {"not an object", QJsonValue(QStringLiteral("http://a.example/s")), false},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parseStations(QJsonDocument(QJsonArray{c.entry}).toJson());
        ASSERT_TRUE(parsed.has_value());
        ASSERT_EQ(parsed->size(), c.kept ? 1 : 0);
        if (!c.kept)
            continue;
        const Station& s = parsed->first();
        if (*c.url) {
            EXPECT_EQ(s.url, QString::fromUtf8(c.url));
        }
        if (*c.stationName) {
            EXPECT_EQ(s.name, QString::fromUtf8(c.stationName));
        }
        EXPECT_TRUE(isOfferableAddress(s.url));
        EXPECT_FALSE(s.name.isEmpty());
        EXPECT_LE(s.name.size(), stationlimits::NameLength);
        EXPECT_TRUE(s.favicon.isEmpty() || isOfferableAddress(s.favicon));
    }

    // The types that are wrong read as unknown, never as something else.
    const Station w = parseStations(QJsonDocument(QJsonArray{wrongTypes}).toJson())->first();
    EXPECT_TRUE(w.uuid.isEmpty());
    EXPECT_TRUE(w.favicon.isEmpty());
    EXPECT_TRUE(w.countryCode.isEmpty());
    EXPECT_TRUE(w.codec.isEmpty());
    EXPECT_EQ(w.bitrate, 0);
    EXPECT_FALSE(w.hls);
    EXPECT_TRUE(w.tags.isEmpty());

    // Every field of a full entry.
    QJsonObject full = stationJson(uuidOf(2).toUpper(), "Full", "https://s.example/live",
                                   "https://s.example/logo.png");
    full[QStringLiteral("hls")] = 1;
    full[QStringLiteral("bitrate")] = QStringLiteral("192");
    full[QStringLiteral("tags")] = QStringLiteral("pop, rock ,,pop,") + QString(500, 't');
    const Station f = parseStations(QJsonDocument(QJsonArray{full}).toJson())->first();
    EXPECT_EQ(f.uuid, uuidOf(2));
    EXPECT_EQ(f.favicon, QStringLiteral("https://s.example/logo.png"));
    EXPECT_EQ(f.countryCode, QStringLiteral("DE"));
    EXPECT_EQ(f.codec, QStringLiteral("MP3"));
    EXPECT_EQ(f.bitrate, 192);
    EXPECT_TRUE(f.hls);
    ASSERT_EQ(f.tags.size(), 3);
    EXPECT_EQ(f.tags.mid(0, 2), (QStringList{"pop", "rock"}));
    EXPECT_EQ(f.tags.at(2).size(), stationlimits::TagLength);

    // Half a surrogate pair, which JSON escapes allow, is dropped; a whole
    // pair stays.
    const auto halves = parseStations(
        R"([{"name":"\ud83dA\ud83d\udcfb\udc00","url":"http://a.example/s"}])");
    ASSERT_EQ(halves->size(), 1);
    EXPECT_EQ(halves->first().name, QString::fromUtf8("A\xf0\x9f\x93\xbb"));

    // A name of 1 MB, and one of blanks only.
    QJsonObject huge{{"name", big}, {"url", "http://a.example/s"}};
    QJsonObject blanks{{"name", QString(100000, ' ') + "\n\n"}, {"url", "http://b.example/s"}};
    const auto two = parseStations(QJsonDocument(QJsonArray{huge, blanks}).toJson());
    ASSERT_EQ(two->size(), 2);
    EXPECT_EQ(two->at(0).name, QString(stationlimits::NameLength, 'x'));
    EXPECT_EQ(two->at(1).name, QStringLiteral("b.example"));
}

TEST(DirectoryAnswer, TenThousandResultsAreCutAndGarbageIsNoList)
{
    QJsonArray many;
    for (int i = 0; i < 10000; ++i)
        many.append(stationJson(uuidOf(i % 100), QStringLiteral("S%1").arg(i),
                                QStringLiteral("http://s.example/%1").arg(i)));
    const auto parsed = parseStations(QJsonDocument(many).toJson());
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->size(), stationlimits::Results);
    EXPECT_EQ(parsed->last().name, QStringLiteral("S49"));

    for (const char* garbage : {"", "<html>busy</html>", "{\"name\":\"x\"}", "[1,2", "null",
                                "\"text\"", "\xff\xfe\x00["}) {
        SCOPED_TRACE(garbage);
        EXPECT_FALSE(parseStations(QByteArray(garbage)).has_value());
    }
    EXPECT_EQ(parseStations("[]")->size(), 0);
    EXPECT_EQ(parseStations("[1, null, [], \"x\"]")->size(), 0);
}

// ---- the search against a loopback directory ----

class DirectoryNet : public ::testing::Test, public Loop
{
protected:
    static void SetUpTestSuite() { Loop::SetUpTestSuite(); }
    void SetUp() override
    {
        directory = std::make_unique<StationDirectory>(http, lookup);
        directory->setServer(QString::fromStdString(server.url("")));
    }
    HttpServer server;
    NetHttpGetter http;
    zelktest::FakeServerLookup lookup;
    std::unique_ptr<StationDirectory> directory;
};

TEST_F(DirectoryNet, SearchAsksAsTheDirectoryDocumentsAndReadsTheStations)
{
    QJsonArray answer{stationJson(uuidOf(1), "Loop & Co FM", "http://127.0.0.1:9/a"),
                      stationJson(uuidOf(2), "Second", "https://b.example/b")};
    server.setRoute("/json/stations/search", jsonRoute(json(answer)));
    QSignalSpy states(directory.get(), &StationDirectory::stateChanged);

    directory->search(QStringLiteral("  Loop & Co+ ä "));
    EXPECT_EQ(directory->state(), State::Searching) << "the state changes at once";
    ASSERT_TRUE(waitForState(*directory));
    ASSERT_EQ(directory->state(), State::Results);
    ASSERT_EQ(directory->results().size(), 2);
    EXPECT_EQ(directory->results()[0].name, QStringLiteral("Loop & Co FM"));
    EXPECT_EQ(directory->results()[1].url, QStringLiteral("https://b.example/b"));
    EXPECT_EQ(directory->searched(), QStringLiteral("Loop & Co+ ä"));
    ASSERT_EQ(states.size(), 2);
    EXPECT_EQ(states[1][0].value<State>(), State::Results);

    ASSERT_EQ(server.rawRequests().size(), 1u);
    const QString head = QString::fromStdString(server.rawRequests().front());
    const QString target = head.section(QLatin1Char(' '), 1, 1);
    const QUrl asked(QStringLiteral("http://h") + target);
    EXPECT_EQ(asked.path(), QStringLiteral("/json/stations/search"));
    const QUrlQuery query(asked);
    EXPECT_EQ(query.queryItemValue("name", QUrl::FullyDecoded), QStringLiteral("Loop & Co+ ä"));
    EXPECT_EQ(query.queryItemValue("limit"), QStringLiteral("50"));
    EXPECT_EQ(query.queryItemValue("hidebroken"), QStringLiteral("true"));
    EXPECT_EQ(query.queryItemValue("order"), QStringLiteral("clickcount"));
    EXPECT_EQ(query.queryItemValue("reverse"), QStringLiteral("true"));
    EXPECT_EQ(query.queryItems().size(), 5);
    EXPECT_TRUE(
        head.contains(QStringLiteral("\r\nUser-Agent: ZelkRadio/1.2.0\r\n"), Qt::CaseInsensitive))
        << head.toStdString();

    // The play count of a chosen station reaches the same server.
    directory->countPlay(directory->results()[1]);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return server.requestCount("/json/url/" + uuidOf(2).toStdString()) >= 1; }, 5000));
}

struct BadServerCase
{
    const char* name;
    Route route;
    State expected;
    bool stopServer = false;
};

TEST_F(DirectoryNet, EveryBadAnswerEndsCleanlyWithinItsBound)
{
    directory->setSearchLimits({600, 1500, 4 * 1024 * 1024});
    const std::string tooLarge = "[" + std::string(5 * 1024 * 1024, ' ') + "]";
    const BadServerCase cases[] = {
        {"nothing found", jsonRoute("[]"), State::NothingFound},
        {"no usable entry", jsonRoute("[{\"name\":\"x\",\"url\":\"mms://a/b\"}, 3]"),
         State::NothingFound},
        {"garbage", Route{200, "<html><body>Busy</body></html>", "text/html"}, State::Unreachable},
        {"an object", jsonRoute("{\"error\":\"no\"}"), State::Unreachable},
        {"a server error", Route{503, "[]", "application/json"}, State::Unreachable},
        {"hangs", Route{200, "", "application/json", true}, State::Unreachable},
        {"endless", Route{200, "[{\"name\":\"x\"},", "application/json", false, true},
         State::Unreachable},
        {"too large", jsonRoute(tooLarge), State::Unreachable},
        {"refused", jsonRoute("[]"), State::Unreachable, true},
    };
    for (const BadServerCase& c : cases) {
        SCOPED_TRACE(c.name);
        HttpServer bad;
        bad.setRoute("/json/stations/search", c.route);
        directory->setServer(QString::fromStdString(bad.url("")));
        if (c.stopServer)
            bad.stop();
        QElapsedTimer clock;
        clock.start();
        directory->search(QStringLiteral("x"));
        ASSERT_TRUE(waitForState(*directory, 10000));
        EXPECT_EQ(directory->state(), c.expected);
        EXPECT_LT(clock.elapsed(), 4000);
    }
}

TEST_F(DirectoryNet, ANewSearchDropsTheRunningOneAndCancelChangesNothing)
{
    HttpServer slow;
    slow.setRoute("/json/stations/search", Route{200, "", "application/json", true});
    directory->setServer(QString::fromStdString(slow.url("")));
    directory->search(QStringLiteral("first"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return slow.rawRequests().size() == 1; }));
    directory->cancel();
    EXPECT_EQ(directory->state(), State::Idle);
    QTest::qWait(50);
    EXPECT_EQ(directory->state(), State::Idle);

    server.setRoute("/json/stations/search",
                    jsonRoute(json({stationJson(uuidOf(3), "Third", "http://c.example/")})));
    directory->setServer(QString::fromStdString(server.url("")));
    directory->search(QStringLiteral("second"));
    directory->search(QStringLiteral("third"));
    ASSERT_TRUE(waitForState(*directory));
    EXPECT_EQ(directory->state(), State::Results);
    EXPECT_EQ(directory->searched(), QStringLiteral("third"));
    // The dropped one may have gone out already; its answer is not taken.
    const auto asked = server.rawRequests();
    EXPECT_TRUE(std::any_of(asked.begin(), asked.end(), [](const std::string& r) {
        return r.find("name=third") != std::string::npos;
    }));

    // An empty name is not searched.
    directory->search(QStringLiteral(" \n "));
    EXPECT_EQ(directory->state(), State::Results);
}

// ---- the choice of server ----

TEST(DirectoryServers, ShuffledFirstKeptNextOnFailureAndALookupThatFailsIsUnreachable)
{
    zelktest::ensureCoreApp();
    ScriptedGetter http;
    zelktest::FakeServerLookup lookup;
    lookup.hosts = {"de1.api.example", "nl1.api.example", "at1.api.example."};
    // A random source that always answers 0: the shuffle moves each later
    // entry to the front in turn.
    StationDirectory directory(http, lookup, [] { return quint32(0); });
    const QByteArray one =
        QJsonDocument(QJsonArray{stationJson(uuidOf(1), "A", "http://a.example/")}).toJson();
    http.byHost["de1.api.example"] = okAnswer(one);

    struct Step
    {
        const char* name;
        QStringList hostsAsked; // in order, for this search
        State state;
    };
    // The order after the shuffle: nl1, at1, de1. nl1 and at1 refuse.
    const Step steps[] = {
        {"first search tries the servers in turn",
         {"nl1.api.example", "at1.api.example", "de1.api.example"},
         State::Results},
        {"the one that answered is kept", {"de1.api.example"}, State::Results},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        http.asked.clear();
        directory.search(QStringLiteral("a"));
        ASSERT_TRUE(waitForState(directory));
        EXPECT_EQ(directory.state(), step.state);
        QStringList hosts;
        for (const QString& u : http.asked) {
            hosts << QUrl(u).host();
            EXPECT_EQ(QUrl(u).scheme(), QStringLiteral("https"));
        }
        EXPECT_EQ(hosts, step.hostsAsked);
    }
    EXPECT_EQ(lookup.lookups, 1) << "the servers are looked up once a run";
    EXPECT_EQ(directory.server(), QStringLiteral("https://de1.api.example"));

    // All fail: cannot be reached, each tried once.
    http.byHost.clear();
    http.asked.clear();
    directory.search(QStringLiteral("a"));
    ASSERT_TRUE(waitForState(directory));
    EXPECT_EQ(directory.state(), State::Unreachable);
    EXPECT_EQ(http.asked.size(), 3);

    // A lookup that finds nothing: cannot be reached, and the next search
    // looks again.
    zelktest::FakeServerLookup empty;
    StationDirectory lost(http, empty);
    for (int i = 1; i <= 2; ++i) {
        lost.search(QStringLiteral("a"));
        ASSERT_TRUE(waitForState(lost));
        EXPECT_EQ(lost.state(), State::Unreachable);
        EXPECT_EQ(empty.lookups, i);
    }
    EXPECT_TRUE(lost.server().isEmpty());
}

TEST(DirectoryServers, TheDnsLookupThatGetsNoAnswerIsUnreachableInBoundedTime)
{
    zelktest::ensureCoreApp();
    NetHttpGetter http;
    // No name server listens on this machine's loopback port 53.
    SrvServerLookup lookup(StationDirectory::kServerRecord, 3000);
    lookup.setNameserver(QHostAddress(QStringLiteral("127.0.0.1")));
    StationDirectory directory(http, lookup);
    QElapsedTimer clock;
    clock.start();
    directory.search(QStringLiteral("a"));
    ASSERT_TRUE(waitForState(directory, 10000));
    EXPECT_EQ(directory.state(), State::Unreachable);
    EXPECT_LT(clock.elapsed(), 5000);
}

// ---- logos ----

TEST(Logos, KindsNamesAndTheCleanUp)
{
    struct KindCase
    {
        const char* name;
        QByteArray bytes;
        LogoKind kind;
    };
    const KindCase kinds[] = {
        {"png", kPng, LogoKind::Png},
        {"jpeg", QByteArray::fromHex("ffd8ffe000104a464946"), LogoKind::Jpeg},
        {"ico", QByteArray::fromHex("000001000100101000000100"), LogoKind::Ico},
        {"ico without images", QByteArray::fromHex("000001000000"), LogoKind::None},
        {"svg", "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>",
         LogoKind::Svg},
        {"svg with a bom", "\xef\xbb\xbf  <svg></svg>", LogoKind::Svg},
        {"gif", "GIF89a\x01\x00", LogoKind::Gif},
        {"webp", QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16), LogoKind::Webp},
        {"html", "<html><body>not found</body></html>", LogoKind::None},
        {"empty", {}, LogoKind::None},
        {"text", "hello", LogoKind::None},
        {"too large", kPng + QByteArray(kMaxLogoBytes, 'x'), LogoKind::None},
    };
    for (const KindCase& k : kinds) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(logoKind(k.bytes), k.kind);
    }

    const QString address = QStringLiteral("http://a.example/live");
    const QString name = logoFileName(address);
    EXPECT_EQ(name,
              QStringLiteral("logo-") +
                  QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex() +
                  QStringLiteral(".png"));
    EXPECT_NE(logoFileName(QStringLiteral("http://a.example/live2")), name);

    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString used = logoFileName(QStringLiteral("http://b.example/"));
    for (const QString& f : {name, used, QStringLiteral("Radio.ini"), QStringLiteral("logo.txt")}) {
        QFile file(folder + f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    EXPECT_EQ(deleteUnusedLogos(folder, {QStringLiteral("http://b.example/"), QString()}), 1);
    QStringList left = QDir(folder).entryList(QDir::Files);
    left.sort();
    QStringList expected{used, QStringLiteral("Radio.ini"), QStringLiteral("logo.txt")};
    expected.sort();
    EXPECT_EQ(left, expected);
}

// ---- a chosen station in a preset ----

class StoreInPreset : public zelktest::CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
        boot();
        unit->directory.setServer(QString::fromStdString(server.url("")));
    }
    Station loopStation(int n) const
    {
        Station s;
        s.uuid = uuidOf(n);
        s.name = QStringLiteral("Loop %1").arg(n);
        s.url = QString::fromStdString(server.url("/stream" + std::to_string(n)));
        s.favicon = QString::fromStdString(server.url("/logo" + std::to_string(n)));
        return s;
    }
    HttpServer server;
};

TEST_F(StoreInPreset, WritesExactlyTheThreeLinesOfThatPresetAndTheFieldsFollow)
{
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        // What was typed on the Radio page and not saved stays in the fields.
        for (int i = 0; i < 6; ++i)
            unit->settings.live.rname[i].set(QStringLiteral("typed %1").arg(i + 1));
        const QStringList before = storedConfig();
        unit->stations.storeInPreset(n, loopStation(n));
        const QStringList after = storedConfig();
        ASSERT_EQ(after.size(), cfg::LineCount);
        for (int line = 0; line < cfg::LineCount; ++line) {
            SCOPED_TRACE(line);
            if (line == 9 + n)
                EXPECT_EQ(after[line], QStringLiteral("Loop %1").arg(n));
            else if (line == 16 + n)
                EXPECT_EQ(after[line], loopStation(n).url);
            else if (line == 23 + n)
                EXPECT_EQ(after[line], QString());
            else
                EXPECT_EQ(after[line], before[line]);
        }
        for (int i = 0; i < 6; ++i) {
            if (i == n - 1) {
                EXPECT_EQ(unit->settings.live.rname[i].text(), QStringLiteral("Loop %1").arg(n));
                EXPECT_EQ(unit->settings.live.rurl[i].text(), loopStation(n).url);
                EXPECT_TRUE(unit->settings.live.rdsurl[i].text().isEmpty());
            } else {
                EXPECT_EQ(unit->settings.live.rname[i].text(),
                          QStringLiteral("typed %1").arg(i + 1));
            }
        }
    }

    // A station whose address could break the file is never stored.
    Station bad = loopStation(1);
    bad.name = QStringLiteral("Bad");
    bad.url = QStringLiteral("http://a.example/\nx");
    const QStringList before = storedConfig();
    unit->stations.storeInPreset(2, bad);
    unit->stations.choose(2, bad, true);
    EXPECT_EQ(storedConfig(), before);
}

TEST_F(StoreInPreset, ChoosingCountsThePlayFetchesTheLogoAndTunesOnlyInRadioMode)
{
    server.setRoute("/logo2", Route{200, kPng.toStdString(), "image/png"});
    server.setRoute("/logo3", Route{200, "<html>404</html>", "text/html"});
    server.setRoute("/json/url/" + uuidOf(2).toStdString(), jsonRoute("{\"ok\":true}"));
    QSignalSpy logos(&unit->stations, &Stations::logoToStore);

    unit->radio.radiomode.set(true);
    const int playsBefore = fake.player->plays;
    unit->stations.choose(2, loopStation(2), true);
    EXPECT_EQ(fake.player->urls.last(), loopStation(2).url);
    EXPECT_GT(fake.player->plays, playsBefore);
    EXPECT_EQ(unit->settings.config.line(cfg::ActiveStation), QStringLiteral("2"));
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("Loop 2"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return server.requestCount("/json/url/" + uuidOf(2).toStdString()) >= 1; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return logos.size() == 1; }, 5000));
    EXPECT_EQ(logos[0][0].toString(), dataDir + logoFileName(loopStation(2).url));
    EXPECT_EQ(logos[0][1].toByteArray(), kPng);
    EXPECT_EQ(unit->stations.logoPath(2), dataDir + logoFileName(loopStation(2).url));

    // The front end stores it; a logo no preset uses any more goes.
    const QString stale = dataDir + logoFileName(QStringLiteral("http://old.example/"));
    for (const QString& path : {logos[0][0].toString(), stale}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kPng);
    }
    QSignalSpy changed(&unit->stations, &Stations::logosChanged);
    unit->stations.logoStored();
    EXPECT_EQ(changed.size(), 1);
    EXPECT_TRUE(QFile::exists(logos[0][0].toString()));
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_EQ(unit->stations.existingLogo(2), logos[0][0].toString());
    EXPECT_TRUE(unit->stations.existingLogo(3).isEmpty());

    // Outside radio mode it is only stored; a logo that is no picture is
    // dropped.
    unit->radio.radiomode.set(false);
    const QStringList urlsBefore = fake.player->urls;
    unit->stations.choose(3, loopStation(3), true);
    EXPECT_EQ(fake.player->urls, urlsBefore);
    EXPECT_EQ(storedConfig()[19], loopStation(3).url);
    EXPECT_EQ(unit->settings.config.line(cfg::ActiveStation), QStringLiteral("2"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requestCount("/logo3") >= 1; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(logos.size(), 1);
}
