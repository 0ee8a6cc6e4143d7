#include "app/mpris.h"

#include "app/headunit.h"
#include "platform/log.h"
#include "settings/config.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QUrl>

namespace zelk {

namespace {

class RootAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
public:
    explicit RootAdaptor(Mpris* mpris) : QDBusAbstractAdaptor(mpris), m_mpris(mpris) {}
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("ZelkRadio"); }
    QString desktopEntry() const { return QStringLiteral("org.example.zelkradio"); }
    QStringList none() const { return {}; }

public Q_SLOTS:
    void Raise() { m_mpris->Raise(); }
    void Quit() { m_mpris->Quit(); }

private:
    Mpris* m_mpris;
};

class PlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(bool CanGoNext READ canControl)
    Q_PROPERTY(bool CanGoPrevious READ canControl)
    Q_PROPERTY(bool CanPlay READ canControl)
    Q_PROPERTY(bool CanPause READ canControl)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit PlayerAdaptor(Mpris* mpris) : QDBusAbstractAdaptor(mpris), m_mpris(mpris) {}
    QString playbackStatus() const { return m_mpris->playbackStatus(); }
    double one() const { return 1.0; }
    void setRate(double) {}
    QVariantMap metadata() const { return m_mpris->metadata(); }
    double volume() const { return m_mpris->volume(); }
    void setVolume(double v) { m_mpris->setVolume(v); }
    qlonglong position() const { return m_mpris->position(); }
    bool canControl() const { return m_mpris->canControl(); }
    bool yes() const { return true; }
    bool no() const { return false; }

public Q_SLOTS:
    void Next() { m_mpris->Next(); }
    void Previous() { m_mpris->Previous(); }
    void Pause() { m_mpris->Pause(); }
    void PlayPause() { m_mpris->PlayPause(); }
    void Stop() { m_mpris->Stop(); }
    void Play() { m_mpris->Play(); }
    // The unit has no seeking and opens no addresses from outside.
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString&) {}

Q_SIGNALS:
    void Seeked(qlonglong position);

private:
    Mpris* m_mpris;
};

} // namespace

Mpris::Mpris(HeadUnit& unit, QDBusConnection bus) : m_unit(unit), m_bus(std::move(bus))
{
    new RootAdaptor(this);
    new PlayerAdaptor(this);
    if (!m_bus.isConnected()) {
        qCInfo(lcMpris) << "no session bus: media keys and the desktop's media panel do not "
                           "reach the unit";
        return;
    }
    if (!m_bus.registerService(QString::fromLatin1(kServiceName))) {
        qCInfo(lcMpris).noquote() << "the name" << kServiceName
                                  << "is taken: media control goes to the other program";
        return;
    }
    if (!m_bus.registerObject(QString::fromLatin1(kObjectPath), this)) {
        qCInfo(lcMpris) << "cannot publish the media player object";
        m_bus.unregisterService(QString::fromLatin1(kServiceName));
        return;
    }
    m_published = true;
    m_lastProperties = playerProperties();
    connect(&unit.seq, &Sequencer::settled, this, &Mpris::publishChanges);
}

Mpris::~Mpris()
{
    if (m_published) {
        m_bus.unregisterObject(QString::fromLatin1(kObjectPath));
        m_bus.unregisterService(QString::fromLatin1(kServiceName));
    }
}

void Mpris::Raise()
{
    m_unit.seq.input([this] { m_unit.screens.raise(); });
}

void Mpris::Quit()
{
    m_unit.seq.post([this] { m_unit.closeScreen(ScreenId::Form1); });
}

// In radio mode the skips step through the presets, round from 6 to 1; in
// music mode they are the skips of the playlist.
void Mpris::Next()
{
    m_unit.seq.input([this] {
        if (!m_unit.radio.radiomode.on())
            m_unit.music.skip_plus();
        else
            m_unit.stepPreset(+1);
    });
}

void Mpris::Previous()
{
    m_unit.seq.input([this] {
        if (!m_unit.radio.radiomode.on())
            m_unit.music.skip_minus();
        else
            m_unit.stepPreset(-1);
    });
}

