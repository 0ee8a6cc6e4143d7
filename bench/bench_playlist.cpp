// A whole music library as one playlist: 100,000 entries of short real tones
// in a generated .m3u, played by the real engine. Figures: the tap (setUrl
// and play) to first sound, the time until the engine holds every item, and
// the longest gap of a 5 ms heartbeat on the UI thread over all of that.

#include "platform/mpvplayer.h"
#include "support/fakes.h"
#include "support/media.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>

using namespace zelk;

namespace {

constexpr int kEntries = 100000;
constexpr int kTones = 10;

bool s_handedOver = false;
QtMessageHandler s_previousHandler = nullptr;

// The player logs when a long list is all in the engine.
void watchLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QStringLiteral("items handed over")))
        s_handedOver = true;
    else if (s_previousHandler)
        s_previousHandler(type, context, message);
}

struct Library
{
    QTemporaryDir dir;
    QString list = dir.filePath(QStringLiteral("library.m3u"));
    bool ok = false;

    Library()
    {
        QDir().mkpath(dir.filePath(QStringLiteral("tones")));
        for (int t = 0; t < kTones; ++t)
            if (!zelktest::makeTone(dir.filePath(QStringLiteral("tones/%1.mp3").arg(t)), 2,
                                    QStringLiteral("Ton %1").arg(t), 300 + 50 * t))
                return;
        QByteArray data = "#EXTM3U\n";
        for (int i = 0; i < kEntries; ++i)
            data += "#EXTINF:2,Ton " + QByteArray::number(i % kTones) + "\ntones/" +
                    QByteArray::number(i % kTones) + ".mp3\n";
        QFile file(list);
        ok = file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    }
};

// Runs the event loop until `done` holds or `timeoutMs` pass.
bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(1);
    loop.exec();
    return done();
}

} // namespace

static void BM_TapLibraryPlaylist(benchmark::State& state)
{
    zelktest::ensureCoreApp();
    static Library library;
    if (!library.ok) {
        state.SkipWithError("the tones or the list could not be made");
        return;
    }
    MpvOptions options;
    options.audioOutput = QStringLiteral("null");
    auto player = createMpvPlayer(options);
    s_previousHandler = qInstallMessageHandler(watchLog);

    double firstSoundMs = 0, allInMs = 0, longestGapMs = 0;
    for (auto _ : state) {
        s_handedOver = false;
        QElapsedTimer sinceBeat;
        qint64 longestNs = 0;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longestNs = std::max(longestNs, sinceBeat.nsecsElapsed());
            sinceBeat.restart();
        });
        heartbeat.start(5);
        sinceBeat.start();
        QElapsedTimer tap;
        tap.start();

        player->setUrl(library.list);
        player->play();
        longestNs = std::max(longestNs, sinceBeat.nsecsElapsed());
        if (!runUntil([&] { return player->currentPosition() > 0; }, 30000)) {
            state.SkipWithError("the list did not start playing");
            break;
        }
        firstSoundMs = std::max(firstSoundMs, tap.nsecsElapsed() / 1e6);
        if (!runUntil([] { return s_handedOver; }, 120000)) {
            state.SkipWithError("the list was not handed over");
            break;
        }
        allInMs = std::max(allInMs, tap.nsecsElapsed() / 1e6);
        longestNs = std::max(longestNs, sinceBeat.nsecsElapsed());
        longestGapMs = std::max(longestGapMs, longestNs / 1e6);
        if (player->playlistCount() != kEntries) {
            state.SkipWithError("the engine does not hold every item");
            break;
        }
    }
    qInstallMessageHandler(s_previousHandler);
    state.counters["tap_to_first_sound_ms"] = firstSoundMs;
    state.counters["tap_to_all_items_ms"] = allInMs;
    state.counters["longest_ui_gap_ms"] = longestGapMs;
}
BENCHMARK(BM_TapLibraryPlaylist)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
