#pragma once
// A head unit on a temporary data folder with faked platform services.

#include "app/datadir.h"
#include "app/headunit.h"
#include "platform/rtflines.h"
#include "screens/Unit1.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"
#include "settings/config.h"
#include "support/fakes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelktest {

using namespace zelk;

class HeadUnitTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureApp(); }

    void SetUp() override
    {
        dataDir = tmp.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
        ASSERT_FALSE(prepareDataDir(dataDir).has_value());
    }

    void writeConfig(const QStringList& lines)
    {
        writeLineFile(dataDir + QStringLiteral("Radio.ini"), lines);
    }
    QStringList storedConfig() const
    {
        return readLineFile(dataDir + QStringLiteral("Radio.ini")).value_or(QStringList());
    }
    QStringList configWith(std::initializer_list<std::pair<int, QString>> changes) const
    {
        QStringList lines = defaultConfigLines();
        for (const auto& [n, text] : changes)
            lines[n] = text;
        return lines;
    }

    void start(std::shared_ptr<Downloader> downloader = nullptr)
    {
        unit = std::make_unique<HeadUnit>(fake.services(downloader), dataDir);
        f1 = unit->Form1;
        f2 = unit->Form2;
        f3 = unit->Form3;
        f5 = unit->Form5;
    }
    // Start-up to the running radio, as the two boot timers do it.
    void boot(std::shared_ptr<Downloader> downloader = nullptr)
    {
        start(downloader);
        f1->preboot->fire();
        f1->boot->fire();
    }

    QTemporaryDir tmp;
    QString dataDir;
    FakeServices fake;
    std::unique_ptr<HeadUnit> unit;
    TForm1* f1 = nullptr;
    TForm2* f2 = nullptr;
    TForm3* f3 = nullptr;
    TForm5* f5 = nullptr;
};

} // namespace zelktest
