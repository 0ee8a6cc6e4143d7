#pragma once
// The head unit's logic on a temporary data folder with faked platform
// services, under a QCoreApplication: no window anywhere.

#include "app/datadir.h"
#include "app/headunit.h"
#include "platform/rtflines.h"
#include "settings/config.h"
#include "support/fakes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelktest {

using namespace zelk;

class CoreTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureCoreApp(); }

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
    static QStringList configWith(std::initializer_list<std::pair<int, QString>> changes)
    {
        QStringList lines = defaultConfigLines();
        for (const auto& [n, text] : changes)
            lines[n] = text;
        return lines;
    }

    virtual void start(std::shared_ptr<Downloader> downloader = nullptr)
    {
        Services services = fake.services(downloader);
        if (makePlayer)
            services.makePlayer = makePlayer;
        unit = std::make_unique<HeadUnit>(std::move(services), dataDir);
        // No test reaches past this machine: a closed port refuses at once.
        unit->update.server = QStringLiteral("http://127.0.0.1:1");
    }
    // Start-up until the boot step has decided, as the two boot timers and
    // the version download do it.
    void boot(std::shared_ptr<Downloader> downloader = nullptr)
    {
        start(downloader);
        unit->preboot.fire();
        unit->boot.fire();
        waitUntil([this] { return !unit->seq.holding(); });
    }
    // Lets the event loop run until `done` holds (at most a few seconds).
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

    QTemporaryDir tmp;
    QString dataDir;
    FakeServices fake;
    // Another player than the fake one (the real engine).
    std::function<std::unique_ptr<MediaPlayer>()> makePlayer;
    std::unique_ptr<HeadUnit> unit;
};

} // namespace zelktest
