// Music mode: the switch, the last-song search, the title store, the
// now-playing tick and the transport; first on a fake player driven through
// the timers' ticks, then on the real engine with generated tagged files.

#include "platform/mpvplayer.h"
#include "support/core_fixture.h"
#include "support/httpserver.h"
#include "support/media.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>

using namespace zelk;
using namespace zelktest;

class MusicTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        playlist = tmp.filePath(QStringLiteral("list.m3u"));
        QFile f(playlist);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a.mp3\n");
        fake.player->items = {QStringLiteral("Alpha"), QStringLiteral("Beta"),
                              QStringLiteral("Gamma"), QStringLiteral("Delta")};
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                {cfg::Playlist, playlist},
                                {cfg::AutoplayLast, QStringLiteral("true")}}));
    }
    void bootToRadio()
    {
        boot();
        unit->restartOnce.setEnabled(false);
    }
    QString line41() const { return storedConfig().value(cfg::LastSong); }
    Music& music() { return unit->music; }

    QString playlist;
};

TEST_F(MusicTest, SwitchShowsThePlaylistOnTheRadioScreenAndPlaysIt)
{
    bootToRadio();
    unit->settings.live.also_visible.set(true);
    unit->stationText.rdsText.set(QStringLiteral("Station text"));
    music().sw2_music();
    const Radio& radio = unit->radio;
    EXPECT_EQ(radio.speicher.text(), QStringLiteral("Playlist"));
    EXPECT_EQ(radio.sendername.text(), QStringLiteral("Alpha")) << "the first refresh ran";
    EXPECT_EQ(unit->stationText.rdsText.text(), playlist);
    EXPECT_EQ(radio.Label1.text(), QStringLiteral("MP3-Player"));
    EXPECT_EQ(radio.presets().selected, (std::array<bool, 6>{}));
    EXPECT_EQ(radio.presets().number, (std::array<bool, 6>{}));
    EXPECT_TRUE(music().transport.on());
    EXPECT_TRUE(music().MusicID3Check.isEnabled());
    EXPECT_FALSE(unit->stationText.RDStimer.isEnabled());
    EXPECT_FALSE(music().check_PlaylistItem.isEnabled()) << "no search has finished yet";
    EXPECT_TRUE(music().progressShown.on());
    EXPECT_EQ(fake.player->urls.last(), playlist);
    EXPECT_GE(fake.player->stops, 1);
    EXPECT_EQ(radio.menuAktSender.text(), QStringLiteral("00:00 - Alpha"));
}

TEST_F(MusicTest, WithoutAlsoVisibleNoProgressLineAnywhere)
{
    bootToRadio();
    unit->settings.live.also_visible.set(false);
    music().sw2_music();
    EXPECT_FALSE(music().progressShown.on());
}

struct SearchCase
{
    const char* name;
    const char* stored; // line 41
    bool autoplay;
    int steps;          // player.next() calls
    const char* endsOn; // the current item when the search has finished
};

TEST_F(MusicTest, LastSongSearchTable)
{
    const SearchCase cases[] = {
        {"first item", "Alpha", true, 0, "Alpha"},
        {"middle item", "Gamma", true, 2, "Gamma"},
        {"last item", "Delta", true, 3, "Delta"},
        {"empty title", "", true, 0, "Alpha"},
        {"a single blank", " ", true, 0, "Alpha"},
        {"autoplay off", "Gamma", false, 0, "Alpha"},
        {"not in the list: one pass, then as though found", "Omega", true, 3, "Delta"},
        {"case matters", "gamma", true, 3, "Delta"},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeConfig(configWith(
            {{cfg::Fullscreen, QStringLiteral("true")},
             {cfg::Playlist, playlist},
             {cfg::LastSong, QString::fromUtf8(c.stored)},
             {cfg::AutoplayLast, c.autoplay ? QStringLiteral("true") : QStringLiteral("false")}}));
        bootToRadio();
        unit->volume.volume = 40;
        unit->volume.mute(); // the start-up path searches muted
        unit->menu.but_music();
        music().startSearch();
        const int nextsBefore = fake.player->nexts;
        for (int tick = 0; tick < 10 && music().skip2last.isEnabled(); ++tick)
            music().skip2last.fire();
        EXPECT_FALSE(music().skip2last.isEnabled());
        EXPECT_EQ(fake.player->nexts - nextsBefore, c.steps);
        EXPECT_EQ(fake.player->itemName, QString::fromUtf8(c.endsOn));
        EXPECT_EQ(unit->radio.sendername.text(), fake.player->itemName);
        // The finishing steps: title store on, started, sound back, level applied.
        EXPECT_TRUE(music().check_PlaylistItem.isEnabled());
        EXPECT_TRUE(music().music_started.on());
        EXPECT_FALSE(unit->volume.muted.on());
        EXPECT_EQ(unit->volume.volume, 40);
        EXPECT_EQ(fake.player->volumes.last(), 40);
        EXPECT_TRUE(unit->volume.form1.volbar.on());
        unit.reset();
    }
}

