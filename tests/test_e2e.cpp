// The real program as its users meet it: on an X display of its own, with
// real keys and clicks at the places of the elements, against loopback
// servers for its stations, station texts, update check and pages, and a
// session bus for its media control. It checks what reaches files, servers
// and the bus, never the program's insides, and takes a picture of each
// screen into the build folder (ZELK_SCREENSHOTS names another folder).

#include "platform/rtflines.h"
#include "screens/keyboard.h"
#include "settings/config.h"
#include "support/httpserver.h"
#include "support/media.h"
#include "support/privatebus.h"
#include "support/ui/screens_fixture.h"
#include "support/xvfb.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;

namespace {

bool eventually(const std::function<bool()>& done, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

QString screenshotFolder()
{
    const QString chosen = qEnvironmentVariable("ZELK_SCREENSHOTS");
    return chosen.isEmpty() ? QStringLiteral(ZELK_BUILD_DIR "/screenshots") : chosen;
}

class EndToEnd : public testing::Test
{
protected:
    static void SetUpTestSuite() { zelktest::ensureGuiApp(); }

    void SetUp() override
    {
        ASSERT_TRUE(display.running()) << "Xvfb could not start";
        ASSERT_TRUE(bus.running()) << "dbus-daemon could not start";
        dataDir = tmp.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
        ASSERT_TRUE(QDir().mkpath(dataDir));
        QDir().mkpath(screenshotFolder());

        // Two stations: the first sends its titles inside the stream and has
        // no text address, the second has a station-text file.
        const QString tone = tmp.filePath(QStringLiteral("station.mp3"));
        ASSERT_TRUE(zelktest::makeTone(tone, 20, QStringLiteral("Loopback tone"))) << "ffmpeg";
        QFile toneFile(tone);
        ASSERT_TRUE(toneFile.open(QIODevice::ReadOnly));
        const std::string toneBytes = toneFile.readAll().toStdString();
        Route icy{200, toneBytes, "audio/mpeg"};
        icy.icyMetaInt = 2000;
        icy.bytesPerSecond = 8000;
        icy.icyTitle = "Loopback FM - On Air";
        server.setRoute("/one.mp3", icy);
        Route plain{200, toneBytes, "audio/mpeg", false, true};
        plain.bytesPerSecond = 8000;
        server.setRoute("/two.mp3", plain);
        server.setRoute("/rds2.txt", Route{200, "Text of station two", "text/plain"});
        server.setRoute("/ZelkCANBUS/Quen/version.txt", Route{200, "1.2.0", "text/plain"});
        // A map page as a navigation site shows one, drawn by the page itself.
        server.setRoute("/map.html",
                        Route{200,
                              "<html><body style='margin:0;background:#dfe6d8'>"
                              "<svg width='100%' height='100%' viewBox='0 0 1280 582' "
                              "preserveAspectRatio='none'>"
                              "<path d='M0 420 C 300 380, 420 470, 700 430 S 1100 360, 1280 390' "
                              "stroke='#8fb8de' stroke-width='26' fill='none'/>"
                              "<path d='M0 300 C 300 250, 500 400, 1280 320' stroke='#f2c14e' "
                              "stroke-width='18' fill='none'/>"
                              "<path d='M600 0 L 640 582 M 200 0 L 420 582 M 980 0 L 900 582' "
                              "stroke='#ffffff' stroke-width='10' fill='none'/>"
                              "<circle cx='622' cy='330' r='16' fill='#ce1111' stroke='#fff' "
                              "stroke-width='4'/></svg></body></html>",
                              "text/html"});
        server.setRoute("/dash.html", Route{200, "<html><body>dash</body></html>", "text/html"});

        // A playlist of three tagged songs.
        const char* titles[] = {"Erster Titel", "Zweiter Titel", "Dritter Titel"};
        QFile list(tmp.filePath(QStringLiteral("drive.m3u")));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        for (int i = 0; i < 3; ++i) {
            const QString song = tmp.filePath(QStringLiteral("song%1.mp3").arg(i + 1));
            ASSERT_TRUE(zelktest::makeTone(song, 40, QString::fromUtf8(titles[i]), 330 + 110 * i));
            list.write(song.toUtf8() + "\n");
        }
        list.close();

        QStringList config = defaultConfigLines();
        config[cfg::Fullscreen] = QStringLiteral("true");
        config[cfg::RadioMode] = QStringLiteral("true");
        config[cfg::Volume] = QStringLiteral("50");
        config[cfg::Language] = QStringLiteral("EN-US");
        config[cfg::Playlist] = list.fileName();
        config[cfg::NaviUrl] = url("/map.html");
        config[cfg::DashboardUrl] = url("/dash.html");
        for (int n = 1; n <= 6; ++n) {
            config[cfg::StationUrl1 - 1 + n] = url(n == 2 ? "/two.mp3" : "/one.mp3");
            config[cfg::RdsUrl1 - 1 + n] = n == 2 ? url("/rds2.txt") : QString();
        }
        writeLineFile(configPath(), config);
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("e2e-client"));
    }

    QString url(const std::string& path) const { return QString::fromStdString(server.url(path)); }
    QString configPath() const { return dataDir + QStringLiteral("Radio.ini"); }
    QString stored(int line) const
    {
        return readLineFile(configPath()).value_or(QStringList()).value(line);
    }

    void startProgram()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("appdata"), tmp.path());
        env.insert(QStringLiteral("DISPLAY"), display.name());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        // The web engine draws in software on a display without a GPU.
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QStringLiteral(ZELK_BINARY), {QStringLiteral("--update-server"), url("")});
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    // The X window of the screen in front (each screen is a window of its
    // own): how the test knows a switch has happened before it clicks on.
    QString frontWindow() const
    {
        bool ok = false;
        const QStringList ids =
            display
                .xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--class"), QStringLiteral("zelkradio")},
                         &ok)
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return ok && !ids.isEmpty() ? ids.last() : QString();
    }
    // Waits until the screen in front is another one than `before`.
    QString switchedFrom(const QString& before)
    {
        QString now;
        eventually([&] {
            now = frontWindow();
            return !now.isEmpty() && now != before;
        });
        QThread::msleep(300); // the new screen's first paint
        return now;
    }
    bool backTo(const QString& screen)
    {
        return eventually([&] { return frontWindow() == screen; });
    }

    // Real input at a place of the 1280x720 design: the screens fill the
    // display, so design and screen coordinates are the same.
    void click(int x, int y)
    {
        display.xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                         QStringLiteral("click"), QStringLiteral("1")});
        QThread::msleep(600);
    }
    void clickCentre(QRect design) { click(design.center().x(), design.center().y()); }
    void key(const char* name)
    {
        ASSERT_FALSE(display.focusWindow(QStringLiteral("zelkradio")).isEmpty());
        ASSERT_TRUE(display.key(QLatin1String(name)));
        QThread::msleep(400);
    }
    void picture(const char* name)
    {
        QThread::msleep(800); // let the screen settle
        EXPECT_TRUE(display.screenshot(screenshotFolder() + QLatin1Char('/') + QLatin1String(name) +
                                       QStringLiteral(".png")));
    }

    // A call to the unit's media player on the bus, as a media key sends it.
    QDBusMessage mpris(const QString& interface, const QString& method,
                       const QVariantList& args = {})
    {
        QDBusConnection client = bus.connect(QStringLiteral("e2e-client"));
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.mpris.MediaPlayer2.zelkradio"),
            QStringLiteral("/org/mpris/MediaPlayer2"), interface, method);
        call.setArguments(args);
        return client.call(call, QDBus::Block, 5000);
    }
    QVariant playerProperty(const char* name)
    {
        const QDBusMessage answer =
            mpris(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                  {QStringLiteral("org.mpris.MediaPlayer2.Player"), QLatin1String(name)});
        return answer.arguments().value(0).value<QDBusVariant>().variant();
    }
    QString nowOnAir()
    {
        const QDBusArgument arg = playerProperty("Metadata").value<QDBusArgument>();
        return qdbus_cast<QVariantMap>(arg).value(QStringLiteral("xesam:title")).toString();
    }

    zelktest::XvfbDisplay display;
    zelktest::PrivateBus bus;
    QTemporaryDir tmp;
    QString dataDir;
    HttpServer server;
    QProcess program;
};

} // namespace

