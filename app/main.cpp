#include "app/datadir.h"
#include "app/desktopservices.h"
#include "app/frontend.h"
#include "app/headunit.h"
#include "app/signals.h"

#include <QApplication>
#include <QMessageBox>
#include <clocale>
#include <unistd.h>

int main(int argc, char** argv)
{
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

    const QString dataDir = zelk::resolveDataDir();
    if (const auto error = zelk::prepareDataDir(dataDir)) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("ZelkRadio"), *error);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    auto dialogs = std::make_shared<zelk::WidgetDialogs>();
    zelk::HeadUnit unit(zelk::desktopServices(dialogs), dataDir);
    zelk::Frontend screens(unit);
    dialogs->setParentSource([&screens] { return screens.activeScreen(); });
    // Asked to end (SIGTERM, SIGINT, SIGHUP): the way of a closed window, at
    // once, even while an operation waits.
    zelk::closeOnTerminationSignals(
        [&unit] { unit.seq.run([&unit] { unit.closeScreen(zelk::ScreenId::Form1); }); });
    return app.exec();
}

#if defined(__SANITIZE_ADDRESS__)
// Leaks inside system libraries that the program cannot free: fontconfig's
// caches (reached through Qt's font database), SDL, which mpv loads, D-Bus,
// which Qt's X11 platform connects to, and the sanitizer runtime itself.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libSDL2-2.0.so\nleak:libdbus-1.so\nleak:libubsan.so\n";
}
#endif
