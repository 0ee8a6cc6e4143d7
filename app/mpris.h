#pragma once
// The head unit as a media player on the session bus (MPRIS 2): media keys,
// wheels and button boxes that send them, the desktop's media panel and
// remotes control the unit while another window has the focus. Everything
// goes through the same operations as the unit's own buttons and keys.

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

namespace zelk {

class HeadUnit;

class Mpris : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.zelkradio";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    // Publishes on `bus`. Without a bus, or when the name is taken, the
    // unit runs as before; the log says why once.
    Mpris(HeadUnit& unit, QDBusConnection bus);
    ~Mpris() override;
    bool published() const { return m_published; }

    // org.mpris.MediaPlayer2
    void Raise();
    void Quit();
    // org.mpris.MediaPlayer2.Player
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    // Volume 0.0 to 1.0, in the unit's steps of 5.
    void setVolume(double volume);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    qlonglong position() const;
    bool canControl() const;

private:
    // The Player interface's properties as they are now.
    QVariantMap playerProperties() const;
    void publishChanges();

    HeadUnit& m_unit;
    QDBusConnection m_bus;
    bool m_published = false;
    QVariantMap m_lastProperties;
};

} // namespace zelk
