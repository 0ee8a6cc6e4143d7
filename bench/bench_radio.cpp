// One station-text refresh (six loopback downloads, six file reads, the
// configuration re-read) and one volume step (which rewrites Radio.ini), on
// the real radio screen with a fake player.

#include "app/datadir.h"
#include "app/headunit.h"
#include "platform/curldownloader.h"
#include "platform/rtflines.h"
#include "screens/Unit1.h"
#include "settings/config.h"
#include "support/fakes.h"
#include "support/httpserver.h"

#include <QTemporaryDir>

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

    Rig()
    {
        zelktest::ensureApp();
        prepareDataDir(dataDir);
        QStringList config = defaultConfigLines();
        config[cfg::Fullscreen] = QStringLiteral("true");
        for (int n = 1; n <= 6; ++n) {
            const std::string path = "/rds" + std::to_string(n) + ".txt";
            server.setRoute(path, zelktest::Route{200, "Artist - Title " + std::to_string(n),
                                                  "text/plain"});
            config[cfg::RdsUrl1 - 1 + n] = QString::fromStdString(server.url(path));
        }
        writeLineFile(dataDir + QStringLiteral("Radio.ini"), config);
        writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});
        unit = std::make_unique<HeadUnit>(
            fake.services(std::make_shared<CurlDownloader>()), dataDir);
        unit->Form1->boot->fire();
    }
};

} // namespace

static void BM_StationTextRefresh(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state)
        rig.unit->Form1->reloadRDS();
    if (rig.unit->Form1->rdsText->text() != QStringLiteral("Artist - Title 1"))
        state.SkipWithError("the refresh did not show the station text");
}
BENCHMARK(BM_StationTextRefresh)->Unit(benchmark::kMillisecond);

static void BM_VolumeStep(benchmark::State& state)
{
    Rig rig;
    TForm1* f1 = rig.unit->Form1;
    bool up = true;
    for (auto _ : state) {
        if (f1->volume >= 100)
            up = false;
        else if (f1->volume <= 5)
            up = true;
        up ? f1->Lauter1() : f1->Leiser1();
    }
}
BENCHMARK(BM_VolumeStep)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
