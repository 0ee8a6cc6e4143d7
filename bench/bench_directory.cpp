// The station directory's figures: from the start of a search to the parsed
// results against a loopback directory, for an answer of 50 stations (what
// a search asks for) and for one of 10,000 (a directory that ignores the
// limit; cut to 50 while reading). Also the reading of such answers alone.

#include "platform/nethttpget.h"
#include "stations/directory.h"
#include "support/fakes.h"
#include "support/httpserver.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace zelk;

namespace {

// The fields the program reads, as the directory sends them.
QByteArray answer(int count)
{
    QJsonArray stations;
    for (int i = 0; i < count; ++i)
        stations.append(
            QJsonObject{{"stationuuid",
                         QStringLiteral("9617a958-0601-11e8-ae97-%1").arg(i, 12, 10, QChar('0'))},
                        {"name", QStringLiteral("Loopback Station %1").arg(i)},
                        {"url", QStringLiteral("http://127.0.0.1:9/stream%1.m3u").arg(i)},
                        {"url_resolved", QStringLiteral("http://127.0.0.1:9/stream%1").arg(i)},
                        {"favicon", QStringLiteral("http://127.0.0.1:9/logo%1.png").arg(i)},
                        {"countrycode", "DE"},
                        {"codec", "MP3"},
                        {"bitrate", 128},
                        {"hls", 0},
                        {"tags", "pop,rock,news"}});
    return QJsonDocument(stations).toJson(QJsonDocument::Compact);
}

void BM_SearchToResults(benchmark::State& state)
{
    zelktest::ensureCoreApp();
    zelktest::HttpServer server;
    const QByteArray body = answer(int(state.range(0)));
    server.setRoute("/json/stations/search",
                    zelktest::Route{200, body.toStdString(), "application/json"});
    NetHttpGetter http;
    zelktest::FakeServerLookup lookup;
    StationDirectory directory(http, lookup);
    directory.setServer(QString::fromStdString(server.url("")));
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&directory, &StationDirectory::stateChanged, &loop,
                         [&](StationDirectory::State s) {
                             if (s != StationDirectory::State::Searching)
                                 loop.quit();
                         });
        directory.search(QStringLiteral("Loopback"));
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        if (directory.state() != StationDirectory::State::Results ||
            directory.results().size() != stationlimits::Results) {
            state.SkipWithError("no results");
            break;
        }
    }
    state.counters["answer_KiB"] = double(body.size()) / 1024;
}
BENCHMARK(BM_SearchToResults)->Arg(50)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParseAnswer(benchmark::State& state)
{
    const QByteArray body = answer(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(parseStations(body));
}
BENCHMARK(BM_ParseAnswer)->Arg(50)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