TEST_F(MusicTest, SearchStopsAtTheFirstOfTwoItemsWithTheTitle)
{
    fake.player->items = {QStringLiteral("Alpha"), QStringLiteral("Twice"), QStringLiteral("Beta"),
                          QStringLiteral("Twice")};
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                            {cfg::Playlist, playlist},
                            {cfg::LastSong, QStringLiteral("Twice")},
                            {cfg::AutoplayLast, QStringLiteral("true")}}));
    bootToRadio();
    unit->menu.but_music();
    music().startSearch();
    for (int tick = 0; tick < 10 && music().skip2last.isEnabled(); ++tick)
        music().skip2last.fire();
    EXPECT_EQ(fake.player->index, 1);
}

TEST_F(MusicTest, SearchWaitsForAnItemOnItsWay)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                            {cfg::Playlist, playlist},
                            {cfg::LastSong, QStringLiteral("Beta")},
                            {cfg::AutoplayLast, QStringLiteral("true")}}));
    bootToRadio();
    fake.player->stepsOpen = true;
    unit->menu.but_music();
    music().startSearch();
    music().skip2last.fire();
    ASSERT_TRUE(fake.player->opening);
    music().skip2last.fire();
    music().skip2last.fire();
    EXPECT_EQ(fake.player->nexts, 1) << "no step while the name is unknown";
    fake.player->open(QStringLiteral("Beta"));
    settle();
    music().skip2last.fire();
    EXPECT_FALSE(music().skip2last.isEnabled());
    EXPECT_EQ(fake.player->nexts, 1);
}

TEST_F(MusicTest, SearchFromTheMenuEndsWithTheSoundStillOn)
{
    // No mute precedes this search: its end must not turn the sound off.
    bootToRadio();
    unit->volume.volume = 30;
    unit->settings.live.onlyatreboot.set(false);
    unit->settings.live.playlist_changed.set(true);
    unit->menu.but_music();
    ASSERT_TRUE(music().skip2last.isEnabled());
    for (int tick = 0; tick < 10 && music().skip2last.isEnabled(); ++tick)
        music().skip2last.fire();
    EXPECT_FALSE(unit->volume.muted.on());
    EXPECT_EQ(unit->volume.volume, 30);
    // Aborted by a transport button, likewise.
    unit->settings.live.playlist_changed.set(true);
    unit->menu.but_music();
    music().but_play_click();
    EXPECT_FALSE(music().skip2last.isEnabled());
    EXPECT_FALSE(unit->volume.muted.on());
}

