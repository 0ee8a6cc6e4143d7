// The station text: six files fetched from a loopback server on each
// refresh, the first line of the selected preset's file shown; and the UI
// thread free while the servers take their time.

#include "platform/netdownloader.h"
#include "support/core_fixture.h"
#include "support/httpserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

using namespace zelk;
using namespace zelktest;

class StationTextTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        server.setRoute("/1", Route{200, "Title One\nsecond line", "text/plain"});
        server.setRoute("/2", Route{404, "", "text/plain"});
        server.setRoute("/3", Route{200, "", "text/plain"});
        server.setRoute("/4", Route{200,
                                    "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}"
                                    "\\pard Gr\\'fc\\'dfe aus K\\'f6ln\\par Zweite\\par}",
                                    "application/rtf"});
        server.setRoute("/5", Route{200, "<b>Jetzt:</b> Grüße\r\n", "text/plain"});
        QStringList lines = configWith({{cfg::Fullscreen, QStringLiteral("true")}});
        for (int n = 1; n <= 5; ++n)
            lines[cfg::RdsUrl1 - 1 + n] =
                QString::fromStdString(server.url("/" + std::to_string(n)));
        lines[cfg::RdsUrl1 + 5] = QString(); // preset 6 has no station text address
        writeConfig(lines);
        writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});
    }
    void bootHere()
    {
        boot(std::make_shared<NetDownloader>());
        unit->restartOnce.setEnabled(false);
    }
    void writeFile(const QString& name, const QByteArray& data)
    {
        QFile f(dataDir + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    // Runs the event loop until the refresh under way has shown its texts.
    bool refreshed()
    {
        return waitUntil([this] { return !unit->stationText.refreshing(); });
    }
    const QString& shown() const { return unit->stationText.rdsText.text(); }

    HttpServer server;
};

TEST_F(StationTextTest, EachPresetShowsTheFirstLineOfItsFile)
{
    writeFile(QStringLiteral("RDS6.ini"), "Earlier text\n");
    bootHere();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(shown(), QStringLiteral("Title One"));
    const QString expected[6] = {QStringLiteral("Title One"),
                                 QString(),
                                 QString(),
                                 QStringLiteral("Grüße aus Köln"),
                                 QStringLiteral("<b>Jetzt:</b> Grüße"),
                                 QStringLiteral("Earlier text")};
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(unit->stationText.rds_data.value(n - 1), expected[n - 1]);
        unit->radio.ButtonN(n);
        EXPECT_TRUE(shown().isEmpty()) << "empty until the refresh of the tune has ended";
        ASSERT_TRUE(refreshed());
        EXPECT_EQ(shown(), expected[n - 1]);
    }
    EXPECT_GE(server.requestCount("/1"), 2) << "startRadio refreshes, each tune refreshes";
}

TEST_F(StationTextTest, UnreachableAddressKeepsTheLastGoodText)
{
    bootHere();
    ASSERT_TRUE(refreshed());
    ASSERT_EQ(shown(), QStringLiteral("Title One"));
    server.setRoute("/1", Route{500, "error page", "text/html"});
    unit->stationText.RDStimer.fire();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(shown(), QStringLiteral("Title One"));
}

TEST_F(StationTextTest, RefreshReadsTheConfigurationAgain)
{
    bootHere();
    ASSERT_TRUE(refreshed());
    // Another program changes the stored preset meanwhile.
    QStringList lines = storedConfig();
    lines[cfg::ActiveStation] = QStringLiteral("4");
    writeConfig(lines);
    unit->stationText.RDStimer.fire();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(shown(), QStringLiteral("Grüße aus Köln"));

    lines[cfg::ActiveStation] = QStringLiteral("9");
    writeConfig(lines);
    unit->stationText.RDStimer.fire();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(shown(), QStringLiteral("Grüße aus Köln")) << "no preset: unchanged";
}

TEST_F(StationTextTest, MusicModeFetchesNothing)
{
    bootHere();
    ASSERT_TRUE(refreshed());
    const auto before = server.requests().size();
    unit->radio.radiomode.set(false);
    unit->stationText.rdsText.set(QStringLiteral("/music/list.wpl"));
    unit->stationText.reloadRDS();
    EXPECT_FALSE(unit->stationText.refreshing());
    EXPECT_EQ(server.requests().size(), before);
    EXPECT_EQ(shown(), QStringLiteral("/music/list.wpl"));
}

