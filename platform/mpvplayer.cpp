#include "platform/mpvplayer.h"

#include "music/playlist.h"
#include "platform/errors.h"
#include "platform/log.h"
#include "platform/rtflines.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include <mpv/client.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <utility>

namespace zelk {

namespace {

// A station that played this long before it dropped counts as recovered: the
// next reconnect starts again at the first delay.
constexpr qint64 kRecoveredAfterMs = 20000;

// Each engine call takes some microseconds: a long list is handed over in
// slices of at most this much UI-thread time, one slice per event-loop turn.
constexpr qint64 kHandOverSliceNs = 2'000'000;

// Any scheme:// address except file:// is read over the network.
bool isNetworkAddress(const QString& url)
{
    const qsizetype sep = url.indexOf(u"://");
    if (sep < 2)
        return false;
    const QUrl parsed(url);
    return parsed.isValid() && parsed.scheme().size() >= 2 &&
           parsed.scheme().compare(u"file", Qt::CaseInsensitive) != 0;
}

QString localPath(const QString& pathOrUrl)
{
    return pathOrUrl.startsWith(u"file://", Qt::CaseInsensitive) ? QUrl(pathOrUrl).toLocalFile()
                                                                 : pathOrUrl;
}

class MpvPlayer final : public QObject, public MediaPlayer
{
public:
    explicit MpvPlayer(const MpvOptions& options);
    ~MpvPlayer() override;

    void setUrl(const QString& url) override;
    QString url() const override { return m_url; }
    void play() override;
    void stop() override;
    void pause() override;
    void next() override;
    void previous() override;
    QString currentItemName() const override;
    bool hasCurrentItem() const override { return m_itemLoaded && !isIdle(); }
    bool isOpening() const override { return m_opening; }
    int playlistCount() const override;
    void setItemOpenedHandler(std::function<void()> handler) override
    {
        m_onItemOpened = std::move(handler);
    }
    State state() const override;
    QString streamTitle() const override { return m_streamTitle; }
    void setStreamTitleHandler(std::function<void()> handler) override
    {
        m_onStreamTitle = std::move(handler);
    }
    QString currentPositionString() const override;
    double currentPosition() const override;
    double currentMediaDuration() const override;
    void setVolume(int volume) override;
    int volume() const override;

private:
    static void wakeup(void* self);
    void drainEvents();
    void onEndFile(const mpv_event_end_file& end);
    void onIdle();
    void itemOpened();
    void load();
    void sourceRead(quint64 generation, LocalSource source);
    void handOverSlice();
    // Appends the next item not yet handed to the engine; false when none.
    bool handOverOne();
    qsizetype itemsToHand() const { return m_items.size() - m_handedOver; }
    void dropList();
    bool playOnAfterEnd();
    void reconnect();
    void cancelReconnect();
    int firstReconnectDelay() const { return std::max(1, m_options.reconnectFirstDelayMs); }
    void step(const char* command);

    int command(std::initializer_list<QByteArray> args);
    // A command the operation depends on: a refusal ends the operation.
    void mustCommand(std::initializer_list<QByteArray> args);
    QString stringProperty(const char* name) const;
    bool flagProperty(const char* name) const;
    bool doubleProperty(const char* name, double* value) const;
    void setFlag(const char* name, bool value);
    bool isIdle() const { return flagProperty("idle-active"); }

    const MpvOptions m_options;
    mpv_handle* m_mpv = nullptr;
    std::atomic<bool> m_drainPosted{false};

    QString m_url;
    bool m_isStation = false;  // a network stream, not a playlist file
    bool m_loaded = false;     // m_url went to mpv since the last setUrl()/stop()
    bool m_wantsSound = false; // play() called, no stop()/pause()/setUrl() since
    bool m_itemLoaded = false; // mpv opened the current item
    bool m_opening = false;    // an item is on its way in
    std::function<void()> m_onItemOpened;
    QString m_streamTitle;
    std::function<void()> m_onStreamTitle;
    void readStreamTitle();
    void setStreamTitle(const QString& title);
    bool m_ended = false;                 // an item ended and no other has started since
    QHash<QString, QString> m_listTitles; // titles the playlist file gives, by location

