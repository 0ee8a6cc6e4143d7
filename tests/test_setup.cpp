// The settings screen's logic: pages and keyboard, the five saves and
// cancels, the live settings acting before a save, the map presets, paste,
// the playlist chooser, the about panel and the default browser.

#include "platform/browserlookup.h"
#include "support/core_fixture.h"

#include <QDir>
#include <QSignalSpy>

using namespace zelk;
using namespace zelktest;

class SetupTest : public CoreTest
{
protected:
    void bootWith(std::initializer_list<std::pair<int, QString>> changes)
    {
        QStringList lines = configWith(
            {{cfg::Fullscreen, QStringLiteral("true")}, {cfg::RadioMode, QStringLiteral("true")}});
        for (const auto& [n, text] : changes)
            lines[n] = text;
        writeConfig(lines);
        boot();
        unit->restartOnce.setEnabled(false);
        unit->seq.run([this] {
            unit->but_goto_menu();
            unit->menu.sw2Setup();
        });
    }
    zelk::Setup& setup() { return unit->setup; }
    LiveSettings& live() { return unit->settings.live; }
    zelk::Setup::Page page() const
    {
        return static_cast<zelk::Setup::Page>(unit->setup.page.value());
    }
};

TEST_F(SetupTest, PageIconsShowOnePageAndThreeOfThemHideTheKeyboard)
{
    bootWith({});
    const struct
    {
        void (zelk::Setup::*icon)();
        zelk::Setup::Page page;
        bool hidesKeyboard;
    } icons[] = {
        {&zelk::Setup::Image2_click, zelk::Setup::Page::Navi, true},
        {&zelk::Setup::Image3_click, zelk::Setup::Page::Radio, true},
        {&zelk::Setup::Image12_click, zelk::Setup::Page::General, false},
        {&zelk::Setup::Image4_click, zelk::Setup::Page::Music, true},
        {&zelk::Setup::Image5_click, zelk::Setup::Page::Dash, false},
    };
    for (const auto& icon : icons) {
        SCOPED_TRACE(static_cast<int>(icon.page));
        setup().but_show_keys();
        (setup().*icon.icon)();
        EXPECT_EQ(page(), icon.page);
        EXPECT_EQ(setup().keyboardShown.on(), !icon.hidesKeyboard);
    }
    setup().close_tabs();
    EXPECT_EQ(page(), zelk::Setup::Page::None);
}

TEST_F(SetupTest, MapPresetThenCancelActsUntilRestartButIsNotStored)
{
    bootWith({{cfg::NaviUrl, QStringLiteral("http://stored.example/")}});
    setup().Image2_click();
    setup().Button4_click();
    EXPECT_EQ(live().URL.text(), maps::Tdu);
    setup().Button9_click();
    EXPECT_EQ(page(), zelk::Setup::Page::None);
    EXPECT_EQ(storedConfig().value(cfg::NaviUrl), QStringLiteral("http://stored.example/"));
    QSignalSpy loads(&unit->web, &WebView::loadRequested);
    unit->menu.butNavi_click();
    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(loads[0][0].toUrl(), QUrl(maps::Tdu)) << "the field is what the tile reads";
    unit.reset();
    boot();
    EXPECT_EQ(unit->settings.live.URL.text(), QStringLiteral("http://stored.example/"));
    // Each preset writes its own address.
    for (auto [preset, address] : {std::pair{&zelk::Setup::Button2_click, maps::Ets2},
                                   std::pair{&zelk::Setup::Button1_click, maps::GtaV},
                                   std::pair{&zelk::Setup::Button3_click, maps::Minecraft}}) {
        (unit->setup.*preset)();
        EXPECT_EQ(unit->settings.live.URL.text(), address);
    }
}