TEST_F(MusicTest, SkipsStoreTheNewTitleUnlessASearchRuns)
{
    bootToRadio();
    unit->menu.but_music();
    music().skip_plus();
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("Beta"));
    EXPECT_EQ(line41(), QStringLiteral("Beta"));
    EXPECT_EQ(music().lastSong, QStringLiteral("Beta"));
    music().skip_minus();
    EXPECT_EQ(line41(), QStringLiteral("Alpha"));

    // During a search: the player moves, nothing is stored, the search ends.
    unit->volume.volume = 20;
    unit->volume.mute();
    music().startSearch();
    music().skip_plus();
    EXPECT_EQ(fake.player->itemName, QStringLiteral("Beta"));
    EXPECT_EQ(line41(), QStringLiteral("Alpha"));
    EXPECT_FALSE(music().skip2last.isEnabled());
    EXPECT_FALSE(unit->volume.muted.on()) << "abort_autoskip brought the sound back";
    EXPECT_FALSE(music().music_started.on()) << "an aborted search is not a finished one";
}

TEST_F(MusicTest, SkipToAnItemStillOpeningStoresItsTitleOnceItIsOpen)
{
    bootToRadio();
    unit->menu.but_music();
    fake.player->stepsOpen = true;
    music().skip_plus();
    EXPECT_EQ(line41(), QStringLiteral("Pure Shores")) << "nothing stored before the name is known";
    fake.player->open(QStringLiteral("Beta"));
    settle();
    EXPECT_EQ(line41(), QStringLiteral("Beta"));
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("Beta"));
}

TEST_F(MusicTest, TitleStoreWritesEveryTickButNeverAnEmptyPlayer)
{
    bootToRadio();
    unit->menu.but_music();
    music().check_PlaylistItem.fire();
    EXPECT_EQ(line41(), QStringLiteral("Alpha"));
    QFile::remove(dataDir + QStringLiteral("Radio.ini"));
    music().check_PlaylistItem.fire();
    EXPECT_EQ(line41(), QStringLiteral("Alpha")) << "written on every tick, changed or not";
    // A stopped player has no item: the title stored stays.
    music().stop();
    fake.player->hasItem = false;
    music().check_PlaylistItem.fire();
    EXPECT_EQ(line41(), QStringLiteral("Alpha"));
}

TEST_F(MusicTest, PausePlayStopAndTheBlinkThatKeepsItsState)
{
    bootToRadio();
    unit->menu.but_music();
    music().but_pause_click();
    EXPECT_EQ(fake.player->pauses, 1);
    EXPECT_FALSE(music().MusicID3Check.isEnabled());
    EXPECT_TRUE(music().pause.isEnabled());
    const QString blink[] = {QStringLiteral("Pause"), QString(), QStringLiteral("Pause")};
    for (const QString& expected : blink) {
        music().pause.fire();
        EXPECT_EQ(music().timecount.text(), expected);
    }
    music().but_play_click();
    EXPECT_FALSE(music().pause.isEnabled());
    EXPECT_TRUE(music().MusicID3Check.isEnabled());
    EXPECT_EQ(music().timecount.text(), QStringLiteral("Pause")) << "until the next tick";
    music().MusicID3Check.fire();
    EXPECT_EQ(music().timecount.text(), QStringLiteral("00:00"));
    // The next pause goes on from where the blink stopped.
    music().but_pause_click();
    music().pause.fire();
    EXPECT_EQ(music().timecount.text(), QString());
    music().stop();
    EXPECT_EQ(fake.player->stops, 2);
    EXPECT_FALSE(music().pause.isEnabled());
    EXPECT_TRUE(music().MusicID3Check.isEnabled());
}

TEST_F(MusicTest, NowPlayingTickFillsEveryDisplay)
{
    bootToRadio();
    unit->menu.but_music();
    struct Case
    {
        double duration, position;
        int max, pos;
    };
    // Whole seconds, halves to the even neighbour; never past the end.
    const Case cases[] = {{200.5, 10.5, 200, 10},
                          {201.5, 11.5, 202, 12},
                          {180.4, 179.6, 180, 180},
                          {0, 3.2, 0, 0},
                          {10, 12, 10, 10}};
    for (const Case& c : cases) {
        fake.player->duration = c.duration;
        fake.player->positionSeconds = c.position;
        fake.player->position = QStringLiteral("01:23");
        music().MusicID3Check.fire();
        EXPECT_EQ(music().progressMax.value(), c.max) << c.duration;
        EXPECT_EQ(music().progressPos.value(), c.pos) << c.position;
    }
    EXPECT_EQ(music().timecount.text(), QStringLiteral("01:23"));
    EXPECT_EQ(unit->radio.menuAktSender.text(), QStringLiteral("01:23 - Alpha"));
    EXPECT_EQ(unit->radio.webAktSender.text(), QStringLiteral("01:23 - Alpha"));
}