    // A local source is read on a worker thread. Its result counts only when
    // m_generation has not moved on since (setUrl, stop, another load).
    quint64 m_generation = 0;
    bool m_reading = false;
    bool m_engineStopped = false; // "stop" is the last command the engine got
    bool m_enginePaused = false;  // pause as last set; only this player sets it
    // The token the worker's result checks for: gone once the player is.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    // The items of the playlist read last; the first m_handedOver of them
    // are in the engine's list, the rest follow slice by slice.
    QList<PlaylistItem> m_items;
    qsizetype m_handedOver = 0;
    QTimer m_handOverTimer;
    QElapsedTimer m_handOverClock;
    bool m_endedByItself = false; // the last item ended at its end or failed
    int64_t m_lastEndedEntryId = -1;
    int m_volume = 100;

    QTimer m_reconnectTimer;
    bool m_reconnectWanted = false; // the station ended; reconnect once mpv is idle
    int m_reconnectDelayMs = 0;
    QElapsedTimer m_playingSince;
};

MpvPlayer::MpvPlayer(const MpvOptions& options)
    : m_options(options), m_reconnectDelayMs(std::max(1, options.reconnectFirstDelayMs))
{
    // QApplication sets the locale from the environment; mpv refuses to
    // start when numbers would not be written with a '.'.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv)
        throw OperationError(QStringLiteral("The media player could not be created."));

    struct Option
    {
        const char* name;
        QByteArray value;
        bool required;
    };
    QList<Option> opts{
        {"vid", "no", true},
        {"idle", "yes", true},
        {"terminal", "no", true},
        {"config", "no", true},
        {"load-scripts", "no", true},
        {"ytdl", "no", true},
        {"input-default-bindings", "no", true},
        {"input-vo-keyboard", "no", false},
        {"osc", "no", false}, // only there when mpv was built with Lua
        {"audio-display", "no", true},
        {"audio-fallback-to-null", "yes", true},
        {"audio-client-name", "ZelkRadio", false},
        {"network-timeout", QByteArray::number(std::max(1, options.networkTimeoutSeconds)), true},
        // A live stream never ends: without caps the read-ahead and the
        // kept-back buffer would grow for hours.
        {"cache", "yes", true},
        {"cache-secs", "10", true},
        {"demuxer-max-bytes", "4MiB", true},
        {"demuxer-max-back-bytes", "1MiB", true},
        {"keep-open", "no", true},
    };
    if (!options.audioOutput.isEmpty())
        opts.append({"ao", options.audioOutput.toUtf8(), true});
    for (const Option& o : opts) {
        if (mpv_set_option_string(m_mpv, o.name, o.value.constData()) < 0 && o.required) {
            mpv_terminate_destroy(m_mpv);
            throw OperationError(QStringLiteral("The media player rejected the setting %1=%2.")
                                     .arg(QLatin1StringView(o.name), QString::fromUtf8(o.value)));
        }
    }
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        throw OperationError(QStringLiteral("The media player could not be started."));
    }
    mpv_observe_property(m_mpv, 0, "idle-active", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, 0, "metadata", MPV_FORMAT_NONE);
    double initialVolume = m_volume;
    mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &initialVolume);

    m_reconnectTimer.setSingleShot(true);
    QObject::connect(&m_reconnectTimer, &QTimer::timeout, this, [this] { reconnect(); });
    m_handOverTimer.setSingleShot(true);
    m_handOverTimer.setInterval(0);
    QObject::connect(&m_handOverTimer, &QTimer::timeout, this, [this] { handOverSlice(); });
    mpv_set_wakeup_callback(m_mpv, &MpvPlayer::wakeup, this);
}

