// The radio's figures: one station-text refresh from start to shown text
// (configuration re-read, six loopback downloads, six file reads), the
// longest time the UI thread is busy while refreshes run against answering
// and against silent servers, and one volume step (which rewrites
// Radio.ini). The logic runs as in the program, with a fake player.

#include "app/datadir.h"
#include "app/headunit.h"
#include "platform/netdownloader.h"
#include "platform/rtflines.h"
#include "settings/config.h"
#include "support/fakes.h"
#include "support/httpserver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace zelk;

namespace {

struct Rig
{
    QTemporaryDir tmp;
    QString dataDir = tmp.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
    zelktest::HttpServer server;
    zelktest::FakeServices fake;
    std::unique_ptr<HeadUnit> unit;

    explicit Rig(bool hanging = false)
    {
        zelktest::ensureCoreApp();
        prepareDataDir(dataDir);
        QStringList config = defaultConfigLines();
        config[cfg::Fullscreen] = QStringLiteral("true");
        for (int n = 1; n <= 6; ++n) {
            const std::string path = "/rds" + std::to_string(n) + ".txt";
            server.setRoute(path, zelktest::Route{200, "Artist - Title " + std::to_string(n),
                                                  "text/plain", hanging});
            config[cfg::RdsUrl1 - 1 + n] = QString::fromStdString(server.url(path));
        }
        writeLineFile(dataDir + QStringLiteral("Radio.ini"), config);
        writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});
        unit =
            std::make_unique<HeadUnit>(fake.services(std::make_shared<NetDownloader>()), dataDir);
        unit->update.server = QStringLiteral("http://127.0.0.1:1");
        // Only what the benchmark starts runs: no clock, no timed refresh.
        unit->stopanytimer();
        unit->boot.fire();
        runUntil([&] { return bool(unit->player) && !unit->stationText.refreshing(); });
        unit->stopanytimer();
    }

    // Runs the event loop (sleeping while there is nothing to do) until
    // `done` holds.
    static void runUntil(const std::function<bool()>& done)
    {
        if (done())
            return;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        poll.start(1);
        loop.exec();
    }
};

// Runs one refresh to its end while a 1 ms heartbeat measures the longest
// gap between its beats: the UI thread was never busy for longer than that.
double refreshWithHeartbeat(Rig& rig)
{
    QElapsedTimer sinceBeat;
    qint64 longestNs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestNs = std::max(longestNs, sinceBeat.nsecsElapsed());
        sinceBeat.restart();
    });
    heartbeat.start(1);
    sinceBeat.start();
    rig.unit->stationText.reloadRDS();
    Rig::runUntil([&] { return !rig.unit->stationText.refreshing(); });
    longestNs = std::max(longestNs, sinceBeat.nsecsElapsed());
    return longestNs / 1e6;
}

} // namespace

static void BM_StationTextRefresh(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state) {
        rig.unit->stationText.reloadRDS();
        Rig::runUntil([&] { return !rig.unit->stationText.refreshing(); });
    }
    if (rig.unit->stationText.rdsText.text() != QStringLiteral("Artist - Title 1"))
        state.SkipWithError("the refresh did not show the station text");
}
BENCHMARK(BM_StationTextRefresh)->Unit(benchmark::kMillisecond);

static void stallOf(benchmark::State& state, bool hanging)
{
    Rig rig(hanging);
    double worst = 0;
    for (auto _ : state)
        worst = std::max(worst, refreshWithHeartbeat(rig));
    state.counters["longest_heartbeat_gap_ms"] = worst;
}

static void BM_UiStallDuringRefresh_AnsweringServers(benchmark::State& state)
{
    stallOf(state, false);
}
BENCHMARK(BM_UiStallDuringRefresh_AnsweringServers)->Unit(benchmark::kMillisecond)->Iterations(20);

static void BM_UiStallDuringRefresh_SilentServers(benchmark::State& state)
{
    stallOf(state, true);
}
BENCHMARK(BM_UiStallDuringRefresh_SilentServers)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_VolumeStep(benchmark::State& state)
{
    Rig rig;
    Volume& v = rig.unit->volume;
    bool up = true;
    for (auto _ : state) {
        if (v.volume >= 100)
            up = false;
        else if (v.volume <= 5)
            up = true;
        up ? v.Lauter1() : v.Leiser1();
    }
}
BENCHMARK(BM_VolumeStep)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
