// The real program from outside: CPU time and peak memory in radio mode
// side by side with the mpv player on the same loopback station, the start
// until the boot picture is on screen, and memory over a long live stream.
//
// ZELK_BENCH_SECONDS (default 60) and ZELK_BENCH_MINUTES (default 10) set
// the lengths; the web view is not used in any of them.

#include "platform/rtflines.h"
#include "settings/config.h"
#include "support/httpserver.h"
#include "support/media.h"
#include "support/xvfb.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <unistd.h>

using namespace zelk;

namespace {

struct ProcessStats
{
    double cpuSeconds = 0;
    double peakMiB = 0;
    double residentMiB = 0;
};

ProcessStats statsOf(qint64 pid)
{
    ProcessStats s;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // Fields after the command's closing parenthesis: utime is the 12th,
        // stime the 13th of them.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> f = line.mid(line.lastIndexOf(')') + 2).split(' ');
        const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
        s.cpuSeconds = (f.value(11).toDouble() + f.value(12).toDouble()) / ticks;
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        const QString text = QString::fromLatin1(status.readAll());
        static const QRegularExpression hwm(QStringLiteral("VmHWM:\\s+(\\d+)"));
        static const QRegularExpression rss(QStringLiteral("VmRSS:\\s+(\\d+)"));
        s.peakMiB = hwm.match(text).captured(1).toDouble() / 1024.0;
        s.residentMiB = rss.match(text).captured(1).toDouble() / 1024.0;
    }
    return s;
}

int envNumber(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

// A 128 kbit/s MP3 station on loopback, paced as a station sends it, with
// six station-text files beside it.
struct Station
{
    QTemporaryDir tmp;
    zelktest::HttpServer server;
    bool ready = false;

    Station()
    {
        const QString tone = tmp.filePath(QStringLiteral("station.mp3"));
        ready = zelktest::runTool(
            QStringLiteral("ffmpeg"),
            {QStringLiteral("-y"), QStringLiteral("-loglevel"), QStringLiteral("error"),
             QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
             QStringLiteral("sine=frequency=440:duration=30"), QStringLiteral("-ac"),
             QStringLiteral("2"), QStringLiteral("-ar"), QStringLiteral("44100"),
             QStringLiteral("-b:a"), QStringLiteral("128k"), tone});
        QFile f(tone);
        if (!ready || !f.open(QIODevice::ReadOnly))
            return;
        zelktest::Route stream{200, f.readAll().toStdString(), "audio/mpeg", false, true};
        stream.bytesPerSecond = 16000;
        server.setRoute("/station.mp3", stream);
        for (int n = 1; n <= 6; ++n)
            server.setRoute(
                "/rds" + std::to_string(n) + ".txt",
                zelktest::Route{200, "Artist - Title " + std::to_string(n), "text/plain"});
    }
    QString url(const std::string& path) const { return QString::fromStdString(server.url(path)); }

    // A data folder whose preset 1 is this station.
    QString prepareDataFolder()
    {
        const QString dataDir = tmp.filePath(QStringLiteral("Tovemark/Zelk_Quen/"));
        QDir().mkpath(dataDir);
        QStringList config = defaultConfigLines();
        config[cfg::Fullscreen] = QStringLiteral("true");
        config[cfg::RadioMode] = QStringLiteral("true");
        config[cfg::Volume] = QStringLiteral("50");
        for (int n = 1; n <= 6; ++n) {
            config[cfg::StationUrl1 - 1 + n] = url("/station.mp3");
            config[cfg::RdsUrl1 - 1 + n] = url("/rds" + std::to_string(n) + ".txt");
        }
        writeLineFile(dataDir + QStringLiteral("Radio.ini"), config);
        writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});
        return tmp.path();
    }
};

void startProgram(QProcess& program, const QString& appdata, const QString& display = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("appdata"), appdata);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), appdata);
    if (display.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
    }
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("zelk.desktop.debug=true"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZELK_BINARY), {});
    program.waitForStarted(10000);
}

void stop(QProcess& p)
{
    p.terminate();
    if (!p.waitForFinished(15000))
        p.kill();
}

} // namespace