MpvPlayer::~MpvPlayer()
{
    // After this returns mpv calls wakeup() no more; posted drains die with
    // this object.
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

// Runs on an mpv thread: only posts to the thread owning the player.
void MpvPlayer::wakeup(void* self)
{
    auto* player = static_cast<MpvPlayer*>(self);
    if (!player->m_drainPosted.exchange(true))
        QMetaObject::invokeMethod(
            player, [player] { player->drainEvents(); }, Qt::QueuedConnection);
}

void MpvPlayer::drainEvents()
{
    // Cleared first: a wakeup during the drain posts the next one.
    m_drainPosted = false;
    while (true) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            return;
        case MPV_EVENT_START_FILE:
            m_itemLoaded = false;
            m_opening = true;
            m_ended = false;
            m_endedByItself = false;
            m_reconnectWanted = false;
            m_reconnectTimer.stop();
            break;
        case MPV_EVENT_FILE_LOADED:
            m_itemLoaded = true;
            itemOpened();
            m_playingSince.start();
            break;
        case MPV_EVENT_END_FILE:
            onEndFile(*static_cast<const mpv_event_end_file*>(event->data));
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* prop = static_cast<const mpv_event_property*>(event->data);
            if (std::strcmp(prop->name, "idle-active") == 0 && prop->format == MPV_FORMAT_FLAG &&
                *static_cast<const int*>(prop->data))
                onIdle();
            else if (std::strcmp(prop->name, "metadata") == 0)
                readStreamTitle();
            break;
        }
        default:
            break;
        }
    }
}

void MpvPlayer::onEndFile(const mpv_event_end_file& end)
{
    // A station list (.m3u/.pls address) is replaced by its entries: no end.
    if (end.reason == MPV_END_FILE_REASON_REDIRECT)
        return;
    m_itemLoaded = false;
    m_ended = true;
    m_endedByItself =
        end.reason == MPV_END_FILE_REASON_EOF || end.reason == MPV_END_FILE_REASON_ERROR;
    m_lastEndedEntryId = end.playlist_entry_id;
    if (end.reason == MPV_END_FILE_REASON_ERROR) {
        qCInfo(lcPlayer).noquote()
            << "cannot play" << m_url << "-" << QString::fromUtf8(mpv_error_string(end.error));
        if (m_opening)
            itemOpened(); // it could not be opened
    }
    const bool dropped =
        end.reason == MPV_END_FILE_REASON_EOF || end.reason == MPV_END_FILE_REASON_ERROR;
    if (!dropped || !m_isStation || !m_loaded || !m_wantsSound)
        return;
    if (m_playingSince.isValid() && m_playingSince.elapsed() >= kRecoveredAfterMs)
        m_reconnectDelayMs = firstReconnectDelay();
    m_playingSince.invalidate();
    // A station list with more entries goes on with the next one (START_FILE
    // clears this); only when mpv falls idle is the station gone. The idle
    // notice may have been handled before this event.
    m_reconnectWanted = true;
    if (isIdle())
        onIdle();
}

void MpvPlayer::itemOpened()
{
    m_opening = false;
    if (m_onItemOpened)
        m_onItemOpened();
}

void MpvPlayer::onIdle()
{
    // The notice may come late, after a command that has set mpv going
    // again: only a player that is idle now has stopped.
    // While a local source is read, the engine is idle by design.
    if (!isIdle() || m_reading)
        return;
    m_itemLoaded = false;
    if (m_endedByItself && m_wantsSound && m_loaded && m_handedOver > 0 && playOnAfterEnd())
        return;
    if (m_opening)
        itemOpened(); // nothing more to open
    if (!m_reconnectWanted || m_reconnectTimer.isActive())
        return;
    m_reconnectWanted = false;
    qCInfo(lcPlayer).noquote() << "station" << m_url << "dropped; trying again in"
                               << m_reconnectDelayMs << "ms";
    m_reconnectTimer.start(m_reconnectDelayMs);
    m_reconnectDelayMs = std::min(m_reconnectDelayMs * 2,
                                  std::max(m_options.reconnectMaxDelayMs, m_reconnectDelayMs));
}

// The engine fell idle after an item of a playlist that is still being
// handed over: either the item was the last one handed so far, or the items
// after it arrived just too late. Either way the list goes on.
bool MpvPlayer::playOnAfterEnd()
{
    int64_t count = 0;
    if (mpv_get_property(m_mpv, "playlist-count", MPV_FORMAT_INT64, &count) < 0)
        return false;
    // Only the last items handed over can have been outrun.
    constexpr int64_t kLookBack = 1000;
    int64_t ended = -1;
    for (int64_t i = count - 1; i >= 0 && i >= count - kLookBack; --i) {
        int64_t id = -1;
        const QByteArray name = "playlist/" + QByteArray::number(i) + "/id";
        if (mpv_get_property(m_mpv, name.constData(), MPV_FORMAT_INT64, &id) >= 0 &&
            id == m_lastEndedEntryId) {
            ended = i;
            break;
        }
    }
    if (ended < 0 || (ended + 1 >= count && !handOverOne()))
        return false;
    m_endedByItself = false;
    m_opening = true;
    if (command({"playlist-play-index", QByteArray::number(ended + 1)}) < 0) {
        m_opening = false;
        return false;
    }
    return true;
}

