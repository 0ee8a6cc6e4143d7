// The six presets, the way back from music mode, and the radio reloaded
// when the settings screen is left.

#include "support/core_fixture.h"

#include <QDir>

using namespace zelk;
using namespace zelktest;

class RadioTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
    }
};

TEST_F(RadioTest, EachPresetTunesHighlightsAndStores)
{
    boot();
    const Radio& radio = unit->radio;
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const int playsBefore = fake.player->plays;
        unit->radio.ButtonN(n);
        EXPECT_EQ(radio.speicher.text(), QStringLiteral("FM: %1").arg(n));
        EXPECT_EQ(radio.sendername.text(), defaultConfigLines().at(9 + n));
        EXPECT_EQ(fake.player->urls.last(), defaultConfigLines().at(16 + n));
        EXPECT_EQ(fake.player->plays, playsBefore + 1);
        EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QString::number(n));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(radio.presets().selected[i], i == n - 1);
            EXPECT_EQ(radio.presets().unselected[i], i != n - 1);
            EXPECT_EQ(radio.presets().highlighted[i], i == n - 1);
        }
        EXPECT_EQ(radio.menuAktSender.text(), QStringLiteral("Radio: ") + radio.sendername.text());
        EXPECT_EQ(radio.webAktSender.text(), radio.menuAktSender.text());
    }
    // The selected preset again restarts the same stream.
    const int plays = fake.player->plays;
    unit->radio.Button6();
    EXPECT_EQ(fake.player->urls.last(), defaultConfigLines().at(22));
    EXPECT_EQ(fake.player->plays, plays + 1);
}

TEST_F(RadioTest, FailedSaveOfAPresetHighlightsButDoesNotPlay)
{
    boot();
    const int plays = fake.player->plays;
    // Root ignores permissions: a folder in the file's place makes it fail.
    QFile::remove(dataDir + QStringLiteral("Radio.ini"));
    ASSERT_TRUE(QDir().mkpath(dataDir + QStringLiteral("Radio.ini")));
    unit->seq.input([this] { unit->radio.Button4(); });
    ASSERT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_TRUE(fake.dialogs->errors.first().contains(QStringLiteral("Radio.ini")));
    EXPECT_TRUE(unit->radio.presets().selected[3]);
    EXPECT_EQ(fake.player->urls.last(), defaultConfigLines().at(20));
    EXPECT_EQ(fake.player->plays, plays);
    EXPECT_EQ(unit->settings.config.line(cfg::ActiveStation), QStringLiteral("4"));
}

TEST_F(RadioTest, RefusedPlayerCallEndsTheTuneWithAnErrorBox)
{
    boot();
    fake.player->failing.insert(QStringLiteral("setUrl"));
    unit->seq.input([this] { unit->radio.Button2(); });
    ASSERT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_TRUE(fake.dialogs->errors.first().contains(QStringLiteral("refused")));
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("WDR2")) << "the steps before ran";
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("1")) << "not stored";
}

TEST_F(RadioTest, PlayerThatCannotStartEndsTheBootStepWhichTriesAgain)
{
    fake.player->failing.insert(QStringLiteral("create"));
    boot();
    ASSERT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_FALSE(unit->player);
    EXPECT_TRUE(unit->boot.isEnabled()) << "the next tick tries again";
    fake.player->failing.clear();
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return bool(unit->player); }));
}

TEST_F(RadioTest, BackToRadioModeWaitsASecondThenResumesOnPresetOne)
{
    boot();
    unit->restartOnce.setEnabled(false);
    unit->radio.Button4();
    unit->radio.radiomode.set(false);
    unit->radio.showPresets(false);
    unit->music.transport.set(true);
    unit->music.progressShown.set(true);
    unit->volume.savedVolume = 35;
    bool callerContinued = false;
    unit->seq.input([&] { unit->radio.sw2_radio([&] { callerContinued = true; }); });
    // The first half: the old source stops, the screen shows the presets.
    EXPECT_EQ(fake.player->stops, 1);
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("Laden..."));
    EXPECT_EQ(unit->radio.presets().selected,
              (std::array<bool, 6>{true, true, true, true, true, true}));
    EXPECT_FALSE(unit->music.transport.on());
    EXPECT_EQ(unit->radio.Label1.text(), QStringLiteral("Radio"));
    EXPECT_TRUE(unit->stationText.RDStimer.isEnabled());
    // A preset tap during the second waits for it, as it did in the blocked program.
    unit->seq.input([this] { unit->radio.Button5(); });
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("4"));
    EXPECT_FALSE(callerContinued);

    ASSERT_TRUE(waitUntil([this] { return !unit->seq.holding(); }, 3000));
    EXPECT_TRUE(callerContinued);
    EXPECT_EQ(fake.player->volumes.last(), 35);
    EXPECT_FALSE(unit->music.progressShown.on());
    EXPECT_EQ(unit->radio.speicher.text(), QStringLiteral("FM: 5")) << "the tap came after";
    EXPECT_EQ(fake.player->urls.at(fake.player->urls.size() - 2), defaultConfigLines().at(17))
        << "preset 1 first";
}

TEST_F(RadioTest, LeavingTheSettingsResumesAndReloadsTheRadioFromTheFile)
{
    boot();
    unit->seq.run([this] { unit->menu.sw2Setup(); });
    // Another program changes the stored names meanwhile.
    QStringList lines = storedConfig();
    lines[cfg::StationName1] = QStringLiteral("Neuer Name");
    writeConfig(lines);
    unit->radio.sendername.set(QStringLiteral("Neuer Name"));
    const int plays = fake.player->plays;
    const auto requests = fake.downloader->requested.size();
    unit->setup.but_back();
    EXPECT_EQ(unit->settings.config.line(cfg::StationName1), QStringLiteral("Neuer Name"));
    EXPECT_EQ(fake.player->plays, plays + 2) << "resumed, then reloadRadio plays";
    EXPECT_EQ(unit->radio.menuAktSender.text(), QStringLiteral("Radio: Neuer Name"));
    EXPECT_EQ(fake.downloader->requested.size(), requests + 6) << "the station texts refresh";
}
