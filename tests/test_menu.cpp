// The main menu: the tiles, the mode it stores, the warning without a
// playlist, the way into the settings and to the web pages.

#include "support/core_fixture.h"

#include <QDir>
#include <QSignalSpy>

using namespace zelk;
using namespace zelktest;

class MenuTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        playlist = tmp.filePath(QStringLiteral("list.m3u"));
        QFile f(playlist);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a.mp3\nb.mp3\n");
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                {cfg::RadioMode, QStringLiteral("true")},
                                {cfg::Playlist, playlist}}));
    }
    void bootToRadio()
    {
        boot();
        unit->restartOnce.setEnabled(false);
        unit->seq.run([this] { unit->but_goto_menu(); });
    }
    // Music mode as the Music tile leaves it.
    void enterMusicMode()
    {
        unit->menu.but_music();
        ASSERT_FALSE(unit->radio.radiomode.on());
    }
    QString line5() const { return storedConfig().value(cfg::RadioMode); }
    QList<ScreenId> shownScreens(const QSignalSpy& spy) const
    {
        QList<ScreenId> out;
        for (const auto& args : spy)
            out << args[0].value<ScreenId>();
        return out;
    }

    QString playlist;
};

TEST_F(MenuTest, RadioTileInRadioModeOnlyGoesBackAndStoresTheModeAgain)
{
    bootToRadio();
    writeConfig(configWith(
        {{cfg::Fullscreen, QStringLiteral("true")}, {cfg::RadioMode, QStringLiteral("false")}}));
    unit->settings.loadConfig();
    unit->volume.volume = 40;
    QSignalSpy shown(&unit->screens, &ScreenManager::shown);
    const int stops = fake.player->stops;
    const auto volumes = fake.player->volumes.size();
    unit->menu.butRadio_click();
    EXPECT_EQ(shownScreens(shown), QList<ScreenId>{ScreenId::Form1});
    EXPECT_EQ(line5(), QStringLiteral("true"));
    EXPECT_EQ(fake.player->stops, stops) << "sw2_radio did not run";
    EXPECT_EQ(fake.player->volumes.size(), volumes) << "the volume is not touched";
    EXPECT_FALSE(unit->seq.holding());
}

TEST_F(MenuTest, RadioTileInMusicModeSilencesSwitchesBackAfterASecondAndStores)
{
    bootToRadio();
    enterMusicMode();
    unit->player->setVolume(35);
    QSignalSpy shown(&unit->screens, &ScreenManager::shown);
    unit->seq.input([this] { unit->menu.butRadio_click(); });
    EXPECT_EQ(unit->volume.savedVolume, 35);
    EXPECT_EQ(fake.player->volumes.last(), 0);
    EXPECT_TRUE(shown.isEmpty()) << "the menu stays during the wait";
    unit->seq.skipWaits();
    EXPECT_EQ(shownScreens(shown), QList<ScreenId>{ScreenId::Form1});
    EXPECT_TRUE(unit->radio.radiomode.on());
    EXPECT_EQ(line5(), QStringLiteral("true"));
    EXPECT_EQ(fake.player->volumes.last(), 35) << "sw2_radio gave the level back";
    EXPECT_EQ(unit->radio.speicher.text(), QStringLiteral("FM: 1"));
}

TEST_F(MenuTest, MusicTileWithoutAPlaylistFileOnlyWarnsInEitherMode)
{
    bootToRadio();
    const QString noFile[] = {QString(), tmp.filePath(QStringLiteral("gone.wpl")), tmp.path()};
    for (bool music : {false, true}) {
        if (music)
            enterMusicMode();
        for (const QString& path : noFile) {
            SCOPED_TRACE(path.toStdString());
            const QString before = line5();
            unit->settings.live.filename.set(path);
            QSignalSpy shown(&unit->screens, &ScreenManager::shown);
            const int urls = static_cast<int>(fake.player->urls.size());
            unit->menu.but_music();
            EXPECT_TRUE(unit->menu.noPlaylist.on());
            EXPECT_TRUE(shown.isEmpty());
            EXPECT_EQ(unit->radio.radiomode.on(), !music);
            EXPECT_EQ(line5(), before);
            EXPECT_EQ(fake.player->urls.size(), urls);
            unit->menu.lab_cancel_click();
            EXPECT_FALSE(unit->menu.noPlaylist.on());
        }
        unit->settings.live.filename.set(playlist);
    }
}

TEST_F(MenuTest, MusicTileStartsMusicModeOnceAndAgainOnlyForANewPlaylist)
{
    bootToRadio();
    const int urlsBefore = static_cast<int>(fake.player->urls.size());
    unit->menu.but_music();
    EXPECT_EQ(fake.player->urls.size(), urlsBefore + 1);
    EXPECT_EQ(fake.player->urls.last(), playlist);
    EXPECT_EQ(line5(), QStringLiteral("false"));
    EXPECT_FALSE(unit->radio.radiomode.on());

    // Again in music mode with the same playlist: playback is not touched.
    const int plays = fake.player->plays;
    unit->settings.config.setLine(cfg::RadioMode, QStringLiteral("x"));
    unit->menu.but_music();
    EXPECT_EQ(fake.player->urls.size(), urlsBefore + 1);
    EXPECT_EQ(fake.player->plays, plays);
    EXPECT_EQ(line5(), QStringLiteral("false")) << "written again";
}