void MpvPlayer::reconnect()
{
    if (m_wantsSound && m_loaded && m_isStation) {
        qCInfo(lcPlayer).noquote() << "reconnecting to" << m_url;
        command({"loadfile", m_url.toUtf8(), "replace"});
    }
}

void MpvPlayer::cancelReconnect()
{
    m_reconnectWanted = false;
    m_reconnectTimer.stop();
}

void MpvPlayer::setUrl(const QString& url)
{
    stop();
    setStreamTitle(QString());
    m_url = url;
    m_isStation = isNetworkAddress(url) && !isPlaylistFile(url);
    m_reconnectDelayMs = firstReconnectDelay();
}

void MpvPlayer::play()
{
    if (m_url.isEmpty())
        return;
    // Asked only of a loaded source: every engine query waits for the
    // engine, which may still be dropping the last list.
    const bool paused = m_loaded && flagProperty("pause");
    // Already playing (or opening) this source: nothing to do, as the radio
    // screen asks to play again after every tune.
    if (m_loaded && m_wantsSound && !paused && !m_ended)
        return;
    const bool resume = m_loaded && paused && (m_reading || !isIdle());
    m_wantsSound = true;
    if (resume) {
        setFlag("pause", false);
        return;
    }
    load();
}

// Loads the source from its start and plays it. A local file is read on a
// worker thread first, as it may be a playlist (whatever its name) of a
// whole music library; sourceRead() goes on with it.
void MpvPlayer::load()
{
    cancelReconnect();
    m_reconnectDelayMs = firstReconnectDelay();
    m_itemLoaded = false;
    m_ended = false;
    // pause is sticky in mpv: a file loaded while paused stays paused.
    setFlag("pause", false);
    dropList();
    m_opening = true;
    m_loaded = true;
    if (isNetworkAddress(m_url)) {
        m_engineStopped = false;
        mustCommand({"loadfile", m_url.toUtf8(), "replace"});
        return;
    }
    // Silence while the file is read: the old source is done with. Every
    // engine call waits for the engine, and dropping a long list takes it
    // tens of milliseconds: a source stopped already is not stopped again.
    if (!m_engineStopped)
        mustCommand({"stop"});
    m_engineStopped = false;
    m_reading = true;
    const quint64 generation = m_generation;
    const QString path = localPath(m_url);
    const std::weak_ptr<int> alive = m_alive;
    QThreadPool::globalInstance()->start([this, alive, generation, path] {
        auto source = std::make_shared<LocalSource>(readLocalSource(path));
        // `this` is touched only on its own thread, and only while it lives.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, alive, generation, source] {
                if (alive.lock())
                    sourceRead(generation, std::move(*source));
            },
            Qt::QueuedConnection);
    });
}

void MpvPlayer::sourceRead(quint64 generation, LocalSource source)
{
    if (generation != m_generation || !m_reading)
        return;
    m_reading = false;
    // This runs from the event loop, where no caller can take an error: the
    // engine's refusal is logged, and the source counts as not openable.
    const auto start = [this](std::initializer_list<QByteArray> args) {
        if (const int error = command(args); error < 0) {
            qCWarning(lcPlayer).noquote() << "the engine refused" << *args.begin() << "for" << m_url
                                          << "-" << QString::fromUtf8(mpv_error_string(error));
            itemOpened();
        }
    };
    if (!source.isPlaylist) {
        start({"loadfile", localPath(m_url).toUtf8(), "replace"});
        return;
    }
    if (source.items.isEmpty()) {
        qCInfo(lcPlayer).noquote() << "playlist" << m_url << "has no item to play";
        itemOpened(); // nothing in it to open
        return;
    }
    m_items = std::move(source.items);
    m_handOverClock.start();
    // A first slice goes before playback starts, so that a short list is
    // whole before its first item can have failed; the rest follows while
    // the first item plays. "append-play" into an idle player does not
    // start it; playing by index does.
    handOverSlice();
    start({"playlist-play-index", "0"});
}

