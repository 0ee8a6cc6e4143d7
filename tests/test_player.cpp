#include "platform/mpvplayer.h"

#include "support/fakes.h"
#include "support/httpserver.h"
#include "support/media.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using zelk::MediaPlayer;
using zelktest::HttpServer;

constexpr int kWaitMs = 10000;

void ensureApplication()
{
    zelktest::ensureCoreApp();
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs = kWaitMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
}

// Tones made once for the whole suite, on disk and behind a loopback server.
struct Media
{
    QTemporaryDir dir;
    HttpServer server;

    QString path(const QString& relative) const { return dir.filePath(relative); }
    QString url(const char* path) const { return QString::fromStdString(server.url(path)); }

    Media()
    {
        const struct
        {
            const char* file;
            double seconds;
            const char* title;
        } tones[] = {
            {"music/alpha.mp3", 3, "Alpha"}, {"music/Rock & Roll/beta.mp3", 8, "Beta"},
            {"other/untitled.mp3", 8, ""},   {"station.mp3", 8, "Sender Eins"},
            {"short.mp3", 1, "Kurz"},
        };
        for (const auto& t : tones) {
            const QString file = path(QString::fromUtf8(t.file));
            QDir().mkpath(QFileInfo(file).absolutePath());
            if (!zelktest::makeTone(file, t.seconds, QString::fromUtf8(t.title)))
                throw std::runtime_error(std::string("ffmpeg failed for ") + t.file);
        }
        server.setFile("/station.mp3", path("station.mp3").toStdString(), "audio/mpeg");
        server.setFile("/untitled.mp3", path("other/untitled.mp3").toStdString(), "audio/mpeg");
        server.setFile("/drop.mp3", path("short.mp3").toStdString(), "audio/mpeg");
        server.setFile("/drop2.mp3", path("short.mp3").toStdString(), "audio/mpeg");
        server.setFile("/once.mp3", path("short.mp3").toStdString(), "audio/mpeg");
        server.setRoute("/list.m3u",
                        {200, "#EXTM3U\n" + server.url("/station.mp3") + "\n", "audio/x-mpegurl"});
        server.setRoute("/extinf.m3u",
                        {200,
                         "#EXTM3U\n#EXTINF:-1,Station Name\n" + server.url("/untitled.mp3") + "\n",
                         "audio/x-mpegurl"});
        server.setRoute("/list.pls", {200,
                                      "[playlist]\nNumberOfEntries=1\nFile1=" +
                                          server.url("/station.mp3") + "\nTitle1=Ignored\n",
                                      "audio/x-scpls"});
        server.setRoute("/drop.m3u",
                        {200, "#EXTM3U\n" + server.url("/drop2.mp3") + "\n", "audio/x-mpegurl"});
    }
};

class PlayerTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ensureApplication();
        if (!s_media) {
            try {
                s_media = new Media;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
            }
        }
    }

    void SetUp() override { ASSERT_NE(s_media, nullptr) << "the test tones could not be made"; }

    static std::unique_ptr<MediaPlayer> makePlayer()
    {
        zelk::MpvOptions options;
        options.audioOutput = QStringLiteral("null");
        options.networkTimeoutSeconds = 5;
        options.reconnectFirstDelayMs = 200;
        options.reconnectMaxDelayMs = 400;
        return zelk::createMpvPlayer(options);
    }

    static Media& media() { return *s_media; }

    // Kept for the life of the process: the tones take a while to make.
    static inline Media* s_media = nullptr;
};

