// The station text: six files fetched from a loopback server on each
// refresh, the first line of the selected preset's file shown.

#include "platform/curldownloader.h"
#include "support/headunit_fixture.h"
#include "support/httpserver.h"

#include <QFile>

using namespace zelk;
using namespace zelktest;

class StationTextTest : public HeadUnitTest
{
protected:
    void SetUp() override
    {
        HeadUnitTest::SetUp();
        server.setRoute("/1", Route{200, "Title One\nsecond line", "text/plain"});
        server.setRoute("/2", Route{404, "", "text/plain"});
        server.setRoute("/3", Route{200, "", "text/plain"});
        server.setRoute("/4", Route{200,
                                    "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}"
                                    "\\pard Gr\\'fc\\'dfe aus K\\'f6ln\\par Zweite\\par}",
                                    "application/rtf"});
        server.setRoute("/5", Route{200, "<b>Jetzt:</b> Grüße\r\n", "text/plain"});
        QStringList lines = configWith({{cfg::Fullscreen, QStringLiteral("true")}});
        for (int n = 1; n <= 5; ++n)
            lines[cfg::RdsUrl1 - 1 + n] =
                QString::fromStdString(server.url("/" + std::to_string(n)));
        lines[cfg::RdsUrl1 + 5] = QString(); // preset 6 has no station text address
        writeConfig(lines);
    }
    void bootHere()
    {
        boot(std::make_shared<CurlDownloader>(DownloadLimits{500, 1000, 1024 * 1024}));
    }
    void writeFile(const QString& name, const QByteArray& data)
    {
        QFile f(dataDir + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }

    HttpServer server;
};

TEST_F(StationTextTest, EachPresetShowsTheFirstLineOfItsFile)
{
    writeFile(QStringLiteral("RDS6.ini"), "Earlier text\n");
    bootHere();
    EXPECT_EQ(f1->rdsText->text(), QStringLiteral("Title One"));
    const QString expected[6] = {QStringLiteral("Title One"), QString(), QString(),
                                 QStringLiteral("Grüße aus Köln"),
                                 QStringLiteral("<b>Jetzt:</b> Grüße"),
                                 QStringLiteral("Earlier text")};
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(f1->rds_data.value(n - 1), expected[n - 1]);
        f1->ButtonN(n);
        EXPECT_EQ(f1->rdsText->text(), expected[n - 1]);
    }
    EXPECT_EQ(f1->rdsText->textFormat(), Qt::PlainText);
    EXPECT_GE(server.requestCount("/1"), 2) << "startRadio refreshes, each tune refreshes";
}

TEST_F(StationTextTest, UnreachableAddressKeepsTheLastGoodText)
{
    bootHere();
    f1->ButtonN(1);
    ASSERT_EQ(f1->rdsText->text(), QStringLiteral("Title One"));
    server.setRoute("/1", Route{500, "error page", "text/html"});
    f1->RDStimer->fire();
    EXPECT_EQ(f1->rdsText->text(), QStringLiteral("Title One"));
}

TEST_F(StationTextTest, RefreshReadsTheConfigurationAgain)
{
    bootHere();
    // Another program changes the stored preset meanwhile.
    QStringList lines = storedConfig();
    lines[cfg::ActiveStation] = QStringLiteral("4");
    writeConfig(lines);
    f1->RDStimer->fire();
    EXPECT_EQ(f1->rdsText->text(), QStringLiteral("Grüße aus Köln"));

    lines[cfg::ActiveStation] = QStringLiteral("9");
    writeConfig(lines);
    f1->RDStimer->fire();
    EXPECT_EQ(f1->rdsText->text(), QStringLiteral("Grüße aus Köln")) << "no preset: unchanged";
}

TEST_F(StationTextTest, MusicModeFetchesNothing)
{
    bootHere();
    const auto before = server.requests().size();
    f1->radiomode = false;
    f1->rdsText->setText(QStringLiteral("/music/list.wpl"));
    f1->reloadRDS();
    EXPECT_EQ(server.requests().size(), before);
    EXPECT_EQ(f1->rdsText->text(), QStringLiteral("/music/list.wpl"));
}

TEST_F(StationTextTest, HangingServersHoldOneRefreshOnlyForTheTimeout)
{
    bootHere();
    for (int n = 1; n <= 5; ++n)
        server.setRoute("/" + std::to_string(n), Route{200, "", "text/plain", true});
    // Six hanging downloads run side by side; the refresh comes back when
    // the first timeout ends them all (a serial refresh would hang 5 times
    // as long, and a missing bound would hang the test).
    f1->RDStimer->fire();
    EXPECT_EQ(f1->rdsText->text(), QStringLiteral("Title One")) << "the old file is kept";
}