static void BM_RadioAgainstMpv(benchmark::State& state)
{
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    Station station;
    if (mpv.isEmpty() || !station.ready) {
        state.SkipWithError("needs the mpv player and ffmpeg");
        return;
    }
    const int seconds = envNumber("ZELK_BENCH_SECONDS", 60);
    for (auto _ : state) {
        QProcess program;
        startProgram(program, station.prepareDataFolder());
        // Both start on the stream at the same moment: when the program, past
        // its boot, asks for it.
        station.server.waitForRequest("/station.mp3", 1, 30000);
        QProcess player;
        // The same audio output as the program's engine: the default one,
        // else none, without giving up.
        player.start(mpv,
                     {QStringLiteral("--no-video"), QStringLiteral("--no-terminal"),
                      QStringLiteral("--no-config"), QStringLiteral("--audio-fallback-to-null=yes"),
                      station.url("/station.mp3")});
        player.waitForStarted(10000);
        const ProcessStats programStart = statsOf(program.processId());
        QThread::sleep(static_cast<unsigned long>(seconds));
        const ProcessStats programEnd = statsOf(program.processId());
        const ProcessStats playerEnd = statsOf(player.processId());
        stop(player);
        stop(program);
        const double programCpu = programEnd.cpuSeconds - programStart.cpuSeconds;
        state.SetIterationTime(seconds);
        state.counters["program_cpu_s"] = programCpu;
        state.counters["mpv_cpu_s"] = playerEnd.cpuSeconds;
        state.counters["cpu_ratio"] =
            playerEnd.cpuSeconds > 0 ? programCpu / playerEnd.cpuSeconds : 0;
        state.counters["program_peak_MiB"] = programEnd.peakMiB;
        state.counters["mpv_peak_MiB"] = playerEnd.peakMiB;
        state.counters["peak_over_mpv_MiB"] = programEnd.peakMiB - playerEnd.peakMiB;
        std::printf("radio mode for %d s: CPU %.2f s against mpv's %.2f s (%.2fx); peak memory "
                    "%.1f MiB against mpv's %.1f MiB (mpv + %.1f MiB)\n",
                    seconds, programCpu, playerEnd.cpuSeconds,
                    playerEnd.cpuSeconds > 0 ? programCpu / playerEnd.cpuSeconds : 0.0,
                    programEnd.peakMiB, playerEnd.peakMiB, programEnd.peakMiB - playerEnd.peakMiB);
    }
}
BENCHMARK(BM_RadioAgainstMpv)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

static void BM_StartUntilTheBootPicture(benchmark::State& state)
{
    Station station;
    zelktest::XvfbDisplay display;
    if (!station.ready || !display.running()) {
        state.SkipWithError("needs ffmpeg and Xvfb");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QProcess program;
        program.setProcessChannelMode(QProcess::SeparateChannels);
        program.setReadChannel(QProcess::StandardError);
        startProgram(program, station.prepareDataFolder(), display.name());
        qint64 painted = -1;
        QByteArray log;
        while (painted < 0 && clock.elapsed() < 30000 && program.waitForReadyRead(1000)) {
            log += program.readAllStandardError();
            if (log.contains("first frame of the boot picture painted"))
                painted = clock.elapsed();
        }
        station.server.waitForRequest("/station.mp3", 1, 30000);
        QThread::msleep(1500); // the restore step and the first refreshes
        const ProcessStats afterBoot = statsOf(program.processId());
        stop(program);
        state.SetIterationTime(painted / 1000.0);
        state.counters["first_frame_ms"] = static_cast<double>(painted);
        state.counters["resident_after_boot_MiB"] = afterBoot.residentMiB;
    }
}
BENCHMARK(BM_StartUntilTheBootPicture)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

static void BM_MemoryOverALongLiveStream(benchmark::State& state)
{
    Station station;
    if (!station.ready) {
        state.SkipWithError("needs ffmpeg");
        return;
    }
    const int minutes = envNumber("ZELK_BENCH_MINUTES", 10);
    for (auto _ : state) {
        QProcess program;
        startProgram(program, station.prepareDataFolder());
        station.server.waitForRequest("/station.mp3", 1, 30000);
        // The first minute fills the caches; what comes after is growth.
        QThread::sleep(60);
        const ProcessStats settled = statsOf(program.processId());
        QThread::sleep(static_cast<unsigned long>(minutes) * 60 - 60);
        const ProcessStats end = statsOf(program.processId());
        stop(program);
        state.SetIterationTime(minutes * 60.0);
        state.counters["resident_at_1min_MiB"] = settled.residentMiB;
        state.counters["resident_at_end_MiB"] = end.residentMiB;
        state.counters["growth_MiB"] = end.residentMiB - settled.residentMiB;
    }
}
BENCHMARK(BM_MemoryOverALongLiveStream)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