TEST_F(SetupTest, EachSaveWritesItsLinesClosesItsPageAndHandlesTheKeyboard)
{
    bootWith({});
    // Navigation
    setup().Image2_click();
    setup().but_show_keys();
    live().URL.set(QStringLiteral("http://map.example/"));
    setup().Button7_click();
    EXPECT_EQ(storedConfig().value(cfg::NaviUrl), QStringLiteral("http://map.example/"));
    EXPECT_EQ(page(), zelk::Setup::Page::None);
    EXPECT_FALSE(setup().keyboardShown.on());
    // Radio: 18 fields, nothing tuned.
    setup().Image3_click();
    setup().but_show_keys();
    for (int i = 0; i < 6; ++i) {
        live().rname[i].set(QStringLiteral("Name %1").arg(i + 1));
        live().rurl[i].set(QStringLiteral("http://s%1.example/stream").arg(i + 1));
        live().rdsurl[i].set(i == 2 ? QString() : QStringLiteral("http://t%1.example/").arg(i + 1));
    }
    const auto urls = fake.player->urls.size();
    setup().Button5_click();
    const QStringList stored = storedConfig();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(stored.value(cfg::StationName1 + i), QStringLiteral("Name %1").arg(i + 1));
        EXPECT_EQ(stored.value(cfg::StationUrl1 + i),
                  QStringLiteral("http://s%1.example/stream").arg(i + 1));
    }
    EXPECT_EQ(stored.value(cfg::RdsUrl1 + 2), QString());
    EXPECT_EQ(fake.player->urls.size(), urls) << "the old stream plays on";
    EXPECT_FALSE(setup().keyboardShown.on());
    // Info-display: the keyboard stays as it is.
    setup().Image5_click();
    setup().but_show_keys();
    live().DashURL.set(QStringLiteral("http://dash.example/"));
    setup().Button12_click();
    EXPECT_EQ(storedConfig().value(cfg::DashboardUrl), QStringLiteral("http://dash.example/"));
    EXPECT_TRUE(setup().keyboardShown.on());
    // Music: four lines, and playback stops.
    setup().Image4_click();
    live().filename.set(QStringLiteral("/music/list.wpl"));
    live().autoplay_last.set(true);
    live().onlyatreboot.set(false);
    live().also_visible.set(true);
    const int stops = fake.player->stops;
    setup().but_save_music_click();
    EXPECT_EQ(storedConfig().value(cfg::Playlist), QStringLiteral("/music/list.wpl"));
    EXPECT_EQ(storedConfig().value(cfg::AutoplayLast), QStringLiteral("true"));
    EXPECT_EQ(storedConfig().value(cfg::OnlyAtRestart), QStringLiteral("false"));
    EXPECT_EQ(storedConfig().value(cfg::ProgressVisible), QStringLiteral("true"));
    EXPECT_EQ(fake.player->stops, stops + 1);
    EXPECT_TRUE(unit->music.MusicID3Check.isEnabled()) << "stop starts the now-playing tick";
}

TEST_F(SetupTest, GeneralSaveStoresAppliesTheLanguageAndWarnsAboutTheRestart)
{
    bootWith({{cfg::Language, QStringLiteral("DE-DE")}});
    ASSERT_EQ(unit->settings.MUI.line(7), QStringLiteral("Zurück"));
    setup().Image12_click();
    live().lang.set(QStringLiteral("EN-US"));
    live().auto_changemode.set(true);
    live().show_music_in_title.set(true);
    live().mute_Settings.set(false);
    setup().Button10_click();
    const QStringList stored = storedConfig();
    EXPECT_EQ(stored.value(cfg::Language), QStringLiteral("EN-US"));
    EXPECT_EQ(stored.value(cfg::Fullscreen), QStringLiteral("true"));
    EXPECT_EQ(stored.value(cfg::AutoChangeMode), QStringLiteral("true"));
    EXPECT_EQ(stored.value(cfg::MusicInTitle), QStringLiteral("true"));
    EXPECT_EQ(stored.value(cfg::MuteInSettings), QStringLiteral("false"));
    EXPECT_EQ(unit->settings.MUI.line(7), QStringLiteral("Back")) << "applied at once";
    EXPECT_EQ(unit->radio.menuAktSender.text(), QStringLiteral("Radio off"));
    EXPECT_TRUE(fake.dialogs->infos.isEmpty()) << "full screen was not touched";

    // A code without a file keeps the texts; the choice of window mode
    // brings the message, on this and every later save of the run.
    live().lang.set(QStringLiteral("XX-XX"));
    live().selectFullscreen(false);
    setup().Button10_click();
    EXPECT_EQ(unit->settings.MUI.line(7), QStringLiteral("Back"));
    EXPECT_EQ(storedConfig().value(cfg::Fullscreen), QStringLiteral("false"));
    setup().Button10_click();
    EXPECT_EQ(fake.dialogs->infos,
              QStringList(2, QStringLiteral("These new settings apply after a program restart.")));
}

