// The program's life: the boot sequence, the restore step, the screen
// switches as the logic asks for them, the hot keys and the ends.

#include "support/core_fixture.h"

#include <QSignalSpy>

using namespace zelk;
using namespace zelktest;

class AppTest : public CoreTest
{
};

TEST_F(AppTest, CreatedWithTheBootImageAndTheTimersOfTheStart)
{
    start();
    EXPECT_TRUE(unit->bootImage.on());
    EXPECT_TRUE(unit->busyCursor.on());
    EXPECT_TRUE(unit->stationText.rdsText.text().isEmpty());
    EXPECT_EQ(unit->clock.text().count(QLatin1Char(':')), 2);
    for (UiTimer* t : {&unit->preboot, &unit->boot, &unit->time, &unit->stationText.RDStimer})
        EXPECT_TRUE(t->isEnabled());
    for (UiTimer* t : {&unit->restartOnce, &unit->volume.form1.voltimer, &unit->music.MusicID3Check,
                       &unit->music.pause, &unit->music.check_PlaylistItem, &unit->music.skip2last,
                       &unit->volume.form2.voltimer, &unit->volume.form3.voltimer})
        EXPECT_FALSE(t->isEnabled());
    EXPECT_FALSE(unit->player);
}

TEST_F(AppTest, PrebootHidesTheOtherScreensOnce)
{
    start();
    QSignalSpy hidden(&unit->screens, &ScreenManager::hidden);
    unit->preboot.fire();
    ASSERT_EQ(hidden.size(), 3);
    EXPECT_EQ(hidden[0][0].value<ScreenId>(), ScreenId::Form2);
    EXPECT_EQ(hidden[1][0].value<ScreenId>(), ScreenId::Form3);
    EXPECT_EQ(hidden[2][0].value<ScreenId>(), ScreenId::Form5);
    EXPECT_FALSE(unit->preboot.isEnabled());
}

TEST_F(AppTest, FirstStartWritesTheDefaultsAndStartsPresetOne)
{
    boot();
    ASSERT_EQ(fake.dialogs->infos,
              QStringList{QStringLiteral("Configuration couldn't be found. Creating a new one.")});
    EXPECT_EQ(storedConfig(), defaultConfigLines());
    ASSERT_TRUE(unit->player);
    EXPECT_EQ(fake.player->created, 1);
    EXPECT_EQ(fake.player->urls.value(0), defaultConfigLines().at(17));
    EXPECT_GE(fake.player->plays, 1);
    EXPECT_FALSE(unit->bootImage.on());
    EXPECT_FALSE(unit->busyCursor.on());
    EXPECT_TRUE(unit->radio.started.on());
    EXPECT_TRUE(unit->radio.volumeKeysShown.on());
    EXPECT_FALSE(unit->boot.isEnabled());
    EXPECT_TRUE(unit->restartOnce.isEnabled());
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("1LIVE"));
    EXPECT_EQ(unit->radio.menuAktSender.text(), QStringLiteral("Radio: 1LIVE"));
    EXPECT_EQ(unit->radio.webAktSender.text(), QStringLiteral("Radio: 1LIVE"));
    EXPECT_EQ(unit->settingsVersion.text(), QStringLiteral("1.2.0"));
    // No language was applied and no setting loaded: the design values stay.
    EXPECT_EQ(unit->radio.Label1.text(), QStringLiteral("Radio"));
    EXPECT_EQ(unit->settings.live.URL.text(), maps::DesignUrl);
    EXPECT_FALSE(unit->settings.live.auto_changemode.on());
    EXPECT_FALSE(unit->screens.windowMode.on()) << "line 37 is only applied from a stored file";
    EXPECT_TRUE(fake.downloader->requested.value(0).endsWith(
        QStringLiteral("/ZelkCANBUS/Quen/version.txt")));
    EXPECT_TRUE(fake.downloader->fresh.value(0)) << "the cache is cleared before";
}

