// The version check of the boot step, the update panel, cancel and install,
// against a loopback update server.

#include "platform/netdownloader.h"
#include "settings/setup.h"
#include "support/core_fixture.h"
#include "support/httpserver.h"
#include "support/tlsfront.h"

#include <QDir>
#include <QFile>

using namespace zelk;
using namespace zelktest;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
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
    void bootAgainst(HttpServer& server) { bootAgainst(server.url("")); }
    // The downloader trusts the test's CA besides the system's store.
    void bootAgainst(const std::string& base)
    {
        start(std::make_shared<NetDownloader>(QList<QSslCertificate>{TestCertificates::get().ca}));
        unit->update.server = QString::fromStdString(base);
        unit->boot.fire();
        ASSERT_TRUE(waitUntil([this] { return !unit->seq.holding(); }));
    }
    bool offered() const { return unit->update.update.on(); }
    // Install, with the program's fixed waits cut short, until the program
    // has ended or the boot has gone on without it.
    void installNow()
    {
        unit->update.lab_update_click();
        waitUntil([this] {
            unit->seq.skipWaits();
            return fake.quits > 0 || !unit->seq.holding();
        });
    }

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
    const TestCertificates& certs = TestCertificates::get();
    TlsFront https(server, certs.server, certs.serverKey);
    bootAgainst(https.url(""));
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

TEST_F(UpdateTest, TheBuiltInServerIsAskedOverHttps)
{
    EXPECT_TRUE(QStringLiteral(ZELK_UPDATE_SERVER).startsWith(QLatin1String("https://")));
    HeadUnit fresh(fake.services(), dataDir);
    EXPECT_EQ(fresh.update.server, QStringLiteral(ZELK_UPDATE_SERVER));
}

TEST_F(UpdateTest, AnUnreadableVersionFileIsReportedOnceAndTheRadioStarts)
{
    // A folder in the file's place: it exists, and no download replaces it.
    ASSERT_TRUE(QDir(dataDir).mkdir(QStringLiteral("version.txt")));
    for (const Route& route : {Route{404, "", "text/plain"}, Route{200, "1.2.1", "text/plain"}}) {
        SCOPED_TRACE(route.status);
        fake.dialogs->errors.clear();
        server.setRoute(versionPath, route);
        bootAgainst(server);
        ASSERT_EQ(fake.dialogs->errors.size(), 1);
        EXPECT_TRUE(fake.dialogs->errors.first().contains(QStringLiteral("version.txt")));
        EXPECT_FALSE(offered()) << "as if there were no copy: no release known";
        EXPECT_TRUE(unit->player);
        EXPECT_FALSE(unit->bootImage.on());
        EXPECT_FALSE(unit->busyCursor.on());
        EXPECT_FALSE(unit->boot.isEnabled());
        unit->boot.fire();
        EXPECT_EQ(fake.dialogs->errors.size(), 1) << "the boot step does not run again";
        unit.reset();
    }
}

enum class Origin { Verified, PlainHttp, HttpsThenHttp, UntrustedCertificate };

struct InstallCase
{
    const char* name;
    Origin origin;
    bool opened;
    const char* message; // part of the last message, when not opened
};