TEST_F(MusicTest, CaptionsCarryTheTitleOnlyWhenAsked)
{
    bootToRadio();
    unit->menu.but_music();
    QSignalSpy captions(&music().caption, &TextValue::changed);
    music().MusicID3Check.fire();
    EXPECT_TRUE(captions.isEmpty()) << "the screens keep their design captions";
    EXPECT_EQ(music().settingsCaption.text(), QStringLiteral("ZelkRadio"));
    unit->settings.live.show_music_in_title.set(true);
    music().MusicID3Check.fire();
    EXPECT_EQ(music().caption.text(), QStringLiteral("ZelkRadio: Alpha"));
    EXPECT_EQ(music().settingsCaption.text(), QStringLiteral("ZelkRadio: Alpha"));
    unit->settings.live.show_music_in_title.set(false);
    fake.player->itemName = QStringLiteral("Beta");
    music().MusicID3Check.fire();
    EXPECT_EQ(music().caption.text(), QStringLiteral("ZelkRadio: Alpha")) << "kept";
    EXPECT_EQ(music().settingsCaption.text(), QStringLiteral("ZelkRadio"));
}

TEST_F(MusicTest, TickWithoutAnItemShowsEmptyTexts)
{
    bootToRadio();
    unit->menu.but_music();
    fake.player->hasItem = false;
    fake.player->duration = 0;
    music().MusicID3Check.fire();
    EXPECT_EQ(unit->radio.sendername.text(), QString());
    EXPECT_EQ(music().progressMax.value(), 0);
}

TEST_F(MusicTest, StopWhileRadioModeStartsTheTickOnTheStream)
{
    bootToRadio();
    fake.player->itemName = QStringLiteral("Stream title");
    music().stop();
    EXPECT_TRUE(music().MusicID3Check.isEnabled());
    music().MusicID3Check.fire();
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("Stream title"));
    EXPECT_EQ(unit->radio.menuAktSender.text(), QStringLiteral("00:00 - Stream title"));
}

TEST_F(MusicTest, AfterAFinishedSearchEverySwitchStartsTheTitleStoreAtOnce)
{
    bootToRadio();
    unit->menu.but_music();
    unit->settings.config.setLine(cfg::LastSong, QStringLiteral("Alpha"));
    music().startSearch();
    music().skip2last.fire();
    ASSERT_TRUE(music().music_started.on());
    unit->seq.run([this] { unit->menu.butRadio_click(); });
    unit->seq.skipWaits();
    EXPECT_FALSE(music().check_PlaylistItem.isEnabled()) << "radio mode stops it";
    EXPECT_FALSE(music().progressShown.on());
    unit->menu.but_music();
    EXPECT_TRUE(music().check_PlaylistItem.isEnabled());
}

TEST_F(MusicTest, KeysF2AndF3SkipInMusicModeOnly)
{
    bootToRadio();
    for (ScreenId screen : kAllScreens)
        unit->seq.run(unit->hotKey(screen, Qt::Key_F3, false));
    EXPECT_EQ(fake.player->nexts, 0) << "radio mode: nothing";
    unit->menu.but_music();
    unit->seq.run(unit->hotKey(ScreenId::Form3, Qt::Key_F3, false));
    unit->seq.run(unit->hotKey(ScreenId::Form5, Qt::Key_F3, false));
    unit->seq.run(unit->hotKey(ScreenId::Form2, Qt::Key_F2, false));
    EXPECT_EQ(fake.player->nexts, 2);
    EXPECT_EQ(fake.player->previouses, 1);
    EXPECT_EQ(line41(), QStringLiteral("Beta"));
}