TEST_F(StationTextTest, UnreadableFileEndsTheRefreshWithAnErrorAndKeepsTheText)
{
    bootHere();
    ASSERT_TRUE(refreshed());
    ASSERT_EQ(shown(), QStringLiteral("Title One"));
    // A folder where a text file should be: it exists and cannot be read.
    server.setRoute("/2", Route{200, "", "text/plain", true});
    QFile::remove(dataDir + QStringLiteral("RDS2.ini"));
    ASSERT_TRUE(QDir().mkpath(dataDir + QStringLiteral("RDS2.ini")));
    unit->stationText.RDStimer.fire();
    ASSERT_TRUE(refreshed());
    ASSERT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_TRUE(fake.dialogs->errors.first().contains(QStringLiteral("RDS2.ini")));
    EXPECT_EQ(shown(), QStringLiteral("Title One"));
}

// Six servers that accept and never answer: a refresh lasts until the
// downloads give up, and meanwhile the program goes on with input and ticks.
TEST_F(StationTextTest, HangingServersNeverHoldTheUiThread)
{
    bootHere();
    ASSERT_TRUE(refreshed());
    QStringList lines = storedConfig();
    for (int n = 1; n <= 6; ++n) {
        server.setRoute("/hang" + std::to_string(n), Route{200, "", "text/plain", true});
        lines[cfg::RdsUrl1 - 1 + n] =
            QString::fromStdString(server.url("/hang" + std::to_string(n)));
    }
    writeConfig(lines);

    unit->restartOnce.setEnabled(false);
    int beats = 0;
    qint64 longestGap = 0;
    QElapsedTimer sinceBeat;
    sinceBeat.start();
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceBeat.restart());
        ++beats;
    });
    heartbeat.start(5);
    QElapsedTimer clock;
    clock.start();
    unit->stationText.RDStimer.fire();
    const qint64 firedIn = clock.elapsed();
    ASSERT_TRUE(unit->stationText.refreshing());
    // A key right away acts at once.
    unit->seq.input([this] { unit->volume.Lauter1(); });
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("5"));
    ASSERT_TRUE(refreshed());
    EXPECT_LT(firedIn, 100) << "starting a refresh does not wait for the servers";
    EXPECT_GT(clock.elapsed(), 1000) << "the servers held the downloads";
    EXPECT_GT(beats, 50);
    EXPECT_LT(longestGap, 500) << "the heartbeat went on";
    EXPECT_EQ(shown(), QStringLiteral("Title One")) << "the old file is kept";
}

TEST_F(StationTextTest, ANewerRefreshTakesThePlaceOfOneStillRunning)
{
    auto downloader = std::make_shared<FakeDownloader>();
    downloader->autoFinish = false;
    const QString one = QString::fromStdString(server.url("/1"));
    const QString four = QString::fromStdString(server.url("/4"));
    downloader->files.insert(one, "Old station text");
    downloader->files.insert(four, "Four");
    writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});
    start(downloader);
    unit->boot.fire();
    downloader->finish(); // the version file: the radio starts, refreshes run
    ASSERT_TRUE(unit->player);
    downloader->finish();
    ASSERT_EQ(shown(), QStringLiteral("Old station text"));

    unit->stationText.RDStimer.fire(); // a refresh for preset 1 goes out
    const int cancelledBefore = static_cast<int>(downloader->cancelled.size());
    unit->radio.Button4(); // the tune starts its own
    EXPECT_EQ(downloader->cancelled.size(), cancelledBefore + 1) << "the older one gives way";
    EXPECT_EQ(downloader->pending(), 1);
    EXPECT_TRUE(shown().isEmpty());
    downloader->finish();
    EXPECT_EQ(shown(), QStringLiteral("Four"));
}

// A preset without a text address shows what its station sends inside the
// stream; a preset with one keeps to its file.
TEST_F(StationTextTest, StreamTitleStandsInForAMissingTextAddress)
{
    bootHere();
    ASSERT_TRUE(refreshed());
    unit->radio.Button6(); // no text address
    ASSERT_TRUE(refreshed());
    EXPECT_TRUE(shown().isEmpty());
    fake.player->sendStreamTitle(QStringLiteral("Artist - On Air"));
    EXPECT_EQ(shown(), QStringLiteral("Artist - On Air"));
    fake.player->sendStreamTitle(QStringLiteral("Next - Song"));
    EXPECT_EQ(shown(), QStringLiteral("Next - Song"));
    unit->stationText.RDStimer.fire();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(shown(), QStringLiteral("Next - Song")) << "the refresh keeps it";

    unit->radio.Button1(); // this one has a text address
    ASSERT_TRUE(refreshed());
    fake.player->sendStreamTitle(QStringLiteral("Ignored"));
    EXPECT_EQ(shown(), QStringLiteral("Title One"));

    unit->radio.Button6();
    unit->radio.radiomode.set(false); // music mode shows the playlist instead
    unit->stationText.rdsText.set(QStringLiteral("/music/list.wpl"));
    fake.player->sendStreamTitle(QStringLiteral("Late title"));
    EXPECT_EQ(shown(), QStringLiteral("/music/list.wpl"));
}