TEST(FormatPlayPosition, MinutesThenHours)
{
    const struct
    {
        double seconds;
        const char* text;
    } cases[] = {{0, "00:00"},      {-1.5, "00:00"},   {9.99, "00:09"},   {61, "01:01"},
                 {3599.9, "59:59"}, {3600, "1:00:00"}, {3661, "1:01:01"}, {36061, "10:01:01"}};
    for (const auto& c : cases)
        EXPECT_EQ(zelk::formatPlayPosition(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
}

// The names a player showed, in order, without repeats.
struct NameLog
{
    QStringList seen;
    void record(const MediaPlayer& player)
    {
        const QString name = player.currentItemName();
        if (seen.isEmpty() || seen.last() != name)
            seen.append(name);
    }
    void watch(const MediaPlayer& player, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            record(player);
            QTest::qWait(20);
        }
    }
};

struct StreamCase
{
    const char* name;
    const char* path;
    const char* itemName;
};

void PrintTo(const StreamCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlayerStream : public PlayerTest, public testing::WithParamInterface<StreamCase>
{
};

TEST_P(PlayerStream, PlaysOnlyAfterPlayWithTitleAndAdvancingPosition)
{
    const StreamCase& c = GetParam();
    const int asked = media().server.requestCount(c.path);
    auto player = makePlayer();
    const QString url = media().url(c.path);
    player->setUrl(url);
    EXPECT_EQ(player->url(), url);
    QTest::qWait(200);
    EXPECT_EQ(media().server.requestCount(c.path), asked) << "setUrl() must not open the source";
    EXPECT_EQ(player->currentItemName(), QString());

    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 0.5; }))
        << "name: " << player->currentItemName().toStdString();
    EXPECT_EQ(player->currentItemName(), QString::fromUtf8(c.itemName));
    EXPECT_NEAR(player->currentMediaDuration(), 8.0, 0.5);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^00:0\\d$"))
                    .match(player->currentPositionString())
                    .hasMatch())
        << player->currentPositionString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sources, PlayerStream,
                         testing::Values(StreamCase{"PlainStream", "/station.mp3", "Sender Eins"},
                                         StreamCase{"NoTitleTagGivesFileNameWithoutExtension",
                                                    "/untitled.mp3", "untitled"},
                                         StreamCase{"StationM3u", "/list.m3u", "Sender Eins"},
                                         StreamCase{"StationPls", "/list.pls", "Sender Eins"},
                                         StreamCase{"StationM3uTitleWhenStreamHasNone",
                                                    "/extinf.m3u", "Station Name"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, WplPlaylistNavigatesAndAdvancesByItself)
{
    const QString list = media().path(QStringLiteral("music/drive.wpl"));
    writeFile(list, "<?wpl version=\"1.0\"?>\n<smil><head><title>Fahrt</title></head><body><seq>\n"
                    "<media src=\"alpha.mp3\"/>\n"
                    "<media src=\"Rock &amp; Roll\\beta.mp3\"/>\n"
                    "<media src=\"..\\other\\untitled.mp3\"/>\n"
                    "</seq></body></smil>\n");
    auto player = makePlayer();
    player->setUrl(list);
    player->play();
    const auto waitName = [&](const char* expected) {
        return waitFor([&] { return player->currentItemName() == QString::fromUtf8(expected); });
    };
    // Moves that must change nothing: same item, position not reset.
    const auto expectStays = [&](const char* expected) {
        const double before = player->currentPosition();
        QTest::qWait(300);
        EXPECT_EQ(player->currentItemName(), QString::fromUtf8(expected));
        EXPECT_GE(player->currentPosition(), before);
    };

    ASSERT_TRUE(waitName("Alpha"));
    ASSERT_TRUE(waitName("Beta")) << "the list must go on when an item ends";
    player->next();
    ASSERT_TRUE(waitName("untitled"));
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 0.2; }));
    player->next();
    expectStays("untitled");
    player->previous();
    ASSERT_TRUE(waitName("Beta"));
    player->previous();
    ASSERT_TRUE(waitName("Alpha"));
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 0.2; }));
    player->previous();
    expectStays("Alpha");

    player->next();
    ASSERT_TRUE(waitName("Beta"));
    player->stop();
    EXPECT_EQ(player->currentItemName(), QString());
    EXPECT_EQ(player->currentPosition(), 0.0);
    player->next();
    expectStays("");
    player->play();
    EXPECT_TRUE(waitName("Alpha")) << "play() after stop() starts the list from its first item";
}

TEST_F(PlayerTest, ItemNameIsTitleTagElseListTitleElseFileName)
{
    const struct
    {
        const char* list;
        const char* itemName;
    } cases[] = {
        {"#EXTM3U\n#EXTINF:3,Aus der Liste\nalpha.mp3\n", "Alpha"},
        {"#EXTM3U\n#EXTINF:8,Aus der Liste\n../other/untitled.mp3\n", "Aus der Liste"},
        {"../other/untitled.mp3\n", "untitled"},
    };
    const QString list = media().path(QStringLiteral("music/names.m3u"));
    auto player = makePlayer();
    for (const auto& c : cases) {
        writeFile(list, c.list);
        player->setUrl(list);
        player->play();
        EXPECT_TRUE(waitFor([&] {
            return player->currentItemName() == QString::fromUtf8(c.itemName);
        })) << c.list
            << " shows " << player->currentItemName().toStdString();
    }
}

