#include "app/commandline.h"
#include "app/datadir.h"
#include "app/desktopintegration.h"
#include "app/desktopservices.h"
#include "app/frontend.h"
#include "app/headunit.h"
#include "app/signals.h"
#include "platform/log.h"
#include "platform/sdljoysticks.h"
#include "screens/messagebox.h"

#include <QApplication>
#include <QDBusConnection>
#include <clocale>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    zelk::startClock();
    // Read before any window exists: --help and --version need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const zelk::CommandLine commandLine = zelk::parseCommandLine(arguments);
    if (commandLine.exitNow) {
        std::fputs(commandLine.out.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.err.toLocal8Bit().constData(), stderr);
        return commandLine.exitCode;
    }
    const zelk::Options& options = commandLine.options;

    // The web engine refuses to start as root unless its sandbox is off.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The web engine shares its drawing context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZelkRadio"));
    // Wayland compositors match windows to the installed desktop entry by it.
    QApplication::setDesktopFileName(QStringLiteral(ZELK_APP_ID));
    // The media engine needs the C numeric locale; QApplication has just set
    // the user's.
    std::setlocale(LC_NUMERIC, "C");
    // Asked to end (SIGTERM, SIGINT, SIGHUP): the way of a closed window, at
    // once, even while an operation waits.
    zelk::HeadUnit* running = nullptr;
    zelk::closeOnTerminationSignals([&running] {
        if (running)
            running->seq.run([running] { running->closeScreen(zelk::ScreenId::Form1); });
        else
            QCoreApplication::quit();
    });

    const QString dataDir = zelk::dataDirFrom(options.dataDir);
    if (const auto error = zelk::prepareDataDir(dataDir)) {
        zelk::HeadUnitMessage::run(*error, nullptr);
        return 1;
    }
    auto dialogs = std::make_shared<zelk::WidgetDialogs>();
    zelk::Services services = zelk::desktopServices(dialogs);
    services.makeJoysticks = [] { return std::make_unique<zelk::SdlJoysticks>(); };
    zelk::HeadUnit unit(std::move(services), dataDir);
    if (!options.updateServer.isEmpty())
        unit.update.server = options.updateServer;
    if (!options.stationDirectory.isEmpty())
        unit.directory.setServer(options.stationDirectory);
    zelk::Frontend screens(unit, options.screen);
    dialogs->setParentSource([&screens] { return screens.activeScreen(); });
    if (options.window)
        unit.chgWin();
    zelk::DesktopIntegration desktop(unit, QDBusConnection::sessionBus());
    running = &unit;
    const int status = app.exec();
    running = nullptr;
    return status;
}

#if defined(__SANITIZE_ADDRESS__)
// Leaks inside system libraries that the program cannot free: fontconfig's
// caches (reached through Qt's font database), SDL, which mpv loads, D-Bus,
// which Qt's X11 platform connects to, and the sanitizer runtime itself.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libSDL2-2.0.so\nleak:libdbus-1.so\nleak:libubsan.so\n"
           "leak:libQt6WebEngineCore.so\n";
}

// The web engine's own library frees some of its memory with a delete that
// does not match its allocation; that is none of this program's doing.
extern "C" const char* __asan_default_options()
{
    return "alloc_dealloc_mismatch=0:new_delete_type_mismatch=0";
}
#endif
