// The real program binary against loopback servers: under the offscreen
// platform it boots, plays preset 1, restores the stored preset, fetches the
// station texts, and ends cleanly when told to; on a private X display it
// answers a key at once while every station-text server hangs.

#include "platform/rtflines.h"
#include "settings/config.h"
#include "support/httpserver.h"
#include "support/media.h"
#include "support/xvfb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>

using namespace zelk;
using zelktest::HttpServer;
using zelktest::Route;

TEST(Program, BootsPlaysRestoresFetchesStationTextsAndEndsCleanly)
{
    QTemporaryDir tmp;
    const QString dataDir = tmp.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
    ASSERT_TRUE(QDir().mkpath(dataDir));
    const QString tone = tmp.filePath(QStringLiteral("tone.mp3"));
    ASSERT_TRUE(zelktest::makeTone(tone, 20, QStringLiteral("Loopback"))) << "ffmpeg missing";

    HttpServer server;
    server.setFile("/one.mp3", tone.toStdString(), "audio/mpeg");
    server.setFile("/three.mp3", tone.toStdString(), "audio/mpeg");
    for (int n = 1; n <= 6; ++n)
        server.setRoute("/rds" + std::to_string(n) + ".txt",
                        Route{200, "Text " + std::to_string(n), "text/plain"});

    QStringList config = defaultConfigLines();
    config[cfg::ActiveStation] = QStringLiteral("3");
    config[cfg::Fullscreen] = QStringLiteral("true");
    for (int n = 1; n <= 6; ++n) {
        config[cfg::StationUrl1 - 1 + n] =
            QString::fromStdString(server.url(n == 3 ? "/three.mp3" : "/one.mp3"));
        config[cfg::RdsUrl1 - 1 + n] =
            QString::fromStdString(server.url("/rds" + std::to_string(n) + ".txt"));
    }
    writeLineFile(dataDir + QStringLiteral("Radio.ini"), config);
    // The release is current: no update offer holds the boot.
    writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("appdata"), tmp.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(ZELK_BINARY), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    // The boot step comes 3 s after start, the restore step 1 s after it.
    EXPECT_TRUE(server.waitForRequest("/one.mp3", 1, 30000));
    EXPECT_TRUE(server.waitForRequest("/three.mp3", 1, 30000));
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(server.waitForRequest("/rds" + std::to_string(n) + ".txt", 1, 30000)) << n;
    EXPECT_EQ(readLineFile(dataDir + QStringLiteral("RDS3.ini")).value_or(QStringList()),
              QStringList{QStringLiteral("Text 3")});
    EXPECT_EQ(readLineFile(dataDir + QStringLiteral("Radio.ini")).value_or(QStringList()).value(7),
              QStringLiteral("3"));
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAll().toStdString();

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(15000)) << program.readAll().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAll().toStdString();
}

TEST(Program, AnswersAKeyAtOnceWhileEveryStationTextServerHangs)
{
    zelktest::XvfbDisplay display;
    ASSERT_TRUE(display.running()) << "Xvfb could not start";
    QTemporaryDir tmp;
    const QString dataDir = tmp.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
    ASSERT_TRUE(QDir().mkpath(dataDir));
    HttpServer server;
    QStringList config = defaultConfigLines();
    config[cfg::Fullscreen] = QStringLiteral("true");
    for (int n = 1; n <= 6; ++n) {
        const std::string path = "/hang" + std::to_string(n);
        server.setRoute(path, Route{200, "", "text/plain", true});
        config[cfg::StationUrl1 - 1 + n] = QString();
        config[cfg::RdsUrl1 - 1 + n] = QString::fromStdString(server.url(path));
    }
    const QString configPath = dataDir + QStringLiteral("Radio.ini");
    writeLineFile(configPath, config);
    writeLineFile(dataDir + QStringLiteral("version.txt"), {QStringLiteral("1.2.0")});

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("appdata"), tmp.path());
    env.insert(QStringLiteral("DISPLAY"), display.name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(ZELK_BINARY), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(server.waitForRequest("/hang1", 1, 30000)) << "the radio did not start";
    ASSERT_FALSE(display.focusWindow(QStringLiteral("zelkradio")).isEmpty());

    const auto storedVolume = [&] {
        return readLineFile(configPath).value_or(QStringList()).value(cfg::Volume);
    };
    qint64 slowest = 0;
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        // A refresh is under way: its six downloads hang.
        const int asked = server.requestCount("/hang1");
        ASSERT_TRUE(server.waitForRequest("/hang1", asked + 1, 15000));
        QThread::msleep(200);
        const QString before = storedVolume();
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(display.key(QStringLiteral("F12")));
        while (storedVolume() == before && clock.elapsed() < 5000)
            QThread::msleep(5);
        ASSERT_NE(storedVolume(), before) << "the key did nothing";
        slowest = std::max(slowest, clock.elapsed());
    }
    // A program that waited for the servers would answer after the
    // downloads gave up, seconds later.
    std::printf("slowest key while the servers hang: %lld ms\n", static_cast<long long>(slowest));
    EXPECT_LT(slowest, 500);

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(15000)) << program.readAll().toStdString();
    EXPECT_EQ(program.exitCode(), 0) << program.readAll().toStdString();
}

// The real binary's command line: answers without a display, and a data
// folder of the user's choice holds every file.
TEST(Program, CommandLineOfTheRealBinary)
{
    const struct
    {
        QStringList args;
        int exitCode;
        const char* out;
        const char* err;
    } cases[] = {
        {{QStringLiteral("--version")}, 0, "1.2.0\n", ""},
        {{QStringLiteral("--help")}, 0, "--window", ""},
        {{QStringLiteral("--bogus")}, 2, "", "Usage: zelkradio"},
    };
    for (const auto& c : cases) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZELK_BINARY), c.args);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(program.readAllStandardOutput().contains(c.out));
        EXPECT_TRUE(program.readAllStandardError().contains(c.err));
    }

    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("my unit"));
    QStringList config = defaultConfigLines();
    config[cfg::Fullscreen] = QStringLiteral("true");
    for (int n = 0; n < 6; ++n) {
        config[cfg::StationUrl1 + n].clear();
        config[cfg::RdsUrl1 + n].clear();
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    writeLineFile(folder + QStringLiteral("/Radio.ini"), config);
    writeLineFile(folder + QStringLiteral("/version.txt"), {QStringLiteral("1.2.0")});
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
    env.insert(QStringLiteral("appdata"), tmp.filePath(QStringLiteral("elsewhere")));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZELK_BINARY),
                  {QStringLiteral("--data-dir"), folder, QStringLiteral("--window")});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The language files are put into the chosen folder at start.
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(folder + QStringLiteral("/lang/EN-US.mui")) && clock.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/blank.html")));
    EXPECT_FALSE(QDir(tmp.filePath(QStringLiteral("elsewhere"))).exists());
    QThread::msleep(1500); // up and running
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(readLineFile(folder + QStringLiteral("/Radio.ini")).value_or(QStringList()).value(
                  cfg::Fullscreen),
              QStringLiteral("true"))
        << "--window stores nothing";
}
