// The unit on the desktop's bus, here a private one: media control over
// MPRIS 2 from a client as a media key or the media panel would use it, and
// the screen saver held off while the unit is shown full screen.

#include "app/desktopintegration.h"
#include "support/core_fixture.h"
#include "support/privatebus.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QFile>
#include <QSignalSpy>

using namespace zelk;
using namespace zelktest;

namespace {

int g_connections = 0;

// A screen saver service as a desktop has one: it hands out cookies and
// remembers which are held.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QList<uint> held;
    uint last = 0;

public Q_SLOTS:
    uint Inhibit(const QString& application, const QString& reason)
    {
        Q_UNUSED(application);
        Q_UNUSED(reason);
        held << ++last + 100;
        return last + 100;
    }
    void UnInhibit(uint cookie) { held.removeAll(cookie); }
};

// Catches the properties' change signal.
class ChangeCatcher : public QObject
{
    Q_OBJECT
public:
    QString interface;
    QVariantMap last;
    int count = 0;

public Q_SLOTS:
    void changed(const QString& iface, const QVariantMap& properties, const QStringList&)
    {
        interface = iface;
        last = properties;
        ++count;
    }
};

} // namespace

class DesktopTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(bus.running()) << "dbus-daemon could not start";
        fake.player->items = {QStringLiteral("Alpha"), QStringLiteral("Beta"),
                              QStringLiteral("Gamma")};
        playlist = tmp.filePath(QStringLiteral("list.m3u"));
        QFile f(playlist);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a.mp3\n");
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                {cfg::RadioMode, QStringLiteral("true")},
                                {cfg::Playlist, playlist}}));
        unitSide = bus.connect(QStringLiteral("unit%1").arg(++g_connections));
        client = bus.connect(QStringLiteral("client%1").arg(++g_connections));
    }
    void TearDown() override
    {
        desktop.reset();
        unit.reset();
        QDBusConnection::disconnectFromBus(unitSide.name());
        QDBusConnection::disconnectFromBus(client.name());
    }
    void bootAndPublish()
    {
        boot();
        unit->restartOnce.setEnabled(false);
        desktop = std::make_unique<DesktopIntegration>(*unit, unitSide);
        ASSERT_TRUE(desktop->mpris.published());
    }
    // Sends a call as a media key or a media panel does and waits for the
    // answer in the event loop: the unit answers from this very thread.
    QDBusMessage send(const QString& interface, const QString& method, const QVariantList& args)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.mpris.MediaPlayer2.zelkradio"),
            QStringLiteral("/org/mpris/MediaPlayer2"), interface, method);
        call.setArguments(args);
        QDBusPendingCall pending = client.asyncCall(call, 5000);
        EXPECT_TRUE(waitUntil([&] { return pending.isFinished(); }));
        settle();
        const QDBusMessage answer = pending.reply();
        EXPECT_NE(answer.type(), QDBusMessage::ErrorMessage) << answer.errorMessage().toStdString();
        return answer;
    }
    void call(const char* method,
              const QString& interface = QStringLiteral("org.mpris.MediaPlayer2.Player"))
    {
        send(interface, QLatin1String(method), {});
    }
    QVariant property(const char* name,
                      const QString& interface = QStringLiteral("org.mpris.MediaPlayer2.Player"))
    {
        const QDBusMessage answer = send(QStringLiteral("org.freedesktop.DBus.Properties"),
                                         QStringLiteral("Get"), {interface, QLatin1String(name)});
        return answer.arguments().value(0).value<QDBusVariant>().variant();
    }
    void setVolume(double volume)
    {
        send(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
             {QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Volume"),
              QVariant::fromValue(QDBusVariant(volume))});
    }
    QVariantMap metadata()
    {
        const QVariant v = property("Metadata");
        return qdbus_cast<QVariantMap>(v.value<QDBusArgument>());
    }

    PrivateBus bus;
    QDBusConnection unitSide{QString()};
    QDBusConnection client{QString()};
    std::unique_ptr<DesktopIntegration> desktop;
    QString playlist;
};

TEST_F(DesktopTest, MediaKeyPlayPausePausesAndResumesTheStation)
{
    bootAndPublish();
    EXPECT_EQ(property("Identity", QStringLiteral("org.mpris.MediaPlayer2")).toString(),
              QStringLiteral("ZelkRadio"));
    EXPECT_EQ(property("PlaybackStatus").toString(), QStringLiteral("Playing"));
    const int pauses = fake.player->pauses;
    call("PlayPause");
    EXPECT_EQ(fake.player->pauses, pauses + 1);
    EXPECT_EQ(property("PlaybackStatus").toString(), QStringLiteral("Paused"));
    call("PlayPause");
    EXPECT_EQ(property("PlaybackStatus").toString(), QStringLiteral("Playing"));
    call("Stop");
    EXPECT_EQ(property("PlaybackStatus").toString(), QStringLiteral("Stopped"));
}

TEST_F(DesktopTest, NextAndPreviousStepThroughThePresetsRoundOrThroughThePlaylist)
{
    bootAndPublish();
    unit->radio.Button6();
    call("Next");
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("1")) << "6 goes round to 1";
    call("Previous");
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("6"));
    call("Previous");
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("5"));

    unit->menu.but_music();
    call("Next");
    EXPECT_EQ(fake.player->itemName, QStringLiteral("Beta"));
    EXPECT_EQ(storedConfig().value(cfg::LastSong), QStringLiteral("Beta"));
    EXPECT_EQ(metadata().value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Beta"));
    EXPECT_EQ(metadata().value(QStringLiteral("xesam:artist")).toStringList(),
              QStringList{QStringLiteral("Playlist")});
    call("Pause");
    EXPECT_TRUE(unit->music.pause.isEnabled()) << "the transport of music mode";
    call("Play");
    EXPECT_FALSE(unit->music.pause.isEnabled());
}

