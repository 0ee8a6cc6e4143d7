#pragma once
// Fakes of the platform services, for tests about the logic above them.

#include "platform/joysticks.h"
#include "platform/download.h"
#include "platform/errors.h"
#include "platform/mediaplayer.h"
#include "platform/serverlookup.h"
#include "platform/services.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace zelktest {

// The one QCoreApplication of a core test program.
void ensureCoreApp();
// Lets the event loop deliver what is posted (download ends, queued calls).
void settle();
// Runs the event loop, sleeping in it while there is nothing to do, until
// `done` holds or the time is up; returns `done`. Work that arrives through
// the loop (the web engine's) must not be spun past.
bool loopUntil(const std::function<bool()>& done, int timeoutMs = 20000, int pollMs = 5);

struct PlayerLog
{
    QStringList urls; // every setUrl
    int plays = 0;
    int stops = 0;
    int pauses = 0;
    int nexts = 0;
    int previouses = 0;
    QList<int> volumes; // every setVolume, as given
    int created = 0;
    // Calls named here throw as a refused engine call would ("play", ...).
    QSet<QString> failing;
    // The current item (music mode): its name, whether one is open, whether
    // one is on its way, and how many the source has.
    QString itemName;
    bool hasItem = true;
    bool opening = false;
    int count = 1;
    QString position = QStringLiteral("00:00");
    double positionSeconds = 0;
    double duration = 0;
    // A playlist to step through: setUrl goes to its first item, next and
    // previous move along it (nothing at either end). With `stepsOpen` a
    // step leaves the new item opening until open() is called.
    QStringList items;
    int index = 0;
    bool stepsOpen = false;
    void step(int delta)
    {
        if (items.isEmpty() || index + delta < 0 || index + delta >= items.size())
            return;
        index += delta;
        itemName = items[index];
        opening = stepsOpen;
    }
    zelk::MediaPlayer::State state = zelk::MediaPlayer::State::Stopped;
    QString streamTitle;
    std::function<void()> streamTitleChanged;
    // Plays the part of the engine: the station sends a new title.
    void sendStreamTitle(const QString& title)
    {
        streamTitle = title;
        if (streamTitleChanged)
            streamTitleChanged();
    }
    // Plays the part of the engine: the item has been opened.
    std::function<void()> itemOpened;
    void open(const QString& name)
    {
        itemName = name;
        hasItem = true;
        opening = false;
        if (itemOpened)
            itemOpened();
    }
};

class FakePlayer : public zelk::MediaPlayer
{
public:
    explicit FakePlayer(std::shared_ptr<PlayerLog> log) : m_log(std::move(log)) {}
    void setUrl(const QString& url) override
    {
        check("setUrl");
        m_url = url;
        m_log->urls << url;
        m_log->state = State::Stopped;
        m_log->streamTitle.clear();
        if (!m_log->items.isEmpty()) {
            m_log->index = 0;
            m_log->itemName = m_log->items.first();
            m_log->count = static_cast<int>(m_log->items.size());
        }
    }
    QString url() const override { return m_url; }
    void play() override
    {
        check("play");
        ++m_log->plays;
        m_log->state = State::Playing;
    }
    void stop() override
    {
        check("stop");
        ++m_log->stops;
        m_log->state = State::Stopped;
    }
    void pause() override
    {
        check("pause");
        ++m_log->pauses;
        if (m_log->state == State::Playing)
            m_log->state = State::Paused;
    }
    void next() override
    {
        check("next");
        ++m_log->nexts;
        m_log->step(+1);
    }
    void previous() override
    {
        check("previous");
        ++m_log->previouses;
        m_log->step(-1);
    }
    QString currentItemName() const override
    {
        return m_log->hasItem && !m_log->opening ? m_log->itemName : QString();
    }
    bool hasCurrentItem() const override { return m_log->hasItem && !m_log->opening; }
    bool isOpening() const override { return m_log->opening; }
    int playlistCount() const override { return m_log->count; }
    void setItemOpenedHandler(std::function<void()> handler) override
    {
        m_log->itemOpened = std::move(handler);
    }
    State state() const override { return m_log->state; }
    QString streamTitle() const override { return m_log->streamTitle; }
    void setStreamTitleHandler(std::function<void()> handler) override
    {
        m_log->streamTitleChanged = std::move(handler);
    }
    QString currentPositionString() const override { return m_log->position; }
    double currentPosition() const override { return m_log->positionSeconds; }
    double currentMediaDuration() const override { return m_log->duration; }
    void setVolume(int v) override
    {
        check("setVolume");
        m_log->volumes << v;
        m_volume = std::clamp(v, 0, 100);
    }
    int volume() const override { return m_volume; }

private:
    void check(const char* call) const
    {
        if (m_log->failing.contains(QLatin1String(call)))
            throw zelk::OperationError(
                QStringLiteral("The media player refused %1.").arg(QLatin1String(call)));
    }
    std::shared_ptr<PlayerLog> m_log;
    QString m_url;
    int m_volume = 100;
};