TEST_F(MusicTest, SearchWaitsThroughRadioModeAndNeverStoresAStationTitle)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                            {cfg::Playlist, playlist},
                            {cfg::Volume, QStringLiteral("45")},
                            {cfg::LastSong, QStringLiteral("Delta")},
                            {cfg::AutoplayLast, QStringLiteral("true")},
                            {cfg::RadioMode, QStringLiteral("false")},
                            {cfg::AutoChangeMode, QStringLiteral("true")}}));
    boot();
    unit->restartOnce.fire(); // muted, searching for the last item
    music().skip2last.fire();
    ASSERT_EQ(fake.player->nexts, 1);
    ASSERT_TRUE(unit->volume.muted.on());

    unit->seq.run([this] { unit->menu.butRadio_click(); });
    unit->seq.skipWaits();
    ASSERT_TRUE(unit->radio.radiomode.on());
    fake.player->itemName = QStringLiteral("Station title");
    EXPECT_FALSE(unit->volume.muted.on()) << "the station plays aloud";
    EXPECT_EQ(fake.player->volumes.last(), 45);
    for (int tick = 0; tick < 6; ++tick)
        music().skip2last.fire();
    EXPECT_TRUE(music().skip2last.isEnabled()) << "the search keeps running";
    EXPECT_EQ(fake.player->nexts, 1) << "but steps nowhere in radio mode";
    EXPECT_FALSE(music().check_PlaylistItem.isEnabled());
    EXPECT_FALSE(music().music_started.on());
    EXPECT_EQ(line41(), QStringLiteral("Delta"));

    // Music again: the list starts over and the search finds its song.
    unit->menu.but_music();
    for (int tick = 0; tick < 10 && music().skip2last.isEnabled(); ++tick)
        music().skip2last.fire();
    EXPECT_EQ(fake.player->itemName, QStringLiteral("Delta"));
    EXPECT_TRUE(music().music_started.on());
    EXPECT_FALSE(unit->volume.muted.on());
    music().check_PlaylistItem.fire();
    EXPECT_EQ(line41(), QStringLiteral("Delta"));
}

TEST_F(MusicTest, RestoreWithoutThePlaylistPlaysTheStationAloudAndSeeksNothing)
{
    writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                            {cfg::Playlist, tmp.filePath(QStringLiteral("unmounted/list.wpl"))},
                            {cfg::Volume, QStringLiteral("45")},
                            {cfg::ActiveStation, QStringLiteral("2")},
                            {cfg::LastSong, QStringLiteral("Gamma")},
                            {cfg::RadioMode, QStringLiteral("false")},
                            {cfg::AutoChangeMode, QStringLiteral("true")}}));
    boot();
    fake.player->itemName = QStringLiteral("Station title");
    unit->restartOnce.fire();
    EXPECT_TRUE(unit->radio.radiomode.on());
    EXPECT_FALSE(music().skip2last.isEnabled());
    EXPECT_FALSE(unit->volume.muted.on());
    EXPECT_EQ(unit->volume.volume, 45);
    EXPECT_EQ(fake.player->volumes.last(), 45);
    EXPECT_EQ(storedConfig().value(cfg::ActiveStation), QStringLiteral("2"));
    music().check_PlaylistItem.fire(); // even a stray tick stores nothing
    EXPECT_EQ(line41(), QStringLiteral("Gamma"));
}