TEST_F(SetupTest, WindowModeStartWarnsOnTheFirstSaveAndSizesTheScreens)
{
    bootWith({{cfg::Fullscreen, QStringLiteral("false")}});
    ASSERT_TRUE(unit->screens.windowMode.on());
    QSignalSpy resized(&unit->screens, &ScreenManager::outerResized);
    QSignalSpy frames(&unit->screens, &ScreenManager::framesChanged);
    live().CB_aufl_chgbl.set(false);
    live().setWindowSize(1100, 650);
    setup().Button10_click();
    ASSERT_EQ(fake.dialogs->infos.size(), 1) << "the start selected fullscreen_false";
    ASSERT_EQ(resized.size(), 1);
    EXPECT_EQ(resized[0][0].value<ScreenId>(), ScreenId::Form5);
    EXPECT_EQ(resized[0][1].toSize(), QSize(1100, 650));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_FALSE(frames[0][0].toBool()) << "fixed frames";
    // The boxes keep their ranges.
    live().setWindowSize(800, 20000);
    EXPECT_EQ(live().aufl_x.value(), 1024);
    EXPECT_EQ(live().aufl_y.value(), 9999);
}

TEST_F(SetupTest, FailedSaveLeavesThePageOpen)
{
    bootWith({});
    setup().Image2_click();
    QFile::remove(dataDir + QStringLiteral("Radio.ini"));
    ASSERT_TRUE(QDir().mkpath(dataDir + QStringLiteral("Radio.ini")));
    unit->seq.input([this] { setup().Button7_click(); });
    EXPECT_EQ(fake.dialogs->errors.size(), 1);
    EXPECT_EQ(page(), zelk::Setup::Page::Navi);
}

TEST_F(SetupTest, PasteEmptiesTheFieldThenTakesTheClipboard)
{
    bootWith({});
    live().DashURL.set(QStringLiteral("http://old.example/"));
    fake.shell->clipboard = QStringLiteral("http://192.168.1.20:25555/dashboard");
    setup().Button14_click();
    EXPECT_EQ(live().DashURL.text(), QStringLiteral("http://192.168.1.20:25555/dashboard"));
    fake.shell->clipboard.clear();
    setup().Button14_click();
    EXPECT_EQ(live().DashURL.text(), QString());
}

TEST_F(SetupTest, ChooserSelectionSetsThePlaylistAndStaysOpen)
{
    bootWith({});
    setup().Image4_click();
    setup().but_playlist_click();
    ASSERT_TRUE(setup().chooserShown.on());
    setup().ShellListView1_change(tmp.path()); // a folder counts too
    EXPECT_EQ(live().filename.text(), tmp.path());
    EXPECT_TRUE(live().playlist_changed.on());
    setup().ShellListView1_change(QString()); // nothing selected: nothing happens
    EXPECT_EQ(live().filename.text(), tmp.path());
    setup().Button8_click();
    setup().but_back();
    EXPECT_TRUE(setup().chooserShown.on()) << "only its own button closes it";
    setup().Button15_click();
    EXPECT_FALSE(setup().chooserShown.on());
}