// Play, pause and stop follow the mode: the transport buttons in music
// mode, the station itself in radio mode.
void Mpris::Pause()
{
    m_unit.seq.input([this] { m_unit.pause(); });
}

void Mpris::Play()
{
    m_unit.seq.input([this] { m_unit.play(); });
}

void Mpris::PlayPause()
{
    m_unit.seq.input([this] { m_unit.playPause(); });
}

void Mpris::Stop()
{
    m_unit.seq.input([this] {
        if (!m_unit.radio.radiomode.on())
            m_unit.music.stop();
        else if (m_unit.player)
            m_unit.player->stop();
    });
}

void Mpris::setVolume(double volume)
{
    const int target = std::clamp(static_cast<int>(std::lround(volume * 20)) * 5, 0, 100);
    // Step by step, as F11 and F12 do: each step stored, the overlay shown.
    m_unit.seq.input([this, target] {
        Volume& v = m_unit.volume;
        for (int guard = 0; guard < 25 && v.volume != target; ++guard) {
            const int before = v.volume;
            v.volume < target ? v.Lauter1() : v.Leiser1();
            if (v.volume == before)
                break; // no player yet, or the level sticks at an end
        }
    });
}

QString Mpris::playbackStatus() const
{
    if (!m_unit.player)
        return QStringLiteral("Stopped");
    switch (m_unit.player->state()) {
    case MediaPlayer::State::Playing:
        return QStringLiteral("Playing");
    case MediaPlayer::State::Paused:
        return QStringLiteral("Paused");
    case MediaPlayer::State::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap Mpris::metadata() const
{
    QVariantMap map;
    const Radio& radio = m_unit.radio;
    if (radio.radiomode.on()) {
        const QString preset = m_unit.settings.config.line(cfg::ActiveStation);
        const bool valid =
            preset.size() == 1 && preset >= QLatin1String("1") && preset <= QLatin1String("6");
        map.insert(
            QStringLiteral("mpris:trackid"),
            QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/example/zelkradio/station/") +
                                                (valid ? preset : QStringLiteral("none")))));
        map.insert(QStringLiteral("xesam:title"), m_unit.stationText.rdsText.text());
        map.insert(QStringLiteral("xesam:artist"), QStringList{radio.sendername.text()});
        // The logo stored for the preset's stream address, once there is one.
        if (valid) {
            const QString logo = m_unit.stations.existingLogo(preset.toInt());
            if (!logo.isEmpty())
                map.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(logo).toString());
        }
    } else {
        const QString title = radio.sendername.text();
        map.insert(QStringLiteral("mpris:trackid"),
                   QVariant::fromValue(QDBusObjectPath(
                       QStringLiteral("/org/example/zelkradio/track/%1").arg(qHash(title)))));
        map.insert(QStringLiteral("xesam:title"), title);
        map.insert(QStringLiteral("xesam:artist"), QStringList{QStringLiteral("Playlist")});
        if (m_unit.player)
            map.insert(QStringLiteral("mpris:length"),
                       static_cast<qlonglong>(m_unit.player->currentMediaDuration() * 1e6));
    }
    return map;
}

double Mpris::volume() const
{
    return std::clamp(m_unit.volume.volume, 0, 100) / 100.0;
}

qlonglong Mpris::position() const
{
    if (!m_unit.player || m_unit.radio.radiomode.on())
        return 0;
    return static_cast<qlonglong>(m_unit.player->currentPosition() * 1e6);
}

bool Mpris::canControl() const
{
    return static_cast<bool>(m_unit.player);
}

QVariantMap Mpris::playerProperties() const
{
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanGoNext"), canControl()},
        {QStringLiteral("CanGoPrevious"), canControl()},
        {QStringLiteral("CanPlay"), canControl()},
        {QStringLiteral("CanPause"), canControl()},
    };
}

void Mpris::publishChanges()
{
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (m_lastProperties.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    m_lastProperties = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    m_bus.send(signal);
}

} // namespace zelk

#include "mpris.moc"
