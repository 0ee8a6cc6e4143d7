// Wheel buttons: from a press on a device to the bound operation, and what
// reading the devices costs while nothing is pressed. The device is SDL's
// virtual joystick, which goes through SDL's real event path.

#include "app/sequencer.h"
#include "controls/wheelbuttons.h"
#include "platform/sdljoysticks.h"
#include "support/fakes.h"
#include "support/virtualwheel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <optional>

using namespace zelk;

namespace {

double cpuSeconds()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

// Sleeps in the event loop, as the program's own loop does between events.
void runLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

// Press to the operation, as the unit's own reading of the devices delivers
// it (no extra pumping), from a device that has waited quietly: the waiting
// interval bounds it.
static void BM_PressToOperation(benchmark::State& state)
{
    zelktest::ensureCoreApp();
    QTemporaryDir dir;
    Sequencer seq(std::make_shared<zelktest::FakeDialogs>());
    SdlJoysticks sdl;
    int ran = 0;
    QEventLoop* waiting = nullptr;
    WheelButtons::Operations ops;
    for (auto& op : ops)
        op = [&ran, &waiting] {
            ++ran;
            if (waiting)
                waiting->quit();
        };
    WheelButtons wheel(seq, &sdl, dir.filePath(QStringLiteral("Buttons.ini")), ops);
    zelktest::VirtualWheel js("Bench Wheel");
    if (!js.ok()) {
        state.SkipWithError("no virtual joystick");
        return;
    }
    runLoopFor(600); // the device is found
    wheel.beginCapture(WheelAction::Mute);
    js.button(4, true);
    runLoopFor(100);
    js.button(4, false);
    runLoopFor(100);
    for (auto _ : state) {
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        QElapsedTimer t;
        t.start();
        js.button(4, true);
        loop.exec();
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        waiting = nullptr;
        js.button(4, false);
        runLoopFor(SdlJoysticks::kActiveForMs + 200); // released and quiet again
    }
}
BENCHMARK(BM_PressToOperation)->UseManualTime()->Iterations(12)->Unit(benchmark::kMillisecond);

// CPU time per wall time while the loop only reads the devices: with a
// wheel attached and idle, and with no device at all.
static void BM_IdleCost(benchmark::State& state)
{
    zelktest::ensureCoreApp();
    const bool attached = state.range(0) != 0;
    const int seconds = qEnvironmentVariableIntValue("ZELK_BENCH_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("ZELK_BENCH_SECONDS")
                            : 20;
    SdlJoysticks sdl;
    std::optional<zelktest::VirtualWheel> js;
    if (attached)
        js.emplace("Bench Wheel");
    runLoopFor(700);
    double percent = 0;
    for (auto _ : state) {
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runLoopFor(seconds * 1000);
        percent = 100.0 * (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
    }
    state.counters["percent_of_one_core"] = percent;
    state.counters["devices"] = double(sdl.devices().size());
}
BENCHMARK(BM_IdleCost)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
