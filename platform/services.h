#pragma once
// The platform services the screens use, handed in from outside so that
// tests can replace them. The real implementations are in platform/.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace zelk {

class MediaPlayer;
class Downloader;

// Modal message boxes with an OK button. They run a nested event loop: the
// program's timers keep firing while one is open.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The report of an operation that failed.
    virtual void error(QWidget* parent, const QString& text) = 0;
};

// Blocking waits on the calling thread.
class Sleeper
{
public:
    virtual ~Sleeper() = default;
    virtual void sleep(int milliseconds) = 0;
};

// Opens a file or address with the desktop's default program.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool open(const QString& pathOrUrl) = 0;
};

struct Services
{
    std::function<std::unique_ptr<MediaPlayer>()> makePlayer;
    // Small text files (version file, station texts): short timeouts.
    std::shared_ptr<Downloader> downloader;
    // The installer: larger and allowed to take longer.
    std::shared_ptr<Downloader> installerDownloader;
    std::shared_ptr<Dialogs> dialogs;
    std::shared_ptr<Sleeper> sleeper;
    std::shared_ptr<Shell> shell;
    // Ends the program (the real one quits the event loop).
    std::function<void()> quit;
};

// The real services of the running program.
Services realServices();

} // namespace zelk