bool MpvPlayer::handOverOne()
{
    if (itemsToHand() <= 0)
        return false;
    const PlaylistItem& item = m_items.at(m_handedOver++);
    // Runs from timers and events: a refusal costs this item, not the list.
    if (const int error = command({"loadfile", item.location.toUtf8(), "append"}); error < 0) {
        qCWarning(lcPlayer).noquote() << "the engine refused the item" << item.location << "-"
                                      << QString::fromUtf8(mpv_error_string(error));
        return true;
    }
    if (!item.title.isEmpty())
        m_listTitles.insert(item.location, item.title);
    return true;
}

void MpvPlayer::handOverSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (slice.nsecsElapsed() < kHandOverSliceNs && handOverOne()) {
    }
    if (itemsToHand() > 0) {
        m_handOverTimer.start();
        return;
    }
    if (m_items.size() >= 1000)
        qCInfo(lcPlayer).noquote() << "playlist" << m_url << "-" << m_items.size()
                                   << "items handed over in" << m_handOverClock.elapsed() << "ms";
}

// Forgets the list read last and any read still under way.
void MpvPlayer::dropList()
{
    ++m_generation;
    m_reading = false;
    m_handOverTimer.stop();
    // A library's worth of texts takes milliseconds to free: not here.
    if (m_items.size() > 1000)
        QThreadPool::globalInstance()->start(
            [items = std::exchange(m_items, {}), titles = std::exchange(m_listTitles, {})] {});
    m_items.clear();
    m_handedOver = 0;
    m_listTitles.clear();
    m_endedByItself = false;
}

void MpvPlayer::stop()
{
    m_wantsSound = false;
    cancelReconnect();
    m_loaded = false;
    m_itemLoaded = false;
    dropList();
    m_opening = false;
    mustCommand({"stop"});
    m_engineStopped = true;
    setStreamTitle(QString());
}

void MpvPlayer::pause()
{
    m_wantsSound = false;
    cancelReconnect();
    if (m_loaded)
        setFlag("pause", true);
}

void MpvPlayer::next()
{
    step("playlist-next");
}

void MpvPlayer::previous()
{
    step("playlist-prev");
}

// A stopped player (also one whose list has played to its end) has no
// current item to move from: play() starts it again from the first one.
void MpvPlayer::step(const char* name)
{
    if (!m_loaded || isIdle())
        return;
    // At either end nothing changes, and playing goes on as before.
    int64_t pos = -1, count = 0;
    if (mpv_get_property(m_mpv, "playlist-pos", MPV_FORMAT_INT64, &pos) < 0 ||
        mpv_get_property(m_mpv, "playlist-count", MPV_FORMAT_INT64, &count) < 0)
        return;
    const bool forward = std::strcmp(name, "playlist-next") == 0;
    // The next item may not have been handed over yet.
    if (forward && pos + 1 >= count && handOverOne())
        ++count;
    if (forward ? pos + 1 >= count : pos <= 0)
        return;
    m_opening = true;
    mustCommand({name});
    m_wantsSound = true;
    setFlag("pause", false);
}

QString MpvPlayer::currentItemName() const
{
    if (!m_itemLoaded || isIdle())
        return {};
    const QString title = stringProperty("media-title");
    // Without a title tag mpv gives the file name, extension and all.
    if (title != stringProperty("filename"))
        return title;
    // "path" is the location as handed to mpv, so the playlist's own title
    // is found unless mpv has expanded the item into others.
    const QString listTitle = m_listTitles.value(stringProperty("path"));
    return listTitle.isEmpty() ? stringProperty("filename/no-ext") : listTitle;
}

MediaPlayer::State MpvPlayer::state() const
{
    if (!m_loaded)
        return State::Stopped;
    return m_wantsSound ? State::Playing : State::Paused;
}

void MpvPlayer::readStreamTitle()
{
    // mpv hands the station's bytes over as they came; many stations send
    // Latin-1 or Windows-1252 instead of UTF-8.
    char* raw = mpv_get_property_string(m_mpv, "metadata/by-key/icy-title");
    const QString title = raw ? decodeUtf8OrCp1252(QByteArrayView(raw)) : QString();
    if (raw)
        mpv_free(raw);
    setStreamTitle(title);
}