TEST_F(PlayerTest, PauseKeepsPositionAndStopRestarts)
{
    auto player = makePlayer();
    player->setUrl(media().url("/station.mp3"));
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 1.5; }));

    player->pause();
    QTest::qWait(300);
    const double pausedAt = player->currentPosition();
    QTest::qWait(500);
    EXPECT_NEAR(player->currentPosition(), pausedAt, 0.05);
    EXPECT_EQ(player->currentItemName(), QStringLiteral("Sender Eins"));

    player->play();
    double lowest = pausedAt;
    ASSERT_TRUE(waitFor([&] {
        lowest = std::min(lowest, player->currentPosition());
        return player->currentPosition() > pausedAt + 0.5;
    }));
    EXPECT_GE(lowest, pausedAt - 0.1) << "play() after pause() resumes where it was";

    player->stop();
    EXPECT_EQ(player->currentItemName(), QString());
    EXPECT_EQ(player->currentPosition(), 0.0);
    player->play();
    ASSERT_TRUE(waitFor(
        [&] { return !player->currentItemName().isEmpty() && player->currentPosition() > 0; }));
    EXPECT_LT(player->currentPosition(), pausedAt) << "play() after stop() starts from the start";
}

// A station that sends its titles inside the stream, in whatever encoding
// it likes: each one arrives as text, changes are told, a new source
// clears the old title.
TEST_F(PlayerTest, StreamTitleArrivesAsTextAndFollowsChanges)
{
    QFile tone(media().path(QStringLiteral("station.mp3")));
    ASSERT_TRUE(tone.open(QIODevice::ReadOnly));
    zelktest::Route icy{200, tone.readAll().toStdString(), "audio/mpeg"};
    icy.icyMetaInt = 2000;
    icy.bytesPerSecond = 8000; // the tone's own pace: 64 kbit/s
    icy.icyTitle = "Gr\xc3\xbc\xc3\x9f"
                   "e aus K\xc3\xb6ln"; // UTF-8
    media().server.setRoute("/icy.mp3", icy);
    auto player = makePlayer();
    int told = 0;
    player->setStreamTitleHandler([&] { ++told; });
    player->setUrl(media().url("/icy.mp3"));
    player->play();
    const QString expected = QStringLiteral("Grüße aus Köln");
    ASSERT_TRUE(waitFor([&] { return player->streamTitle() == expected; }))
        << player->streamTitle().toStdString();
    EXPECT_GE(told, 1);

    const struct
    {
        std::string bytes;
        QString shown;
    } changes[] = {
        {"Gr\xfc\xdf"
         "e aus K\xf6ln (Latin-1)",
         QStringLiteral("Grüße aus Köln (Latin-1)")},
        {"Caf\xe9 \x80 5", QStringLiteral("Café € 5")}, // Windows-1252
        {"<b>Jetzt</b> & <img src=x>", QStringLiteral("<b>Jetzt</b> & <img src=x>")},
    };
    for (const auto& c : changes) {
        media().server.setIcyTitle("/icy.mp3", c.bytes);
        EXPECT_TRUE(waitFor([&] { return player->streamTitle() == c.shown; }))
            << player->streamTitle().toStdString();
    }
    player->setUrl(media().url("/station.mp3"));
    EXPECT_TRUE(player->streamTitle().isEmpty());
}

TEST_F(PlayerTest, PlayWhilePlayingKeepsTheStreamAndANewAddressRestartsIt)
{
    auto player = makePlayer();
    const int before = media().server.requestCount("/station.mp3");
    player->setUrl(media().url("/station.mp3"));
    player->play();
    player->play(); // the radio screen plays again after every tune
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 1.0; }));
    player->play();
    QTest::qWait(300);
    EXPECT_GT(player->currentPosition(), 1.0) << "still going, not started again";
    EXPECT_EQ(media().server.requestCount("/station.mp3"), before + 1);

    // Tuning the same station again opens it again.
    player->setUrl(media().url("/station.mp3"));
    player->play();
    ASSERT_TRUE(media().server.waitForRequest("/station.mp3", before + 2, kWaitMs));
}