TEST_F(MusicTest, APendingTitleStoreIsDroppedByStopAndBothSwitches)
{
    const std::pair<const char*, std::function<void(HeadUnit&)>> ways[] = {
        {"stop", [](HeadUnit& u) { u.music.stop(); }},
        {"sw2_radio",
         [](HeadUnit& u) {
             u.seq.run([&u] { u.menu.butRadio_click(); });
             u.seq.skipWaits();
         }},
        {"sw2_music", [](HeadUnit& u) { u.music.sw2_music(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        bootToRadio();
        unit->menu.but_music();
        fake.player->stepsOpen = true;
        music().skip_plus();
        way(*unit);
        fake.player->open(QStringLiteral("Opened later"));
        settle();
        EXPECT_EQ(line41(), QStringLiteral("Pure Shores"));
        fake.player->stepsOpen = false;
        unit.reset();
    }
}

struct RestoreModeCase
{
    const char* line5;
    bool autoChange;
    bool music;
};

TEST_F(MusicTest, RestoreStepGoesBackToMusicModeOnlyWhenBothSay)
{
    const RestoreModeCase cases[] = {
        {"false", true, true}, {"false", false, false}, {"False", true, false},
        {"true", true, false}, {"", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line5) + (c.autoChange ? " auto" : " manual"));
        writeConfig(configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                {cfg::Playlist, playlist},
                                {cfg::Volume, QStringLiteral("45")},
                                {cfg::LastSong, QStringLiteral("Gamma")},
                                {cfg::AutoplayLast, QStringLiteral("true")},
                                {cfg::RadioMode, QString::fromLatin1(c.line5)},
                                {cfg::AutoChangeMode, c.autoChange ? QStringLiteral("true")
                                                                   : QStringLiteral("false")}}));
        boot();
        unit->restartOnce.fire();
        EXPECT_EQ(!unit->radio.radiomode.on(), c.music);
        EXPECT_EQ(music().skip2last.isEnabled(), c.music);
        if (c.music) {
            EXPECT_TRUE(unit->volume.muted.on()) << "the search runs muted";
            EXPECT_EQ(music().lastSong, QStringLiteral("Gamma"));
            for (int tick = 0; tick < 10 && music().skip2last.isEnabled(); ++tick)
                music().skip2last.fire();
            EXPECT_EQ(fake.player->itemName, QStringLiteral("Gamma"));
            EXPECT_FALSE(unit->volume.muted.on());
            EXPECT_EQ(fake.player->volumes.last(), 45);
        }
        unit.reset();
    }
}

// ------------------------------------------------------------ real engine

// Four tagged tones, a .wpl with a relative and an absolute path, and an
// .m3u, played by the real engine without sound output.
class MusicEngineTest : public CoreTest
{
protected:
    static void SetUpTestSuite()
    {
        CoreTest::SetUpTestSuite();
        s_media = new QTemporaryDir;
        const char* titles[] = {"Erster Titel", "Zweiter Titel", "Dritter Titel", "Letzter Titel"};
        for (int i = 0; i < 4; ++i) {
            const QString sub = i == 3 ? QStringLiteral("elsewhere/") : QStringLiteral("music/");
            QDir().mkpath(s_media->filePath(sub));
            const QString file = s_media->filePath(sub + QStringLiteral("t%1.mp3").arg(i + 1));
            s_ready = zelktest::makeTone(file, 30, QString::fromUtf8(titles[i]), 300 + 100 * i);
            if (!s_ready)
                return;
        }
        QFile wpl(s_media->filePath(QStringLiteral("music/drive.wpl")));
        s_ready = wpl.open(QIODevice::WriteOnly);
        wpl.write("<?wpl version=\"1.0\"?>\n<smil><body><seq>\n"
                  "<media src=\"t1.mp3\"/>\n<media src=\"t2.mp3\"/>\n<media src=\"t3.mp3\"/>\n"
                  "<media src=\"" +
                  s_media->filePath(QStringLiteral("elsewhere/t4.mp3")).toUtf8() +
                  "\"/>\n</seq></body></smil>\n");
        QFile m3u(s_media->filePath(QStringLiteral("music/drive.m3u")));
        s_ready = s_ready && m3u.open(QIODevice::WriteOnly);
        m3u.write("#EXTM3U\nt1.mp3\nt2.mp3\nt3.mp3\n../elsewhere/t4.mp3\n");
        s_ready = s_ready && zelktest::makeTone(s_media->filePath(QStringLiteral("station.mp3")),
                                                60, QStringLiteral("Senderkennung"), 800);
    }
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(s_ready) << "the test tones could not be made";
        makePlayer = [] {
            MpvOptions options;
            options.audioOutput = QStringLiteral("null");
            return createMpvPlayer(options);
        };
    }
    void bootWith(const QString& list, const QString& lastSong, const QString& station = {})
    {
        QStringList lines = configWith({{cfg::Fullscreen, QStringLiteral("true")},
                                        {cfg::Playlist, s_media->filePath(list)},
                                        {cfg::LastSong, lastSong},
                                        {cfg::AutoplayLast, QStringLiteral("true")},
                                        {cfg::RadioMode, QStringLiteral("false")},
                                        {cfg::AutoChangeMode, QStringLiteral("true")}});
        for (int n = 0; n < 6; ++n)
            lines[cfg::StationUrl1 + n].clear(); // no station off this machine
        lines[cfg::StationUrl1] = station;
        writeConfig(lines);
        boot();
    }
    // Runs the search by its ticks until it ends (the engine opens each item
    // in the background meanwhile).
    bool searchEnds()
    {
        return waitUntil(
            [this] {
                if (unit->music.skip2last.isEnabled())
                    unit->music.skip2last.fire();
                return !unit->music.skip2last.isEnabled();
            },
            15000);
    }
    QString playing() const { return unit->player->currentItemName(); }

    static inline QTemporaryDir* s_media = nullptr;
    static inline bool s_ready = false;
};