TEST_F(EndToEnd, EveryScreenThroughItsMainPaths)
{
    startProgram();

    // Boot: the version file is fetched, the radio starts on preset 1, and
    // the station's own title stands in for the missing station text.
    ASSERT_TRUE(server.waitForRequest("/ZelkCANBUS/Quen/version.txt", 1, 30000));
    ASSERT_TRUE(server.waitForRequest("/one.mp3", 1, 30000)) << "the radio did not start";
    // A second later the stored preset (1) is tuned again by the restore.
    ASSERT_TRUE(server.waitForRequest("/one.mp3", 2, 30000));
    ASSERT_TRUE(eventually([&] { return nowOnAir() == QLatin1String("Loopback FM - On Air"); }))
        << nowOnAir().toStdString();
    picture("radio");

    // A preset tap on the number of preset 2.
    clickCentre({329, 280, 24, 59});
    ASSERT_TRUE(server.waitForRequest("/two.mp3", 1, 15000));
    EXPECT_TRUE(eventually([&] { return stored(cfg::ActiveStation) == QLatin1String("2"); }));
    ASSERT_TRUE(server.waitForRequest("/rds2.txt", 1, 15000));
    EXPECT_EQ(readLineFile(dataDir + QStringLiteral("RDS2.ini")).value_or(QStringList()),
              QStringList{QStringLiteral("Text of station two")});
    EXPECT_TRUE(eventually([&] { return nowOnAir() == QLatin1String("Text of station two"); }));

    // The volume keys, stored in line 3 as they go.
    ASSERT_TRUE(eventually([&] { return playerProperty("Volume").toDouble() == 0.5; }))
        << "the stored level is restored";
    const std::pair<const char*, const char*> keys[] = {
        {"F12", "55"}, {"F11", "50"}, {"F10", "0"}, {"F10", "50"}};
    for (const auto& [name, level] : keys) {
        key(name);
        EXPECT_TRUE(eventually([&] { return stored(cfg::Volume) == QLatin1String(level); }))
            << name << " left " << stored(cfg::Volume).toStdString();
    }

    // F1 to the menu, the navigation tile and back.
    const QString radioScreen = frontWindow();
    key("F1");
    const QString menu = switchedFrom(radioScreen);
    picture("menu");
    clickCentre({816, 191, 89, 89});
    ASSERT_TRUE(server.waitForRequest("/map.html", 1, 20000));
    switchedFrom(menu);
    picture("webview");
    clickCentre({24, 624, 249, 65});
    ASSERT_TRUE(backTo(menu));

    // The Music tile: music mode with the playlist, and F3 to the next song.
    clickCentre({376, 191, 89, 89});
    ASSERT_TRUE(backTo(radioScreen));
    EXPECT_TRUE(eventually([&] { return stored(cfg::RadioMode) == QLatin1String("false"); }));
    EXPECT_TRUE(eventually([&] { return nowOnAir() == QLatin1String("Erster Titel"); }))
        << nowOnAir().toStdString();
    key("F3");
    EXPECT_TRUE(eventually([&] { return stored(cfg::LastSong) == QLatin1String("Zweiter Titel"); }))
        << stored(cfg::LastSong).toStdString();
    picture("music");

    // The settings: the navigation page, an address typed on the on-screen
    // keyboard, saved.
    key("F1");
    ASSERT_TRUE(backTo(menu));
    clickCentre({968, 344, 89, 89});
    switchedFrom(menu);
    clickCentre({280, 25, 89, 89});
    const QString before = stored(cfg::NaviUrl);
    // Into the address field, right of its text: the cursor goes to the end.
    click(592 + 32 + 540, 80 + 88 + 19);
    OnScreenKeyboard layout; // where each key stands on the screen's keyboard
    layout.resize(1264, 369);
    for (const char* caption : {"/", "e", "2", "e"}) {
        const QRect k = layout.keyRect(QLatin1String(caption)).translated(8, 345);
        ASSERT_FALSE(k.isEmpty()) << caption;
        clickCentre(k);
    }
    picture("settings");
    clickCentre({8, 279, 121, 56});              // the keyboard goes away
    clickCentre({592 + 464, 80 + 378, 129, 44}); // save
    EXPECT_TRUE(eventually([&] { return stored(cfg::NaviUrl) == before + QStringLiteral("/e2e"); }))
        << stored(cfg::NaviUrl).toStdString();
    clickCentre({38, 624, 249, 65}); // back to the menu

    // A media key over the bus: the next song, then pause.
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Next"));
    EXPECT_TRUE(
        eventually([&] { return stored(cfg::LastSong) == QLatin1String("Dritter Titel"); }));
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlayPause"));
    EXPECT_TRUE(eventually(
        [&] { return playerProperty("PlaybackStatus").toString() == QLatin1String("Paused"); }));

    // Close: the program ends through its own close path.
    mpris(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"));
    ASSERT_TRUE(program.waitForFinished(15000)) << program.readAll().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAll().toStdString();
}