TEST_F(AppTest, SecondStartAppliesTheStoredSettings)
{
    writeConfig(configWith({{cfg::Language, QStringLiteral("EN-US")},
                            {cfg::Fullscreen, QStringLiteral("false")},
                            {cfg::StationName1, QStringLiteral("Mein Sender")},
                            {cfg::NaviUrl, QStringLiteral("http://map.example/")},
                            {cfg::Playlist, QStringLiteral("/music/list.wpl")},
                            {cfg::MuteInSettings, QStringLiteral("true")},
                            {cfg::AutoChangeMode, QStringLiteral("True")}}));
    start();
    QSignalSpy captions(&unit->settings, &Settings::caption);
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return bool(unit->player); }));
    EXPECT_TRUE(fake.dialogs->infos.isEmpty());
    EXPECT_EQ(unit->settings.languageCode, QStringLiteral("EN-US"));
    EXPECT_EQ(unit->settings.live.lang.text(), QStringLiteral("EN-US"));
    EXPECT_EQ(unit->radio.menuAktSender.text(), QStringLiteral("Radio: Mein Sender"));
    EXPECT_EQ(unit->update.lab_update.text(), QStringLiteral("Install"));
    EXPECT_TRUE(unit->screens.windowMode.on());
    EXPECT_TRUE(unit->settings.live.fullscreen_false.on());
    EXPECT_TRUE(unit->settings.live.fs_changed.on());
    EXPECT_EQ(unit->settings.live.URL.text(), QStringLiteral("http://map.example/"));
    EXPECT_EQ(unit->settings.live.filename.text(), QStringLiteral("/music/list.wpl"));
    EXPECT_TRUE(unit->settings.live.mute_Settings.on());
    EXPECT_FALSE(unit->settings.live.auto_changemode.on()) << "\"True\" is not \"true\"";
    bool backOnMenu = false;
    for (const auto& c : captions)
        backOnMenu |= c[0].value<ScreenId>() == ScreenId::Form2 &&
                      c[1].toString() == QLatin1String("butback") &&
                      c[2].toString() == QLatin1String("Back");
    EXPECT_TRUE(backOnMenu);
}

TEST_F(AppTest, FullScreenStartLocksTheWindowSizeControlsAtTheScreenSize)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("False")}}));
    start();
    unit->screens.setSizeSource([](ScreenId) { return QSize(1920, 1080); });
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return bool(unit->player); }));
    const LiveSettings& live = unit->settings.live;
    EXPECT_FALSE(unit->screens.windowMode.on());
    EXPECT_FALSE(live.windowSizeEnabled.on());
    EXPECT_FALSE(live.CB_aufl_chgbl.on());
    EXPECT_EQ(live.aufl_x.value(), 1920);
    EXPECT_EQ(live.aufl_y.value(), 1080);
    EXPECT_FALSE(live.fs_changed.on());
}

TEST_F(AppTest, BootStepDoesNotRunAgainWhileItsMessageBoxWaits)
{
    start();
    int ticksInside = 0;
    fake.dialogs->whileOpen = [&] {
        ++ticksInside;
        unit->boot.fire(); // the boot timer ticks inside the nested loop
    };
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return bool(unit->player); }));
    EXPECT_EQ(ticksInside, 1);
    EXPECT_EQ(fake.dialogs->infos.size(), 1);
    EXPECT_EQ(fake.player->created, 1);
    EXPECT_EQ(fake.downloader->requested.size(), 1 + 12) << "one version file, two refreshes";
}

TEST_F(AppTest, ClosingAnyScreenStopsEveryTimerAndEndsTheProgram)
{
    for (ScreenId screen : kAllScreens) {
        SCOPED_TRACE(static_cast<int>(screen));
        fake.quits = 0;
        boot();
        for (UiTimer* t :
             {&unit->volume.form1.voltimer, &unit->volume.form2.voltimer,
              &unit->volume.form3.voltimer, &unit->music.skip2last, &unit->music.check_PlaylistItem,
              &unit->music.pause, &unit->music.MusicID3Check})
            t->setEnabled(true);
        unit->closeScreen(screen);
        EXPECT_EQ(fake.quits, 1);
        for (UiTimer* t :
             {&unit->preboot, &unit->boot, &unit->restartOnce, &unit->time,
              &unit->stationText.RDStimer, &unit->volume.form1.voltimer,
              &unit->volume.form2.voltimer, &unit->volume.form3.voltimer, &unit->music.skip2last,
              &unit->music.check_PlaylistItem, &unit->music.pause, &unit->music.MusicID3Check})
            EXPECT_FALSE(t->isEnabled());
        unit.reset();
    }
}