TEST_F(MusicEngineTest, SearchFindsTheFirstAMiddleAndTheLastItem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"music/drive.wpl", "Erster Titel"},  {"music/drive.wpl", "Dritter Titel"},
        {"music/drive.wpl", "Letzter Titel"}, {"music/drive.m3u", "Zweiter Titel"},
        {"music/drive.m3u", "Letzter Titel"},
    };
    for (const auto& [list, title] : cases) {
        SCOPED_TRACE(std::string(list) + ": " + title);
        bootWith(QString::fromLatin1(list), QString::fromUtf8(title));
        unit->restartOnce.fire(); // back to music mode, muted, searching
        ASSERT_FALSE(unit->radio.radiomode.on());
        ASSERT_TRUE(searchEnds());
        EXPECT_EQ(playing(), QString::fromUtf8(title));
        EXPECT_FALSE(unit->volume.muted.on());
        EXPECT_TRUE(unit->music.music_started.on());
        unit.reset();
    }
}

TEST_F(MusicEngineTest, TitleNotInTheListEndsAfterOnePassWithTheSoundBack)
{
    bootWith(QStringLiteral("music/drive.wpl"), QStringLiteral("Nirgends"));
    unit->volume.volume = 50;
    unit->restartOnce.fire();
    ASSERT_TRUE(unit->volume.muted.on());
    ASSERT_TRUE(searchEnds());
    EXPECT_EQ(playing(), QStringLiteral("Letzter Titel"));
    EXPECT_FALSE(unit->volume.muted.on());
    EXPECT_TRUE(unit->music.check_PlaylistItem.isEnabled());
}

TEST_F(MusicEngineTest, SkipsAdvanceTheRealPlayerAndStoreTheTitleItOpened)
{
    bootWith(QStringLiteral("music/drive.wpl"), QStringLiteral("Erster Titel"));
    unit->restartOnce.fire();
    ASSERT_TRUE(searchEnds());
    unit->music.skip_plus();
    ASSERT_TRUE(waitUntil(
        [this] { return storedConfig().value(cfg::LastSong) == QStringLiteral("Zweiter Titel"); }));
    EXPECT_EQ(unit->radio.sendername.text(), QStringLiteral("Zweiter Titel"));
    // The tick shows the position moving and the length of the item.
    ASSERT_TRUE(waitUntil([this] { return unit->player->currentPosition() > 1.2; }));
    unit->music.MusicID3Check.fire();
    EXPECT_EQ(unit->music.progressMax.value(), 30);
    EXPECT_GE(unit->music.progressPos.value(), 1);
    EXPECT_TRUE(unit->music.timecount.text().startsWith(QStringLiteral("00:0")));
    unit->music.skip_minus();
    ASSERT_TRUE(waitUntil(
        [this] { return storedConfig().value(cfg::LastSong) == QStringLiteral("Erster Titel"); }));
}

