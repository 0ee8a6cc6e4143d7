// The version check of the boot step, the update panel, cancel and install,
// against a loopback update server.

#include "platform/netdownloader.h"
#include "support/core_fixture.h"
#include "support/httpserver.h"

#include <QFile>

using namespace zelk;
using namespace zelktest;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class UpdateTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        // A stored configuration, so no first-start message gets in the way,
        // and no station text addresses off this machine.
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                {cfg::Language, QStringLiteral("EN-US")},
                                {24, {}},
                                {25, {}},
                                {27, {}}}));
    }
    void bootAgainst(HttpServer& server)
    {
        start(std::make_shared<NetDownloader>());
        unit->update.server = QString::fromStdString(server.url(""));
        unit->boot.fire();
        ASSERT_TRUE(waitUntil([this] { return !unit->seq.holding(); }));
    }
    bool offered() const { return unit->update.update.on(); }

    HttpServer server;
    const std::string versionPath = "/ZelkCANBUS/Quen/version.txt";
    const std::string installerPath = "/ZelkCANBUS/Quen/Update.exe";
};

TEST_F(UpdateTest, OfferedWhenTheFirstLineDiffersInAnyWay)
{
    const std::pair<const char*, bool> cases[] = {
        {"1.2.0", false}, {"1.2.0\r\nRelease notes", false},
        {"1.2.1", true},  {"1.1.9", true},
        {"1.2.0 ", true}, {"v1.2.0", true},
        {"\t", true},     {"  ", true},
        {"", false},      {" ", false},
    };
    for (const auto& [body, offer] : cases) {
        SCOPED_TRACE(body);
        server.setRoute(versionPath, Route{200, body, "text/plain"});
        bootAgainst(server);
        EXPECT_EQ(offered(), offer);
        EXPECT_EQ(bool(unit->player), !offer) << "the radio starts only without an offer";
        EXPECT_FALSE(unit->boot.isEnabled());
        EXPECT_FALSE(unit->busyCursor.on());
        if (offer) {
            EXPECT_EQ(unit->update.updateTop.value(), 100);
            EXPECT_TRUE(unit->bootImage.on()) << "the boot image stays behind the panel";
        }
        unit.reset();
    }
}

TEST_F(UpdateTest, WithoutServerAnEarlierFileDecidesElseNothingIsOffered)
{
    server.setRoute(versionPath, Route{404, "", "text/plain"});
    bootAgainst(server);
    EXPECT_FALSE(offered()) << "no version known: no update to offer";
    EXPECT_TRUE(unit->player);
    unit.reset();

    for (const auto& [earlier, offer] : {std::pair{"1.3.0", true}, std::pair{"1.2.0", false}}) {
        writeLineFile(dataDir + QStringLiteral("version.txt"), {QString::fromLatin1(earlier)});
        bootAgainst(server);
        EXPECT_EQ(offered(), offer) << earlier;
        unit.reset();
    }
}

TEST_F(UpdateTest, InputDuringTheVersionDownloadActsAfterTheBootStep)
{
    server.setRoute(versionPath, Route{200, "", "text/plain", true}); // hangs
    start(std::make_shared<NetDownloader>());
    unit->update.server = QString::fromStdString(server.url(""));
    unit->boot.fire();
    ASSERT_TRUE(unit->seq.holding());
    // F12 during the download: in the blocked program it came after the
    // boot step, when the radio had started.
    unit->seq.input(unit->hotKey(ScreenId::Form1, Qt::Key_F12, false));
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("15"));
    ASSERT_TRUE(waitUntil([this] { return !unit->seq.holding(); }));
    EXPECT_TRUE(unit->player);
    EXPECT_EQ(unit->volume.volume, 5);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("5"));
}

TEST_F(UpdateTest, CancelStartsTheRadioAndIsNotRemembered)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    bootAgainst(server);
    ASSERT_TRUE(offered());
    unit->update.lab_cancel_click();
    EXPECT_FALSE(offered());
    EXPECT_EQ(unit->update.updateTop.value(), 100);
    ASSERT_TRUE(unit->player);
    EXPECT_TRUE(unit->restartOnce.isEnabled());
    EXPECT_FALSE(unit->bootImage.on());
    unit.reset();

    bootAgainst(server);
    EXPECT_TRUE(offered()) << "the next start offers it again";
}

