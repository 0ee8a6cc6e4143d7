// The version check of the boot step, the update panel, cancel and install,
// against a loopback update server.

#include "platform/curldownloader.h"
#include "support/headunit_fixture.h"
#include "support/httpserver.h"

#include <QFile>
#include <QProgressBar>

using namespace zelk;
using namespace zelktest;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class UpdateTest : public HeadUnitTest
{
protected:
    void SetUp() override
    {
        HeadUnitTest::SetUp();
        // A stored configuration, so no first-start message gets in the way,
        // and no station text addresses off this machine.
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                {cfg::Language, QStringLiteral("EN-US")},
                                {24, {}}, {25, {}}, {27, {}}}));
    }
    void bootAgainst(HttpServer& server)
    {
        start(std::make_shared<CurlDownloader>(DownloadLimits{1000, 2000, 1024 * 1024}));
        f1->updateServer = QString::fromStdString(server.url(""));
        f1->boot->fire();
    }
    bool offered() const { return !f1->update_panel->isHidden(); }

    HttpServer server;
    const std::string versionPath = "/ZelkCANBUS/Quen/version.txt";
    const std::string installerPath = "/ZelkCANBUS/Quen/Update.exe";
};

TEST_F(UpdateTest, OfferedWhenTheFirstLineDiffersInAnyWay)
{
    const std::pair<const char*, bool> cases[] = {
        {"1.2.0", false},         {"1.2.0\r\nRelease notes", false}, {"1.2.1", true},
        {"1.1.9", true},          {"1.2.0 ", true},                  {"v1.2.0", true},
        {"", false},              {" ", false},
    };
    for (const auto& [body, offer] : cases) {
        SCOPED_TRACE(body);
        server.setRoute(versionPath, Route{200, body, "text/plain"});
        bootAgainst(server);
        EXPECT_EQ(offered(), offer);
        EXPECT_EQ(bool(f1->player), !offer) << "the radio starts only without an offer";
        EXPECT_FALSE(f1->boot->isEnabled());
        if (offer) {
            EXPECT_EQ(f1->elements().designTop(f1->update_panel), 100);
            EXPECT_EQ(f1->update_panel->geometry(), QRect(0, 100, f1->width(), f1->height()));
            EXPECT_FALSE(f1->bootscreen->isHidden()) << "the boot image stays behind the panel";
        }
        unit.reset();
    }
}

TEST_F(UpdateTest, WithoutServerAnEarlierFileDecidesElseNothingIsOffered)
{
    server.setRoute(versionPath, Route{404, "", "text/plain"});
    bootAgainst(server);
    EXPECT_FALSE(offered()) << "no version known: no update to offer";
    EXPECT_TRUE(f1->player);
    unit.reset();

    for (const auto& [earlier, offer] : {std::pair{"1.3.0", true}, std::pair{"1.2.0", false}}) {
        writeLineFile(dataDir + QStringLiteral("version.txt"), {QString::fromLatin1(earlier)});
        bootAgainst(server);
        EXPECT_EQ(offered(), offer) << earlier;
        unit.reset();
    }
}

TEST_F(UpdateTest, CancelStartsTheRadioAndIsNotRemembered)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    bootAgainst(server);
    ASSERT_TRUE(offered());
    Q_EMIT f1->lab_cancel->clicked();
    EXPECT_FALSE(offered());
    EXPECT_EQ(f1->elements().designTop(f1->update_panel), 100);
    ASSERT_TRUE(f1->player);
    EXPECT_TRUE(f1->restartOnce->isEnabled());
    EXPECT_TRUE(f1->bootscreen->isHidden());
    unit.reset();

    bootAgainst(server);
    EXPECT_TRUE(offered()) << "the next start offers it again";
}

TEST_F(UpdateTest, InstallShowsTheMessageFetchesAndOpensTheInstaller)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    server.setRoute(installerPath, Route{200, "MZ installer bytes", "application/octet-stream"});
    bootAgainst(server);
    ASSERT_TRUE(offered());
    bool waitingWhileBoxOpen = false;
    fake.dialogs->whileOpen = [&] {
        waitingWhileBoxOpen = f1->lab_warning->text() == QStringLiteral("Bitte warten...")
                              && f1->lab_update->isHidden() && f1->lab_cancel->isHidden()
                              && !f1->update_progress->isHidden() && f1->bg_but->isHidden()
                              && !f1->bg_nobut->isHidden();
    };
    Q_EMIT f1->lab_update->clicked();

    EXPECT_TRUE(waitingWhileBoxOpen);
    EXPECT_EQ(fake.dialogs->infos,
              QStringList{QStringLiteral("Zelk Radio will be updated to 1.2.1 .")});
    EXPECT_EQ(fake.sleeper->sleeps, (QList<int>{1000, 5000}));
    EXPECT_EQ(server.requestCount(installerPath), 1);
    EXPECT_EQ(readAll(dataDir + QStringLiteral("Update.exe")), QByteArray("MZ installer bytes"));
    EXPECT_EQ(fake.shell->opened, QStringList{dataDir + QStringLiteral("Update.exe")});
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(f1->player) << "the radio never started";
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
    Q_EMIT f1->lab_update->clicked();

    EXPECT_TRUE(fake.shell->opened.isEmpty());
    EXPECT_EQ(fake.quits, 0);
    ASSERT_EQ(fake.dialogs->infos.size(), 2);
    EXPECT_TRUE(fake.dialogs->infos.last().contains(QStringLiteral("could not be downloaded")));
    EXPECT_FALSE(offered());
    EXPECT_TRUE(f1->player) << "the radio starts instead";
    EXPECT_EQ(readAll(dataDir + QStringLiteral("Update.exe")), QByteArray("old installer"));
}

TEST_F(UpdateTest, ClosingWhileTheOfferWaitsEndsWithoutRadio)
{
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    bootAgainst(server);
    f1->close();
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(f1->player);
    EXPECT_FALSE(f1->time->isEnabled());
}