// Serves addresses from a table: an address in `files` writes that content
// (verified when the address is https), every other address fails and
// leaves the target as it was. A batch ends on
// the next turn of the event loop, or when finish() says so.
class FakeDownloader : public zelk::Downloader
{
public:
    QHash<QString, QByteArray> files;
    QStringList requested;
    // Whether each request asked past the caches, in the order of `requested`.
    QList<bool> fresh;
    QList<zelk::DownloadLimits> limits;
    QList<Batch> cancelled;
    int cacheClears = 0;
    // Off: batches wait for finish().
    bool autoFinish = true;

    Batch fetch(const QList<zelk::DownloadJob>& jobs, const zelk::DownloadLimits& limits,
                Done done) override;
    void cancel(Batch batch) override;
    void clearUrlCache() override
    {
        ++cacheClears;
        m_bypass = true;
    }
    // Ends every batch that has not ended.
    void finish();
    int pending() const { return static_cast<int>(m_pending.size()); }

private:
    struct Pending
    {
        Batch id;
        QList<zelk::DownloadJob> jobs;
        Done done;
    };
    void complete(Batch id);
    QList<Pending> m_pending;
    Batch m_last = 0;
    bool m_bypass = false;
    // The context of the batches' endings: a fake that is gone (its test has
    // ended) ends none of them on a later turn of the event loop.
    QObject m_alive;
};

class FakeDialogs : public zelk::Dialogs
{
public:
    QStringList infos;
    QStringList errors;
    // Runs while a box "is open", as the nested event loop would run timers.
    std::function<void()> whileOpen;

    void information(const QString& text) override
    {
        infos << text;
        if (whileOpen)
            whileOpen();
    }
    void error(const QString& text) override { errors << text; }
};

class FakeShell : public zelk::Shell
{
public:
    QStringList opened;
    QString browser;
    QList<QStringList> started; // program, then its arguments
    QString clipboard;

    bool open(const QString& path) override
    {
        opened << path;
        return true;
    }
    QString findDefaultBrowser() override { return browser; }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList{program} + arguments);
        return true;
    }
    QString clipboardText() override { return clipboard; }
};

// Finds the hosts it is given, on the next turn of the event loop.
class FakeServerLookup : public zelk::ServerLookup
{
public:
    QStringList hosts;
    int lookups = 0;
    void lookup(Done done) override;

private:
    QObject m_alive;
};

struct FakeServices
{
    // The wheels and button boxes, when a test wants them.
    std::function<std::unique_ptr<zelk::JoystickSource>()> makeJoysticks;
    std::shared_ptr<FakeServerLookup> stationServers = std::make_shared<FakeServerLookup>();
    std::shared_ptr<PlayerLog> player = std::make_shared<PlayerLog>();
    std::shared_ptr<FakeDownloader> downloader = std::make_shared<FakeDownloader>();
    std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    int quits = 0;

    // Services backed by these fakes (the downloader may be a real one).
    zelk::Services services(std::shared_ptr<zelk::Downloader> realDownloader = nullptr);
};

} // namespace zelktest