void MpvPlayer::setStreamTitle(const QString& title)
{
    if (title == m_streamTitle)
        return;
    m_streamTitle = title;
    if (m_onStreamTitle)
        m_onStreamTitle();
}

int MpvPlayer::playlistCount() const
{
    int64_t count = 0;
    if (!m_loaded || mpv_get_property(m_mpv, "playlist-count", MPV_FORMAT_INT64, &count) < 0)
        return 0;
    // Items still on their way count already: the list is as long as read.
    return static_cast<int>(count + itemsToHand());
}

QString MpvPlayer::currentPositionString() const
{
    return formatPlayPosition(currentPosition());
}

double MpvPlayer::currentPosition() const
{
    double pos = 0;
    if (!m_loaded || !doubleProperty("time-pos", &pos))
        return 0;
    return std::max(0.0, pos);
}

double MpvPlayer::currentMediaDuration() const
{
    double duration = 0;
    if (!m_loaded || !doubleProperty("duration", &duration))
        return 0;
    return std::max(0.0, duration);
}

void MpvPlayer::setVolume(int volume)
{
    // mpv takes up to 1000 (amplified): the head unit's scale ends at 100.
    m_volume = std::clamp(volume, 0, 100);
    double value = m_volume;
    if (const int error = mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &value); error < 0)
        throw OperationError(QStringLiteral("The media player refused the volume %1: %2")
                                 .arg(m_volume)
                                 .arg(QString::fromUtf8(mpv_error_string(error))));
}

int MpvPlayer::volume() const
{
    double value = 0;
    return doubleProperty("volume", &value) ? qRound(value) : m_volume;
}

int MpvPlayer::command(std::initializer_list<QByteArray> args)
{
    QList<const char*> argv;
    for (const QByteArray& a : args)
        argv.append(a.constData());
    argv.append(nullptr);
    return mpv_command(m_mpv, argv.data());
}

void MpvPlayer::mustCommand(std::initializer_list<QByteArray> args)
{
    if (const int error = command(args); error < 0) {
        qCWarning(lcPlayer).noquote() << "the engine refused" << *args.begin() << "-"
                                      << QString::fromUtf8(mpv_error_string(error));
        throw OperationError(
            QStringLiteral("The media player refused \"%1\": %2")
                .arg(QString::fromUtf8(*args.begin()), QString::fromUtf8(mpv_error_string(error))));
    }
}

QString MpvPlayer::stringProperty(const char* name) const
{
    char* value = mpv_get_property_string(m_mpv, name);
    if (!value)
        return {};
    const QString result = QString::fromUtf8(value);
    mpv_free(value);
    return result;
}

bool MpvPlayer::flagProperty(const char* name) const
{
    int value = 0;
    return mpv_get_property(m_mpv, name, MPV_FORMAT_FLAG, &value) >= 0 && value;
}

bool MpvPlayer::doubleProperty(const char* name, double* value) const
{
    return mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, value) >= 0;
}

void MpvPlayer::setFlag(const char* name, bool value)
{
    const bool isPause = std::strcmp(name, "pause") == 0;
    // Most loads find the engine unpaused: no call, no wait for the engine.
    if (isPause && !value && !m_enginePaused)
        return;
    int flag = value ? 1 : 0;
    if (const int error = mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag); error < 0)
        throw OperationError(QStringLiteral("The media player refused %1=%2: %3")
                                 .arg(QString::fromUtf8(name))
                                 .arg(flag)
                                 .arg(QString::fromUtf8(mpv_error_string(error))));
    if (isPause)
        m_enginePaused = value;
}

} // namespace

QString formatPlayPosition(double seconds)
{
    const auto total = seconds > 0 ? static_cast<qint64>(seconds) : qint64(0);
    const qint64 hours = total / 3600;
    const QString minSec = QStringLiteral("%1:%2")
                               .arg((total / 60) % 60, 2, 10, QLatin1Char('0'))
                               .arg(total % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QStringLiteral("%1:%2").arg(hours).arg(minSec) : minSec;
}

std::unique_ptr<MediaPlayer> createMpvPlayer(const MpvOptions& options)
{
    return std::make_unique<MpvPlayer>(options);
}

} // namespace zelk