TEST_F(AppTest, ClosingWhileTheFirstStartMessageWaitsDoesNotStartTheRadio)
{
    start();
    fake.dialogs->whileOpen = [&] { unit->closeScreen(ScreenId::Form2); };
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return !unit->seq.holding(); }));
    EXPECT_EQ(fake.quits, 1);
    EXPECT_FALSE(unit->player);
    EXPECT_FALSE(QFile::exists(dataDir + QStringLiteral("Radio.ini")));
}

TEST_F(AppTest, SettingsExitStopsTheTimersAndEndsASecondLater)
{
    boot();
    unit->setup.exit_click();
    EXPECT_FALSE(unit->time.isEnabled());
    EXPECT_EQ(fake.quits, 0);
    unit->seq.input([this] { unit->radio.Button3(); });
    unit->seq.skipWaits();
    EXPECT_EQ(fake.quits, 1);
    EXPECT_NE(unit->radio.speicher.text(), QStringLiteral("FM: 3")) << "no input after exit";
}

TEST_F(AppTest, PresetsBeforeTheRadioStartsAreIgnoredFully)
{
    start();
    // F1 during the boot image, back to the radio screen, a preset tap.
    unit->seq.run(unit->hotKey(ScreenId::Form1, Qt::Key_F1, false));
    unit->menu.takemeback();
    unit->radio.Button3();
    EXPECT_EQ(unit->radio.presets(), PresetLook{});
    EXPECT_EQ(unit->radio.speicher.text(), QStringLiteral("FM: 1"));
    EXPECT_FALSE(QFile::exists(dataDir + QStringLiteral("Radio.ini")));
    // The first start still comes with its message.
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return bool(unit->player); }));
    EXPECT_EQ(fake.dialogs->infos.size(), 1);
}

TEST_F(AppTest, ClockTicksIntoOneValue)
{
    start();
    unit->clock.set(QStringLiteral("00:00"));
    unit->time.fire();
    EXPECT_NE(unit->clock.text(), QStringLiteral("00:00"));
    EXPECT_EQ(unit->clock.text().count(QLatin1Char(':')), 2);
}

TEST_F(AppTest, HotKeysGoToTheShownScreenElseToTheRadioScreen)
{
    boot();
    unit->restartOnce.setEnabled(false);
    unit->volume.volume = 50;
    QSignalSpy shown(&unit->screens, &ScreenManager::shown);
    QSignalSpy handed(&unit->screens, &ScreenManager::geometryHandedOver);
    // F1 on the web view: the menu comes with the radio screen's place.
    unit->seq.run(unit->hotKey(ScreenId::Form3, Qt::Key_F1, false));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0][0].value<ScreenId>(), ScreenId::Form2);
    EXPECT_EQ(handed[0][0].value<ScreenId>(), ScreenId::Form1);
    // F12 on the menu is its own; on the settings screen the radio screen's.
    unit->seq.run(unit->hotKey(ScreenId::Form2, Qt::Key_F12, false));
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("15"));
    unit->seq.run(unit->hotKey(ScreenId::Form5, Qt::Key_F11, false));
    EXPECT_EQ(unit->volume.volume, 50);
    EXPECT_EQ(storedConfig().value(cfg::Volume), QStringLiteral("50"));
    // F5 on any screen: window mode, again on every press.
    QSignalSpy windowMode(&unit->screens, &ScreenManager::windowModeEntered);
    unit->seq.run(unit->hotKey(ScreenId::Form5, Qt::Key_F5, false));
    unit->seq.run(unit->hotKey(ScreenId::Form2, Qt::Key_F5, false));
    EXPECT_EQ(windowMode.size(), 2);
}

struct RestoreCase
{
    const char* line7;
    const char* line3;
    const char* speicher;
    int volume;
};