TEST_F(UpdateTest, InstallShowsTheMessageWaitsFetchesFreshAndOpensTheInstaller)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    server.setRoute(installerPath, Route{200, "MZ installer bytes", "application/octet-stream"});
    bootAgainst(server);
    ASSERT_TRUE(offered());
    bool waitingWhileBoxOpen = false;
    fake.dialogs->whileOpen = [&] {
        waitingWhileBoxOpen =
            unit->update.lab_warning.text() == QStringLiteral("Bitte warten...") &&
            unit->update.installing.on();
    };
    unit->seq.input([this] { unit->update.lab_update_click(); });
    EXPECT_TRUE(waitingWhileBoxOpen);
    EXPECT_EQ(fake.dialogs->infos,
              QStringList{QStringLiteral("Zelk Radio will be updated to 1.2.1 .")});
    // The waits are the UI thread's own: it goes on, and input is not taken.
    EXPECT_TRUE(unit->seq.holding());
    unit->seq.input([this] { unit->radio.startRadio(); });
    EXPECT_EQ(server.requestCount(installerPath), 0) << "one second first";

    ASSERT_TRUE(waitUntil([&] { return fake.quits == 1; }, 15000));
    EXPECT_EQ(server.requestCount(installerPath), 1);
    const auto raw = server.rawRequests();
    EXPECT_NE(raw.back().find("Cache-Control: no-cache"), std::string::npos)
        << "the installer comes past every cache";
    EXPECT_EQ(readAll(dataDir + QStringLiteral("Update.exe")), QByteArray("MZ installer bytes"));
    EXPECT_EQ(fake.shell->opened, QStringList{dataDir + QStringLiteral("Update.exe")});
    EXPECT_FALSE(unit->player) << "the radio never started, and the click was dropped";
}

TEST_F(UpdateTest, FailedInstallerDownloadNeverOpensAnOldInstaller)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    server.setRoute(installerPath, Route{404, "", "text/plain"});
    QFile old(dataDir + QStringLiteral("Update.exe"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old installer");
    old.close();
    bootAgainst(server);
    ASSERT_TRUE(offered());
    unit->update.lab_update_click();
    unit->seq.skipWaits();
    ASSERT_TRUE(waitUntil([this] { return !unit->seq.holding(); }));

    EXPECT_TRUE(fake.shell->opened.isEmpty());
    EXPECT_EQ(fake.quits, 0);
    ASSERT_EQ(fake.dialogs->infos.size(), 2);
    EXPECT_TRUE(fake.dialogs->infos.last().contains(QStringLiteral("could not be downloaded")));
    EXPECT_FALSE(offered());
    EXPECT_TRUE(unit->player) << "the radio starts instead";
    EXPECT_EQ(readAll(dataDir + QStringLiteral("Update.exe")), QByteArray("old installer"));
}

TEST_F(UpdateTest, ClosingWhileTheOfferWaitsEndsWithoutRadio)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    bootAgainst(server);
    unit->closeScreen(ScreenId::Form1);
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(unit->player);
    EXPECT_FALSE(unit->time.isEnabled());
}

TEST_F(UpdateTest, TheTextDownloadsAndTheInstallerAreBoundDifferently)
{
    start();
    fake.downloader->autoFinish = false;
    unit->update.ver_dl = {QStringLiteral("1.2.1")};
    unit->update.lab_update_click();
    unit->seq.skipWaits();
    ASSERT_EQ(fake.downloader->limits.size(), 1);
    const DownloadLimits installer = fake.downloader->limits.last();
    EXPECT_GE(installer.totalTimeoutMs, 60000);
    EXPECT_GT(installer.maxBytes, DownloadLimits::textFile().maxBytes);
    EXPECT_TRUE(fake.downloader->fresh.last()) << "requested after clearUrlCache";
}
