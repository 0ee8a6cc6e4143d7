#include "support/fakes.h"

#include <QApplication>
#include <QFile>

namespace zelktest {

void ensureApp()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zelk-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a QApplication torn down among the static destructors
    // at exit crashes in its font cache, whose thread storage is gone.
    static QApplication* app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

bool FakeDownloader::download(const QString& url, const QString& target)
{
    requested << url;
    auto it = files.constFind(url);
    if (it == files.constEnd())
        return false;
    QFile f(target);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(*it);
    return true;
}

void FakeDownloader::downloadAll(const QList<std::pair<QString, QString>>& urlAndTarget)
{
    for (const auto& [url, target] : urlAndTarget)
        download(url, target);
}

zelk::Services FakeServices::services(std::shared_ptr<zelk::Downloader> realDownloader)
{
    zelk::Services s;
    auto log = player;
    s.makePlayer = [log] {
        ++log->created;
        return std::make_unique<FakePlayer>(log);
    };
    s.downloader = realDownloader ? realDownloader : downloader;
    s.installerDownloader = s.downloader;
    s.dialogs = dialogs;
    s.sleeper = sleeper;
    s.shell = shell;
    s.quit = [this] { ++quits; };
    return s;
}

} // namespace zelktest

#if defined(__SANITIZE_ADDRESS__)
// Leaks inside system libraries that the program cannot free: fontconfig's
// caches (reached through Qt's font database) and SDL, which mpv loads.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libSDL2-2.0.so\n";
}
#endif
