// The real program binary under the offscreen platform, against a loopback
// server: it boots, plays preset 1, restores the stored preset, fetches the
// station texts, and ends cleanly when told to.

#include "platform/rtflines.h"
#include "settings/config.h"
#include "support/httpserver.h"
#include "support/media.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