TEST_F(AppTest, RestoreStepTunesTheStoredPresetAndLoadsTheLevel)
{
    const RestoreCase cases[] = {
        {"3", "40", "FM: 3", 40},  {"6", "98", "FM: 6", 98}, {"7", "15", "FM: 1", 15},
        {"", "15", "FM: 1", 15},   {"3 ", "x", "FM: 1", 0},  {"1", "250", "FM: 1", 100},
        {"2", " 40 ", "FM: 2", 0}, {"2", "-5", "FM: 2", 0},  {"4", "+35", "FM: 4", 35},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line7) + " / " + c.line3);
        writeConfig(configWith({{cfg::ActiveStation, QString::fromLatin1(c.line7)},
                                {cfg::Volume, QString::fromLatin1(c.line3)},
                                {cfg::RadioMode, QStringLiteral("true")},
                                {cfg::Fullscreen, QStringLiteral("true")}}));
        boot();
        const int urls = static_cast<int>(fake.player->urls.size());
        fake.player->volumes.clear();
        unit->restartOnce.fire();
        EXPECT_EQ(unit->radio.speicher.text(), QString::fromLatin1(c.speicher));
        EXPECT_EQ(unit->volume.volume, c.volume);
        EXPECT_FALSE(unit->restartOnce.isEnabled());
        const QString line7 = QString::fromLatin1(c.line7);
        const bool tuned = line7.size() == 1 && line7 != QLatin1String("7");
        EXPECT_EQ(fake.player->urls.size(), urls + (tuned ? 1 : 0));
        if (!tuned) {
            EXPECT_EQ(storedConfig().value(cfg::ActiveStation), line7);
        }
        EXPECT_TRUE(fake.player->volumes.isEmpty()) << "the level reaches the player later";
        unit.reset();
    }
}

TEST_F(AppTest, LanguageLoadWritesEveryTargetInTableOrder)
{
    writeConfig(configWith(
        {{cfg::Language, QStringLiteral("DE-DE")}, {cfg::Fullscreen, QStringLiteral("true")}}));
    start();
    QSignalSpy captions(&unit->settings, &Settings::caption);
    unit->boot.fire();
    ASSERT_TRUE(waitUntil([this] { return bool(unit->player); }));
    EXPECT_EQ(unit->settings.MUI.line(7), QStringLiteral("Zurück"));
    EXPECT_EQ(unit->update.lab_update.text(), QStringLiteral("Installieren"));
    QStringList order;
    for (const auto& c : captions)
        order << c[1].toString();
    EXPECT_EQ(order.first(), QStringLiteral("Label14"));
    EXPECT_EQ(order.last(), QStringLiteral("also_visible"));
    for (const auto& c : captions)
        if (c[1].toString() == QLatin1String("programmedby")) {
            EXPECT_TRUE(c[2].toString().endsWith(QStringLiteral(" Velmarin")));
        }
    // A code without a file keeps the list loaded last.
    unit->settings.languageCode = QStringLiteral("FR-FR");
    unit->settings.loadlang();
    EXPECT_EQ(unit->settings.MUI.line(7), QStringLiteral("Zurück"));
}

TEST_F(AppTest, TextsOutsideTheListFollowTheLanguageTheScreensShow)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")}}));
    start();
    const UiText text{"Hallo", "Hello"};
    EXPECT_EQ(unit->settings.shownLanguage(), UiLanguage::German) << "the design texts";
    EXPECT_EQ(unit->settings.text(text), QStringLiteral("Hallo"));
    const std::pair<const char*, UiLanguage> steps[] = {
        {"EN-US", UiLanguage::English},
        // A German code without a file: the list, and so the screens, stay English.
        {"DE-AT", UiLanguage::English},
        {"DE-DE", UiLanguage::German},
        // A code without a file keeps the German list on the screens.
        {"FR-FR", UiLanguage::German},
        {"EN-US", UiLanguage::English},
    };
    for (const auto& [code, shown] : steps) {
        SCOPED_TRACE(code);
        unit->settings.languageCode = QLatin1String(code);
        unit->settings.loadlang();
        EXPECT_EQ(unit->settings.shownLanguage(), shown);
        EXPECT_EQ(unit->settings.text(text),
                  shown == UiLanguage::German ? QStringLiteral("Hallo") : QStringLiteral("Hello"));
    }
}