TEST_F(MenuTest, NewPlaylistFromRadioModeRestartsTwiceAndSearchesUnlessOnlyAtRestart)
{
    for (bool onlyAtRestart : {false, true}) {
        SCOPED_TRACE(onlyAtRestart);
        bootToRadio();
        LiveSettings& live = unit->settings.live;
        live.playlist_changed.set(true);
        live.onlyatreboot.set(onlyAtRestart);
        const int urlsBefore = static_cast<int>(fake.player->urls.size());
        unit->menu.but_music();
        EXPECT_EQ(fake.player->urls.size(), urlsBefore + 2) << "sw2_music ran twice";
        EXPECT_EQ(unit->music.skip2last.isEnabled(), !onlyAtRestart);
        EXPECT_FALSE(live.playlist_changed.on());
        unit.reset();
    }
}

TEST_F(MenuTest, SettingsEntryPausesEvenARadioStreamWhenAskedAndHidesTheKeyboard)
{
    for (bool pauses : {false, true}) {
        SCOPED_TRACE(pauses);
        bootToRadio();
        unit->settings.live.mute_Settings.set(pauses);
        unit->setup.keyboardShown.set(true);
        QSignalSpy shown(&unit->screens, &ScreenManager::shown);
        QSignalSpy repaint(&unit->screens, &ScreenManager::repaint);
        const int pausesBefore = fake.player->pauses;
        unit->menu.sw2Setup();
        EXPECT_EQ(shownScreens(shown), QList<ScreenId>{ScreenId::Form5});
        EXPECT_EQ(repaint.size(), 1);
        EXPECT_EQ(fake.player->pauses, pausesBefore + (pauses ? 1 : 0));
        EXPECT_FALSE(unit->setup.keyboardShown.on());
        // Back resumes playback whatever the setting.
        const int plays = fake.player->plays;
        unit->setup.but_back();
        EXPECT_GE(fake.player->plays, plays + 1);
        unit.reset();
    }
}

TEST_F(MenuTest, TileNamesFollowTheLanguageListAndStayWhenThePointerLeaves)
{
    bootToRadio();
    EXPECT_EQ(unit->menu.mainLabel.text(), QStringLiteral("Radio"));
    unit->menu.showTileName(3);
    EXPECT_EQ(unit->menu.mainLabel.text(), unit->settings.MUI.line(3));
    unit->settings.MUI.replaceAll(QStringList(40, QStringLiteral("Anders")));
    unit->menu.showTileName(5);
    EXPECT_EQ(unit->menu.mainLabel.text(), QStringLiteral("Anders"));
}

TEST_F(MenuTest, ImportNowOpensTheSettingsOnTheMusicPage)
{
    bootToRadio();
    unit->settings.live.filename.clear();
    unit->menu.but_music();
    ASSERT_TRUE(unit->menu.noPlaylist.on());
    QSignalSpy shown(&unit->screens, &ScreenManager::shown);
    unit->menu.lab_load_click();
    EXPECT_FALSE(unit->menu.noPlaylist.on());
    EXPECT_EQ(shownScreens(shown), QList<ScreenId>{ScreenId::Form5});
    EXPECT_EQ(unit->setup.page.value(), static_cast<int>(Setup::Page::Music));
}

TEST_F(MenuTest, PageTilesRequestThePageBeforeTheSwitchAndBackBlanksIt)
{
    bootToRadio();
    LiveSettings& live = unit->settings.live;
    live.URL.set(QStringLiteral("http://map.example/tiles"));
    live.DashURL.set(tmp.filePath(QStringLiteral("dash.html")));
    QStringList events;
    QObject::connect(&unit->web, &WebView::loadRequested,
                     [&](const QUrl& url) { events << QStringLiteral("load ") + url.toString(); });
    QObject::connect(&unit->screens, &ScreenManager::shown, [&](ScreenId id) {
        events << QStringLiteral("show %1").arg(static_cast<int>(id));
    });
    QObject::connect(&unit->screens, &ScreenManager::hidden, [&](ScreenId id) {
        events << QStringLiteral("hide %1").arg(static_cast<int>(id));
    });

    unit->menu.butNavi_click();
    EXPECT_EQ(events, (QStringList{QStringLiteral("load http://map.example/tiles"),
                                   QStringLiteral("hide 1"), QStringLiteral("show 2")}));
    events.clear();
    unit->web.butback_click();
    const QString blank = QUrl::fromLocalFile(dataDir + QStringLiteral("blank.html")).toString();
    EXPECT_EQ(events, (QStringList{QStringLiteral("hide 2"), QStringLiteral("show 1"),
                                   QStringLiteral("load ") + blank}));
    events.clear();
    unit->menu.butDash_click();
    EXPECT_EQ(events.value(0),
              QStringLiteral("load ") + QUrl::fromLocalFile(live.DashURL.text()).toString())
        << "a local path is loaded as a file";
    events.clear();
    unit->web.butback_click();
    events.clear();
    live.URL.clear();
    unit->menu.butNavi_click();
    EXPECT_EQ(events, (QStringList{QStringLiteral("hide 1"), QStringLiteral("show 2")}))
        << "an empty address loads nothing, the screen still switches";
}