TEST_F(DesktopTest, VolumeFromOutsideTakesTheWayOfTheKeys)
{
    bootAndPublish();
    unit->volume.volume = 15;
    setVolume(0.52);
    EXPECT_EQ(unit->volume.volume, 50);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("50"));
    EXPECT_TRUE(unit->volume.form1.volbar.on()) << "the overlay shows it";
    EXPECT_DOUBLE_EQ(property("Volume").toDouble(), 0.5);
    setVolume(7.0);
    EXPECT_EQ(unit->volume.volume, 100) << "held within the range";
}

TEST_F(DesktopTest, MetadataFollowsThePresetAndTheStationTextWithChangeSignals)
{
    bootAndPublish();
    ChangeCatcher caught;
    ASSERT_TRUE(client.connect(QString(), QStringLiteral("/org/mpris/MediaPlayer2"),
                               QStringLiteral("org.freedesktop.DBus.Properties"),
                               QStringLiteral("PropertiesChanged"), &caught,
                               SLOT(changed(QString, QVariantMap, QStringList))));
    unit->seq.input([this] { unit->radio.Button3(); });
    settle(); // the refresh of the tune has ended
    unit->seq.input([this] { unit->stationText.rdsText.set(QStringLiteral("Artist - Song")); });
    ASSERT_TRUE(waitUntil([&] { return caught.last.contains(QStringLiteral("Metadata")); }));
    EXPECT_EQ(caught.interface, QStringLiteral("org.mpris.MediaPlayer2.Player"));
    const QVariantMap meta = metadata();
    EXPECT_EQ(meta.value(QStringLiteral("xesam:artist")).toStringList(),
              QStringList{QStringLiteral("SWR3")});
    EXPECT_EQ(meta.value(QStringLiteral("xesam:title")).toString(),
              QStringLiteral("Artist - Song"));
    EXPECT_EQ(meta.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QStringLiteral("/org/example/zelkradio/station/3"));
    EXPECT_FALSE(meta.contains(QStringLiteral("mpris:artUrl"))) << "no logo stored yet";
    // A logo stored for preset 3's address becomes its art.
    const QString logo = unit->stations.logoPath(3);
    ASSERT_FALSE(logo.isEmpty());
    const int beforeLogo = caught.count;
    unit->seq.input([&] {
        QFile file(logo);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x89PNG\r\n\x1a\n");
        file.close();
        unit->stations.logoStored();
    });
    ASSERT_TRUE(waitUntil([&] { return metadata().contains(QStringLiteral("mpris:artUrl")); }));
    EXPECT_EQ(metadata().value(QStringLiteral("mpris:artUrl")).toString(),
              QUrl::fromLocalFile(logo).toString());
    EXPECT_TRUE(waitUntil([&] { return caught.count > beforeLogo; })) << "the change is announced";
    // Nothing changed: nothing sent.
    const int signals = caught.count;
    unit->seq.run([] {});
    settle();
    EXPECT_EQ(caught.count, signals);
}

TEST_F(DesktopTest, RaiseAndQuitTakeTheUnitsOwnPaths)
{
    bootAndPublish();
    QSignalSpy raised(&unit->screens, &ScreenManager::raiseRequested);
    call("Raise", QStringLiteral("org.mpris.MediaPlayer2"));
    EXPECT_EQ(raised.size(), 1);
    call("Quit", QStringLiteral("org.mpris.MediaPlayer2"));
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(unit->time.isEnabled()) << "every timer stopped, as when a screen is closed";
}

TEST_F(DesktopTest, WithoutABusOrWithTheNameTakenTheUnitRunsAsBefore)
{
    bootAndPublish();
    // A second unit on the same bus finds the name taken.
    HeadUnit second(fake.services(), dataDir);
    DesktopIntegration other(second, bus.connect(QStringLiteral("second%1").arg(++g_connections)));
    EXPECT_FALSE(other.mpris.published());
    EXPECT_TRUE(desktop->mpris.published());
    // No bus at all.
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                      QStringLiteral("nobus%1").arg(++g_connections));
    ASSERT_FALSE(none.isConnected());
    DesktopIntegration lonely(*unit, none);
    EXPECT_FALSE(lonely.mpris.published());
    lonely.mpris.Next(); // still works as a way into the unit
    settle();
    EXPECT_FALSE(lonely.screenSaver.held());
}

TEST_F(DesktopTest, ScreenSaverHeldOffInFullScreenAndReleasedInWindowModeAndAtTheEnd)
{
    QDBusConnection desktopSide = bus.connect(QStringLiteral("saver%1").arg(++g_connections));
    FakeScreenSaver saver;
    ASSERT_TRUE(desktopSide.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    ASSERT_TRUE(desktopSide.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                                           QDBusConnection::ExportAllSlots));
    bootAndPublish();
    ASSERT_TRUE(waitUntil([&] { return desktop->screenSaver.held(); }));
    EXPECT_EQ(saver.held.size(), 1);
    unit->chgWin();
    ASSERT_TRUE(waitUntil([&] { return saver.held.isEmpty(); }));
    EXPECT_FALSE(desktop->screenSaver.held());

    // A full-screen run that ends lets the display sleep again.
    desktop.reset();
    unit.reset();
    boot();
    desktop = std::make_unique<DesktopIntegration>(*unit, unitSide);
    ASSERT_TRUE(waitUntil([&] { return desktop->screenSaver.held(); }));
    EXPECT_EQ(saver.held.size(), 1);
    desktop.reset();
    EXPECT_TRUE(waitUntil([&] { return saver.held.isEmpty(); }));
    QDBusConnection::disconnectFromBus(desktopSide.name());
}

#include "test_desktop.moc"