TEST_F(SetupTest, AboutPanelOpensTheProjectPageInTheDefaultBrowserIfThereIsOne)
{
    bootWith({});
    setup().but_about_click();
    EXPECT_TRUE(setup().aboutShown.on());
    setup().lab_visit_click();
    EXPECT_TRUE(fake.shell->started.isEmpty()) << "no browser: nothing, and nothing reported";
    fake.shell->browser = QStringLiteral("/usr/bin/browser");
    setup().lab_visit_click();
    ASSERT_EQ(fake.shell->started.size(), 1);
    EXPECT_EQ(fake.shell->started[0],
              (QStringList{QStringLiteral("/usr/bin/browser"), kProjectPage}));
    setup().lab_close_click();
    EXPECT_FALSE(setup().aboutShown.on());
    EXPECT_TRUE(fake.dialogs->errors.isEmpty());
}

TEST_F(SetupTest, BackResumesAPausedPlayerAndReloadsTheRadio)
{
    bootWith({{cfg::MuteInSettings, QStringLiteral("true")}});
    EXPECT_EQ(fake.player->pauses, 1) << "the entry paused the stream";
    setup().Image2_click();
    const int plays = fake.player->plays;
    setup().but_back();
    EXPECT_GE(fake.player->plays, plays + 1);
    EXPECT_EQ(page(), zelk::Setup::Page::None);
}

// ------------------------------------------------------------ browser

TEST(DefaultBrowser, FoundFromTheDesktopAssociations)
{
    QTemporaryDir tmp;
    const auto write = [&](const QString& rel, const QByteArray& text) {
        const QString path = tmp.filePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    // A program of our own to be found: /bin/sh stands in for a browser.
    write(QStringLiteral("data/applications/web.desktop"),
          "[Desktop Entry]\nName=Web\nExec=\"/bin/sh\" %u\n");
    write(QStringLiteral("data/applications/other.desktop"),
          "[Desktop Entry]\nName=Other\nExec=sh --new-window %U\n");
    write(QStringLiteral("data/applications/gone.desktop"),
          "[Desktop Entry]\nExec=/no/such/program %u\n");
    struct Case
    {
        const char* name;
        QByteArray userList;   // config home mimeapps.list
        QByteArray systemList; // data dir defaults.list
        const char* browserVariable;
        bool found;
    };
    const Case cases[] = {
        {"user http handler", "[Default Applications]\nx-scheme-handler/http=web.desktop\n", "", "",
         true},
        {"system html handler", "", "[Default Applications]\ntext/html=other.desktop\n", "", true},
        {"first entry gone, next one taken",
         "[Default Applications]\nx-scheme-handler/http=gone.desktop;web.desktop;\n", "", "", true},
        {"only a program that does not exist",
         "[Default Applications]\nx-scheme-handler/http=gone.desktop\n", "", "", false},
        {"associations elsewhere in the file do not count",
         "[Added Associations]\nx-scheme-handler/http=web.desktop\n", "", "", false},
        {"no association, the BROWSER variable", "", "", "sh", true},
        {"nothing at all", "", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(QStringLiteral("config/mimeapps.list"), c.userList);
        write(QStringLiteral("data/applications/defaults.list"), c.systemList);
        QProcessEnvironment env;
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), tmp.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), tmp.filePath(QStringLiteral("none")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), tmp.filePath(QStringLiteral("nodata")));
        env.insert(QStringLiteral("XDG_DATA_DIRS"), tmp.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("BROWSER"), QString::fromLatin1(c.browserVariable));
        const QString found = findDefaultBrowser(env);
        EXPECT_EQ(!found.isEmpty(), c.found) << found.toStdString();
        if (c.found) {
            EXPECT_TRUE(QFileInfo(found).isAbsolute());
            EXPECT_TRUE(QFileInfo(found).isExecutable());
        }
    }
}
