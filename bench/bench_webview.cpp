// The web view's cost: resident memory of the program together with the web
// engine's helper processes, at start, with a page shown and after back, and
// the time from the navigation tile to the first painted page, once with the
// browser view made at start and once made at the first page (the program's
// way). Each variant runs in a fresh copy of this program, since the engine
// starts once per process.

#include "app/frontend.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "support/httpserver.h"
#include "support/ui/screens_fixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace zelk;

namespace {

// Resident memory in KiB of `pid` and all processes below it.
qint64 residentTreeKiB(qint64 pid)
{
    QHash<qint64, qint64> parentOf;
    QHash<qint64, qint64> rss;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& e : entries) {
        bool ok = false;
        const qint64 p = e.toLongLong(&ok);
        if (!ok)
            continue;
        QFile status(QStringLiteral("/proc/%1/status").arg(p));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLatin1(status.readAll());
        static const QRegularExpression ppid(QStringLiteral("PPid:\\s+(\\d+)"));
        static const QRegularExpression vmrss(QStringLiteral("VmRSS:\\s+(\\d+)"));
        parentOf[p] = ppid.match(text).captured(1).toLongLong();
        rss[p] = vmrss.match(text).captured(1).toLongLong();
    }
    qint64 total = 0;
    for (auto it = rss.cbegin(); it != rss.cend(); ++it) {
        for (qint64 p = it.key(); p > 1; p = parentOf.value(p, 0)) {
            if (p == pid) {
                total += it.value();
                break;
            }
        }
    }
    return total;
}

using zelktest::loopUntil;

void settleFor(int ms)
{
    loopUntil([] { return false; }, ms);
}

// One variant, in this process: prints the figures as key=value lines.
int measure(bool eager)
{
    zelktest::ensureGuiApp();
    QTemporaryDir tmp;
    const QString dataDir = tmp.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
    prepareDataDir(dataDir);
    zelktest::HttpServer server;
    server.setRoute("/map.html", {200,
                                  "<html><body style='margin:0;background:#123456'>"
                                  "<h1 style='color:white'>Karte</h1></body></html>",
                                  "text/html"});
    zelktest::FakeServices fake;
    HeadUnit unit(fake.services(), dataDir);
    unit.stopanytimer();
    Frontend screens(unit);
    unit.settings.live.URL.set(QString::fromStdString(server.url("/map.html")));
    if (eager)
        screens.Form3->browser();
    screens.Form2->show();
    settleFor(3000);
    const qint64 self = QCoreApplication::applicationPid();
    const qint64 atStart = residentTreeKiB(self);

    QElapsedTimer clock;
    clock.start();
    unit.menu.butNavi_click();
    QWidget* view = screens.Form3->Chromium1;
    // First painted page: the page's own colour fills the view.
    const QRgb page = qRgb(0x12, 0x34, 0x56);
    const bool painted = loopUntil(
        [&] {
            const QImage shot = view->grab().toImage();
            return !shot.isNull() && shot.pixel(shot.width() - 5, shot.height() - 5) == page;
        },
        20000, 2);
    const qint64 tapToPaint = clock.elapsed();
    settleFor(2000);
    const qint64 withPage = residentTreeKiB(self);
    unit.web.butback_click();
    settleFor(3000);
    const qint64 afterBack = residentTreeKiB(self);
    std::printf("painted=%d\ntap_to_paint_ms=%lld\nrss_start_mib=%.1f\nrss_page_mib=%.1f\n"
                "rss_back_mib=%.1f\n",
                painted ? 1 : 0, static_cast<long long>(tapToPaint), atStart / 1024.0,
                withPage / 1024.0, afterBack / 1024.0);
    std::fflush(stdout);
    return painted ? 0 : 1;
}

std::string g_self;

void runVariant(benchmark::State& state, const char* variant)
{
    for (auto _ : state) {
        QProcess child;
        child.start(QString::fromStdString(g_self), {QStringLiteral("--measure=%1").arg(variant)});
        if (!child.waitForFinished(120000) || child.exitCode() != 0) {
            state.SkipWithError("the measuring run failed");
            return;
        }
        double seconds = 0;
        const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n');
        for (const QString& line : lines) {
            const QStringList kv = line.split('=');
            if (kv.size() != 2)
                continue;
            if (kv[0] == QLatin1String("tap_to_paint_ms"))
                seconds = kv[1].toDouble() / 1000.0;
            if (kv[0] != QLatin1String("painted"))
                state.counters[kv[0].toStdString()] = kv[1].toDouble();
        }
        state.SetIterationTime(seconds);
    }
}

} // namespace

static void BM_WebView_MadeAtFirstPage(benchmark::State& state)
{
    runVariant(state, "lazy");
}
BENCHMARK(BM_WebView_MadeAtFirstPage)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

static void BM_WebView_MadeAtStart(benchmark::State& state)
{
    runVariant(state, "eager");
}
BENCHMARK(BM_WebView_MadeAtStart)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--measure=", 10) == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return measure(std::strcmp(argv[i] + 10, "eager") == 0);
        }
    }
    g_self = argv[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
