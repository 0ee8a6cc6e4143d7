// Reading and writing Radio.ini: read every 5 s in radio mode, rewritten on
// every change (each volume step).

#include "platform/rtflines.h"
#include "settings/config.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zelk;

static void BM_LoadConfig(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Radio.ini"));
    saveConfigFile(LineList(defaultConfigLines()), path);
    LineList config;
    for (auto _ : state) {
        loadConfigFile(config, path);
        benchmark::DoNotOptimize(config.size());
    }
}
BENCHMARK(BM_LoadConfig)->Unit(benchmark::kMicrosecond);

// Includes the flush to disk and the rename that make the save atomic.
static void BM_SaveConfig(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Radio.ini"));
    LineList config(defaultConfigLines());
    int volume = 0;
    for (auto _ : state) {
        config.setLine(cfg::Volume, QString::number(volume++ % 100));
        saveConfigFile(config, path);
    }
}
BENCHMARK(BM_SaveConfig)->Unit(benchmark::kMicrosecond);

static void BM_ParseRtf(benchmark::State& state)
{
    const QByteArray doc = writeRtfLines(defaultConfigLines());
    for (auto _ : state)
        benchmark::DoNotOptimize(parseLines(doc));
}
BENCHMARK(BM_ParseRtf)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