// A loopback station whose stream carries a title tag of its own.
class MusicAndRadioEngineTest : public MusicEngineTest
{
protected:
    void SetUp() override
    {
        MusicEngineTest::SetUp();
        server.setFile("/live.mp3", s_media->filePath(QStringLiteral("station.mp3")).toStdString(),
                       "audio/mpeg");
    }
    QString station() const { return QString::fromStdString(server.url("/live.mp3")); }
    // Back to radio by the menu's tile, until the station's own title shows.
    bool toRadio()
    {
        unit->seq.run([this] { unit->menu.butRadio_click(); });
        return waitUntil([this] {
            return unit->radio.radiomode.on() && playing() == QStringLiteral("Senderkennung");
        });
    }
    // Keeps every music timer that is on ticking for a while.
    void tickFor(int ms)
    {
        QElapsedTimer t;
        t.start();
        waitUntil(
            [&] {
                for (UiTimer* timer : {&unit->music.skip2last, &unit->music.check_PlaylistItem})
                    if (timer->isEnabled())
                        timer->fire();
                return t.elapsed() > ms;
            },
            ms + 2000);
    }
    zelktest::HttpServer server;
};

TEST_F(MusicAndRadioEngineTest, SearchSwitchedToRadioNeverStoresTheStationsTitle)
{
    bootWith(QStringLiteral("music/drive.wpl"), QStringLiteral("Nirgends"), station());
    unit->restartOnce.fire();
    const int level = unit->volume.savedVolume; // the stored level, muted for the search
    ASSERT_GT(level, 0);
    ASSERT_TRUE(waitUntil([this] { return !unit->player->isOpening(); }));
    unit->music.skip2last.fire(); // one step into the list
    ASSERT_TRUE(toRadio());
    tickFor(2000);
    EXPECT_EQ(storedConfig().value(cfg::LastSong), QStringLiteral("Nirgends"));
    EXPECT_TRUE(unit->music.skip2last.isEnabled());
    EXPECT_FALSE(unit->music.check_PlaylistItem.isEnabled());
    EXPECT_FALSE(unit->volume.muted.on());
    EXPECT_EQ(unit->player->volume(), level) << "the station is not left muted";

    unit->menu.but_music();
    ASSERT_FALSE(unit->radio.radiomode.on());
    ASSERT_TRUE(searchEnds());
    EXPECT_EQ(playing(), QStringLiteral("Letzter Titel")) << "one whole pass from the top";
}

TEST_F(MusicAndRadioEngineTest, SkipStillOpeningWhenTheRadioTakesOverStoresNothing)
{
    bootWith(QStringLiteral("music/drive.wpl"), QStringLiteral("Erster Titel"), station());
    unit->restartOnce.fire();
    ASSERT_TRUE(searchEnds());
    unit->music.check_PlaylistItem.setEnabled(false); // only the skip's store is under test
    unit->music.skip_plus();
    ASSERT_TRUE(unit->player->isOpening());
    ASSERT_TRUE(toRadio());
    tickFor(1000);
    EXPECT_EQ(storedConfig().value(cfg::LastSong), QStringLiteral("Erster Titel"));
}

TEST_F(MusicTest, FirstStartNeverGoesBackToMusicMode)
{
    // No Radio.ini: the defaults say music (line 5 "false", line 47 "true"),
    // but the settings were never loaded, so the automatic switch is off.
    QFile::remove(dataDir + QStringLiteral("Radio.ini"));
    boot();
    ASSERT_EQ(fake.dialogs->infos.size(), 1);
    ASSERT_EQ(storedConfig().value(cfg::RadioMode), QStringLiteral("false"));
    unit->restartOnce.fire();
    EXPECT_TRUE(unit->radio.radiomode.on());
    EXPECT_FALSE(music().skip2last.isEnabled());
    EXPECT_FALSE(unit->volume.muted.on());
}