TEST_F(PlayerTest, VolumeIsClampedAndSticksAcrossLoading)
{
    const struct
    {
        int set;
        int expected;
    } cases[] = {{-5, 0}, {150, 100}, {100, 100}, {0, 0}, {37, 37}};

    auto player = makePlayer();
    EXPECT_EQ(player->volume(), 100);
    const auto checkAll = [&](const char* phase) {
        for (const auto& c : cases) {
            player->setVolume(c.set);
            EXPECT_EQ(player->volume(), c.expected) << phase << ", set " << c.set;
        }
    };
    checkAll("before loading");
    player->setUrl(media().url("/station.mp3"));
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 0.2; }));
    EXPECT_EQ(player->volume(), 37) << "a level set before loading stays";
    checkAll("while playing");
}

QString refusedAddress(Media&)
{
    HttpServer closed;
    const std::string url = closed.url("/gone.mp3");
    closed.stop();
    return QString::fromStdString(url);
}

// Lists beside the tones, so their relative entries find them.
QString listOfMissingFile(Media& m)
{
    const QString path = m.path(QStringLiteral("music/missing.m3u"));
    writeFile(path, "nowhere.mp3\n");
    return path;
}

QString listWithMissingFirst(Media& m)
{
    const QString path = m.path(QStringLiteral("music/gap.m3u"));
    writeFile(path, "#EXTM3U\nnowhere.mp3\nalpha.mp3\n");
    return path;
}

struct UnreadableCase
{
    const char* name;
    QString (*source)(Media&);
    const char* finallyPlaying; // "" when nothing plays at all
};