TEST_F(UpdateTest, TheInstallerIsOpenedOnlyAfterAVerifiedDownload)
{
    const TestCertificates& certs = TestCertificates::get();
    ASSERT_FALSE(certs.ca.isNull());
    TlsFront https(server, certs.server, certs.serverKey);
    TlsFront untrusted(server, certs.stranger, certs.strangerKey);
    HttpServer plainMirror;
    plainMirror.setRoute(installerPath,
                         Route{200, "MZ from the mirror", "application/octet-stream"});
    server.setRoute(versionPath, Route{200, "1.2.1", "text/plain"});
    const std::string newInstaller = "MZ new installer";

    const InstallCase cases[] = {
        {"https, trusted certificate", Origin::Verified, true, ""},
        {"plain http", Origin::PlainHttp, false, "cannot be installed safely"},
        {"https redirected to http", Origin::HttpsThenHttp, false, "cannot be installed safely"},
        {"https, untrusted certificate", Origin::UntrustedCertificate, false,
         "could not be downloaded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(dataDir + QStringLiteral("Update.exe"), "old installer");
        server.setRoute(installerPath, c.origin == Origin::HttpsThenHttp
                                           ? Route{302, "", "text/plain", false, false,
                                                   "Location: " + plainMirror.url(installerPath)}
                                           : Route{200, newInstaller, "application/octet-stream"});
        bootAgainst(server);
        ASSERT_TRUE(offered());
        const std::string base = c.origin == Origin::PlainHttp              ? server.url("")
                                 : c.origin == Origin::UntrustedCertificate ? untrusted.url("")
                                                                            : https.url("");
        unit->update.server = QString::fromStdString(base);
        fake.dialogs->infos.clear();
        fake.shell->opened.clear();
        fake.quits = 0;
        installNow();

        if (c.opened) {
            EXPECT_EQ(fake.shell->opened, QStringList{dataDir + QStringLiteral("Update.exe")});
            EXPECT_EQ(fake.quits, 1);
            EXPECT_EQ(readAll(dataDir + QStringLiteral("Update.exe")),
                      QByteArray::fromStdString(newInstaller));
            EXPECT_EQ(fake.dialogs->infos.size(), 1) << "only the update message";
        } else {
            EXPECT_TRUE(fake.shell->opened.isEmpty());
            EXPECT_EQ(fake.quits, 0);
            ASSERT_EQ(fake.dialogs->infos.size(), 2);
            EXPECT_TRUE(fake.dialogs->infos.last().contains(QLatin1String(c.message)))
                << fake.dialogs->infos.last().toStdString();
            if (c.origin != Origin::UntrustedCertificate) {
                EXPECT_TRUE(fake.dialogs->infos.last().contains(kProjectPage))
                    << "it says where to get the release";
            }
            EXPECT_FALSE(offered());
            EXPECT_TRUE(unit->player) << "the radio starts instead";
            EXPECT_EQ(readAll(dataDir + QStringLiteral("Update.exe")), QByteArray("old installer"));
        }
        EXPECT_FALSE(QFile::exists(dataDir + QStringLiteral("Update.exe.download")))
            << "no unverified program is left behind";
        unit.reset();
    }
}

struct LanguageCase
{
    const char* name;
    const char* language; // configuration line; nullptr: no Radio.ini yet
    bool german;
};

TEST_F(UpdateTest, TheRefusalsFollowTheLanguageOfTheScreens)
{
    const LanguageCase cases[] = {
        {"first start: German design texts", nullptr, true},
        {"German file applied", "DE-DE", true},
        {"English file applied", "EN-US", false},
        {"German code without a file: the English list is shown", "DE-AT", false},
    };
    // The installer comes over plain http (refused), or not at all (failed).
    const std::pair<const char*, std::pair<const char*, const char*>> outcomes[] = {
        {"http://127.0.0.1:1", {"nicht sicher installiert", "cannot be installed safely"}},
        {"http://127.0.0.1:2", {"konnte nicht heruntergeladen", "could not be downloaded"}},
    };
    fake.downloader->files.insert(QStringLiteral("http://127.0.0.1:1/ZelkCANBUS/Quen/Update.exe"),
                                  "MZ");
    for (const auto& c : cases) {
        for (const auto& [base, texts] : outcomes) {
            SCOPED_TRACE(std::string(c.name) + " " + base);
            if (c.language)
                writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                        {cfg::Language, QLatin1String(c.language)}}));
            else
                QFile::remove(dataDir + QStringLiteral("Radio.ini"));
            boot();
            EXPECT_EQ(unit->settings.shownLanguage(),
                      c.german ? UiLanguage::German : UiLanguage::English);
            unit->update.server = QLatin1String(base);
            unit->update.ver_dl = {QStringLiteral("1.2.1")};
            fake.dialogs->infos.clear();
            installNow();
            ASSERT_EQ(fake.dialogs->infos.size(), 2);
            EXPECT_TRUE(fake.dialogs->infos.last().contains(
                QLatin1String(c.german ? texts.first : texts.second)))
                << fake.dialogs->infos.last().toStdString();
            EXPECT_FALSE(fake.dialogs->infos.last().contains(
                QLatin1String(c.german ? texts.second : texts.first)));
            unit.reset();
        }
    }
}
