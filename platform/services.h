#pragma once
// The platform services the program's logic uses, handed in from outside so
// that tests can replace them. None of them needs the widgets.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zelk {

class MediaPlayer;
class Downloader;
class JoystickSource;
class HttpGetter;
class ServerLookup;

// Modal message boxes with an OK button. They run a nested event loop: the
// program's timers keep firing while one is open.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual void information(const QString& text) = 0;
    // The report of an operation that failed.
    virtual void error(const QString& text) = 0;
};

// The desktop around the program.
class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a file or address with the desktop's default program.
    virtual bool open(const QString& pathOrUrl) = 0;
    // Full path of the program the desktop opens web pages with; empty when
    // there is none.
    virtual QString findDefaultBrowser() = 0;
    // Starts `program` with `arguments` in a normal window, detached from
    // this program; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // The text on the clipboard; empty when it holds none.
    virtual QString clipboardText() = 0;
};

struct Services
{
    // Creates the one media player; throws OperationError when it cannot.
    std::function<std::unique_ptr<MediaPlayer>()> makePlayer;
    std::shared_ptr<Downloader> downloader;
    // Small answers into memory (the station directory, logos); a real one
    // on Qt's network when left empty.
    std::shared_ptr<HttpGetter> http;
    // The station directory's servers; the DNS SRV lookup when left empty.
    std::shared_ptr<ServerLookup> stationServers;
    std::shared_ptr<Dialogs> dialogs;
    std::shared_ptr<Shell> shell;
    // The wheels and button boxes; none when unset.
    std::function<std::unique_ptr<JoystickSource>()> makeJoysticks;
    // Ends the program (the real one quits the event loop).
    std::function<void()> quit;
};

} // namespace zelk