void PrintTo(const UnreadableCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlayerUnreadable : public PlayerTest, public testing::WithParamInterface<UnreadableCase>
{
};

TEST_P(PlayerUnreadable, ShowsNoNameForWhatCannotBeRead)
{
    const UnreadableCase& c = GetParam();
    auto player = makePlayer();
    player->setUrl(c.source(media()));
    player->play();
    NameLog names;
    const QString expected = QString::fromUtf8(c.finallyPlaying);
    const bool reached = waitFor(
        [&] {
            names.record(*player);
            return !expected.isEmpty() && player->currentItemName() == expected;
        },
        expected.isEmpty() ? 1500 : kWaitMs);
    EXPECT_EQ(reached, !expected.isEmpty());
    for (const QString& name : std::as_const(names.seen))
        EXPECT_TRUE(name.isEmpty() || name == expected) << name.toStdString();

    // Still in working order afterwards.
    player->setUrl(media().url("/station.mp3"));
    player->play();
    EXPECT_TRUE(waitFor([&] { return player->currentItemName() == u"Sender Eins"; }));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PlayerUnreadable,
    testing::Values(UnreadableCase{"RefusedPort", refusedAddress, ""},
                    UnreadableCase{"PlaylistOfMissingFile", listOfMissingFile, ""},
                    UnreadableCase{"MissingItemIsSkipped", listWithMissingFirst, "Alpha"}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Ending { Stop, Pause, NewSource };

struct ReconnectCase
{
    const char* name;
    const char* path; // the station address asked for again
    Ending ending;
};

void PrintTo(const ReconnectCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlayerReconnect : public PlayerTest, public testing::WithParamInterface<ReconnectCase>
{
};

// The tone behind /drop.mp3 lasts a second: to the player it is a station
// whose connection ends, over and over. /gone.mp3 answers 404.
TEST_P(PlayerReconnect, StationIsOpenedAgainUntilTheUserEndsIt)
{
    const ReconnectCase& c = GetParam();
    HttpServer& server = media().server;
    const int before = server.requestCount(c.path);
    auto player = makePlayer();
    player->setUrl(media().url(c.path));
    player->play();
    ASSERT_TRUE(waitFor([&] { return server.requestCount(c.path) >= before + 3; }))
        << "asked " << server.requestCount(c.path) - before << " times";

    switch (c.ending) {
    case Ending::Stop:
        player->stop();
        break;
    case Ending::Pause:
        player->pause();
        break;
    case Ending::NewSource:
        player->setUrl(media().url("/station.mp3"));
        break;
    }
    // A load already on its way may still reach the server.
    QTest::qWait(100);
    const int settled = server.requestCount(c.path);
    QTest::qWait(1000);
    EXPECT_EQ(server.requestCount(c.path), settled) << "no retries after the user ended it";
}

INSTANTIATE_TEST_SUITE_P(
    Endings, PlayerReconnect,
    testing::Values(ReconnectCase{"StreamEndsThenStop", "/drop.mp3", Ending::Stop},
                    ReconnectCase{"ServerErrorThenPause", "/gone.mp3", Ending::Pause},
                    ReconnectCase{"StationListThenNewSource", "/drop.m3u", Ending::NewSource}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, PlaylistFileIsNotReopenedWhenItEnds)
{
    // Even a list of network items ends for good after its last item.
    const QString list = media().path(QStringLiteral("once.m3u"));
    writeFile(list, "#EXTM3U\n" + media().url("/once.mp3").toUtf8() + "\n");
    auto player = makePlayer();
    player->setUrl(list);
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentItemName() == u"Kurz"; }));
    ASSERT_TRUE(waitFor([&] { return player->currentItemName().isEmpty(); }));
    const int asked = media().server.requestCount("/once.mp3");
    NameLog names;
    names.watch(*player, 1000);
    EXPECT_EQ(names.seen, QStringList{QString()}) << names.seen.join(u',').toStdString();
    EXPECT_EQ(media().server.requestCount("/once.mp3"), asked);
}

// Lists as the desktop's players and editors write them, on disk beside the
// tones. Each must play its own first item and hold its own items: a list
// read wrong plays its folder (every tone in it), or nothing.
struct ListFileCase
{
    const char* name;
    const char* file; // under the tones' folder
    QByteArray (*content)(Media&);
    const char* firstName; // "" when nothing may play
    int count;
};

void PrintTo(const ListFileCase& c, std::ostream* os)
{
    *os << c.name;
}

QByteArray inUtf16(const QString& text, QStringEncoder::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
    return encoder(text);
}

const char* const kTwoTones = "#EXTM3U\r\n../other/untitled.mp3\r\nalpha.mp3\r\n";

class PlayerListFile : public PlayerTest, public testing::WithParamInterface<ListFileCase>
{
};

TEST_P(PlayerListFile, PlaysItsOwnItems)
{
    const ListFileCase& c = GetParam();
    const QString list = media().path(QString::fromUtf8(c.file));
    writeFile(list, c.content(media()));
    auto player = makePlayer();
    player->setUrl(list);
    player->play();
    NameLog names;
    const QString expected = QString::fromUtf8(c.firstName);
    const bool reached = waitFor(
        [&] {
            names.record(*player);
            return !expected.isEmpty() && player->currentItemName() == expected;
        },
        expected.isEmpty() ? 1500 : kWaitMs);
    EXPECT_EQ(reached, !expected.isEmpty()) << names.seen.join(u',').toStdString();
    for (const QString& name : std::as_const(names.seen))
        EXPECT_TRUE(name.isEmpty() || name == expected) << name.toStdString();
    EXPECT_EQ(player->playlistCount(), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, PlayerListFile,
    testing::Values(
        ListFileCase{
            "M3uUtf16Le", "music/le.m3u",
            [](Media&) { return inUtf16(QString::fromUtf8(kTwoTones), QStringEncoder::Utf16LE); },
            "untitled", 2},
        ListFileCase{
            "M3u8Utf16Be", "music/be.m3u8",
            [](Media&) { return inUtf16(QString::fromUtf8(kTwoTones), QStringEncoder::Utf16BE); },
            "untitled", 2},
        ListFileCase{"PlsUtf16Le", "music/le.pls",
                     [](Media&) {
                         return inUtf16(QStringLiteral("[playlist]\r\nFile1=..\\other\\untitled"
                                                       ".mp3\r\nFile 2=alpha.mp3\r\n"
                                                       "NumberOfEntries=2\r\n"),
                                        QStringEncoder::Utf16LE);
                     },
                     "untitled", 2},
        ListFileCase{"M3uUtf8WithMark", "music/bom.m3u",
                     [](Media&) { return QByteArray("\xEF\xBB\xBF") + kTwoTones; }, "untitled", 2},
        ListFileCase{"WplWithLatin1Bytes", "music/latin1.wpl",
                     [](Media&) {
                         return QByteArray("<?wpl version=\"1.0\"?><smil><head><title>Sch\xF6n"
                                           "</title></head><body><seq><media src=\"..\\other\\"
                                           "untitled.mp3\"/><media src=\"alpha.mp3\"/></seq>"
                                           "</body></smil>");
                     },
                     "untitled", 2},
        // The engine would play these itself: a generated tone, a file
        // descriptor, an edit list of a tone.
        ListFileCase{"EngineDevicesSkipped", "music/devices.m3u",
                     [](Media& m) {
                         return "#EXTM3U\nav://lavfi:sine=frequency=1000:duration=5\nfd://0\n"
                                "fdclose://0\nedl://" +
                                m.path(QStringLiteral("station.mp3")).toUtf8() +
                                ",0,3\nmemory://x\nalpha.mp3\n";
                     },
                     "Alpha", 1},
        ListFileCase{"OtherNameWithPlaylistContent", "music/list.txt",
                     [](Media&) { return QByteArray(kTwoTones); }, "untitled", 2},
        ListFileCase{"OtherNameWithMediaContent", "music/tone.dat",
                     [](Media& m) {
                         QFile tone(m.path(QStringLiteral("short.mp3")));
                         return tone.open(QIODevice::ReadOnly) ? tone.readAll() : QByteArray();
                     },
                     "Kurz", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Catches the player's report that a list has been handed over whole.
struct HandOverWatch
{
    static inline bool s_done = false;
    static inline QtMessageHandler s_previous = nullptr;
    HandOverWatch()
    {
        s_done = false;
        s_previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (message.contains(QStringLiteral("items handed over")))
                    s_done = true;
                if (s_previous)
                    s_previous(type, context, message);
            });
    }
    ~HandOverWatch() { qInstallMessageHandler(s_previous); }
};

// A whole library: 100,000 entries. It plays at once, counts all its items
// from its first on (the last-song search steps by that count), and steps
// on past the items not handed over yet. How long the UI thread is held
// meanwhile is bench_playlist's figure, not a test's.
TEST_F(PlayerTest, WholeLibraryPlaysAtOnceAndCountsEveryItem)
{
    constexpr int kEntries = 100000;
    const QString list = media().path(QStringLiteral("music/library.m3u"));
    QByteArray data = "#EXTM3U\n";
    for (int i = 0; i < kEntries; ++i)
        data += i % 2 ? "#EXTINF:8,Eintrag\n../other/untitled.mp3\n" : "alpha.mp3\n";
    writeFile(list, data);
    auto player = makePlayer();

    HandOverWatch watch;
    player->setUrl(list);
    player->play();
    EXPECT_TRUE(player->isOpening());
    EXPECT_FALSE(player->hasCurrentItem());
    ASSERT_TRUE(waitFor([&] { return player->hasCurrentItem(); }));
    EXPECT_EQ(player->currentItemName(), QStringLiteral("Alpha"));
    EXPECT_EQ(player->playlistCount(), kEntries);
    player->next();
    ASSERT_TRUE(waitFor([&] { return player->currentItemName() == u"Eintrag"; }))
        << player->currentItemName().toStdString();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() > 0.1; }));
    ASSERT_TRUE(waitFor([&] { return HandOverWatch::s_done; }, 60000));
    EXPECT_EQ(player->playlistCount(), kEntries);
}

// mpv refuses to start under a locale that writes numbers with a comma;
// QApplication takes the locale from the environment. This runs the test
// below in a copy of this binary under a German locale.
TEST_F(PlayerTest, PlaysUnderGermanLocale)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=GermanLocale.DISABLED_CreatesAndPlays")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

// Disabled in ordinary runs: PlayerTest.PlaysUnderGermanLocale runs it in a
// copy of this program under a German locale.
TEST(GermanLocale, DISABLED_CreatesAndPlays)
{
    ensureApplication();
    ASSERT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)).rfind("de_DE", 0), 0u)
        << "the locale did not take: " << std::setlocale(LC_NUMERIC, nullptr);
    QTemporaryDir dir;
    const QString tone = dir.filePath(QStringLiteral("ton.mp3"));
    ASSERT_TRUE(zelktest::makeTone(tone, 3, QStringLiteral("Ton")));
    zelk::MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    auto player = zelk::createMpvPlayer(options);
    player->setUrl(tone);
    player->play();
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() > 0.3; }));
}

} // namespace
