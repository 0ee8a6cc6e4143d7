#include "settings/setup.h"

#include "app/headunit.h"
#include "settings/config.h"

namespace zelk {

namespace {
QString boolText(const FlagValue& flag)
{
    return flag.on() ? QStringLiteral("true") : QStringLiteral("false");
}
} // namespace

Setup::Setup(HeadUnit& unit) : m_unit(unit) {}

void Setup::close_tabs()
{
    page.set(static_cast<int>(Page::None));
}

void Setup::showPage(Page p)
{
    page.set(static_cast<int>(p));
}

void Setup::hidePage(Page p)
{
    if (page.value() == static_cast<int>(p))
        close_tabs();
}

void Setup::but_show_keys()
{
    keyboardShown.set(true);
}

void Setup::but_hide_keys()
{
    keyboardShown.set(false);
}

// Three icons hide the keyboard, two leave it as it is.
void Setup::Image2_click()
{
    close_tabs();
    showPage(Page::Navi);
    but_hide_keys();
}

void Setup::Image3_click()
{
    close_tabs();
    showPage(Page::Radio);
    but_hide_keys();
}

void Setup::Image12_click()
{
    close_tabs();
    showPage(Page::General);
}

void Setup::Image4_click()
{
    close_tabs();
    showPage(Page::Music);
    but_hide_keys();
}

void Setup::Image5_click()
{
    close_tabs();
    showPage(Page::Dash);
}

void Setup::Button2_click()
{
    m_unit.settings.live.URL.set(maps::Ets2);
}

void Setup::Button1_click()
{
    m_unit.settings.live.URL.set(maps::GtaV);
}

void Setup::Button3_click()
{
    m_unit.settings.live.URL.set(maps::Minecraft);
}

void Setup::Button4_click()
{
    m_unit.settings.live.URL.set(maps::Tdu);
}

void Setup::Button7_click()
{
    Settings& s = m_unit.settings;
    s.config.setLine(cfg::NaviUrl, s.live.URL.text());
    s.saveConfig();
    hidePage(Page::Navi);
    but_hide_keys();
}

void Setup::Button9_click()
{
    hidePage(Page::Navi);
}

void Setup::Button5_click()
{
    Settings& s = m_unit.settings;
    for (int i = 0; i < 6; ++i) {
        s.config.setLine(cfg::StationName1 + i, s.live.rname[i].text());
        s.config.setLine(cfg::StationUrl1 + i, s.live.rurl[i].text());
        s.config.setLine(cfg::RdsUrl1 + i, s.live.rdsurl[i].text());
    }
    s.saveConfig();
    hidePage(Page::Radio);
    but_hide_keys();
}

void Setup::Button6_click()
{
    hidePage(Page::Radio);
}

void Setup::Button10_click()
{
    Settings& s = m_unit.settings;
    LiveSettings& live = s.live;
    s.config.setLine(cfg::Language, live.lang.text());
    s.config.setLine(cfg::Fullscreen,
                     live.fullscreen_false.on() ? QStringLiteral("false") : QStringLiteral("true"));
    s.config.setLine(cfg::AutoChangeMode, boolText(live.auto_changemode));
    s.config.setLine(cfg::MusicInTitle, boolText(live.show_music_in_title));
    s.config.setLine(cfg::MuteInSettings, boolText(live.mute_Settings));
    s.saveConfig();
    hidePage(Page::General);
    s.languageCode = live.lang.text();
    s.loadlang();
    ScreenManager& screens = m_unit.screens;
    if (screens.windowMode.on()) {
        screens.resizeOuter(ScreenId::Form5, QSize(live.aufl_x.value(), live.aufl_y.value()));
        screens.setFrames(live.CB_aufl_chgbl.on());
    }
    // The full-screen choice takes effect at the next start.
    if (live.fs_changed.on())
        m_unit.services.dialogs->information(s.MUI.line(39));
}

void Setup::Button11_click()
{
    hidePage(Page::General);
}

void Setup::but_about_click()
{
    aboutShown.set(true);
}

void Setup::but_save_music_click()
{
    Settings& s = m_unit.settings;
    LiveSettings& live = s.live;
    s.config.setLine(cfg::Playlist, live.filename.text());
    s.config.setLine(cfg::AutoplayLast, boolText(live.autoplay_last));
    s.config.setLine(cfg::OnlyAtRestart, boolText(live.onlyatreboot));
    s.config.setLine(cfg::ProgressVisible, boolText(live.also_visible));
    s.saveConfig();
    hidePage(Page::Music);
    m_unit.music.stop();
    but_hide_keys();
}

void Setup::Button8_click()
{
    hidePage(Page::Music);
}

void Setup::but_playlist_click()
{
    chooserShown.set(true);
}

void Setup::Button15_click()
{
    chooserShown.set(false);
}

void Setup::ShellListView1_change(const QString& selectedPath)
{
    // Whatever is selected counts, a folder as well as a file.
    if (selectedPath.isEmpty())
        return;
    m_unit.settings.live.filename.set(selectedPath);
    m_unit.settings.live.playlist_changed.set(true);
}

void Setup::Button14_click()
{
    TextValue& dash = m_unit.settings.live.DashURL;
    dash.clear();
    dash.set(m_unit.services.shell->clipboardText());
}

void Setup::Button12_click()
{
    Settings& s = m_unit.settings;
    s.config.setLine(cfg::DashboardUrl, s.live.DashURL.text());
    s.saveConfig();
    hidePage(Page::Dash);
}

void Setup::Button13_click()
{
    hidePage(Page::Dash);
}

void Setup::lab_visit_click()
{
    // No browser, or one that does not start: nothing to report.
    Shell& shell = *m_unit.services.shell;
    const QString browser = shell.findDefaultBrowser();
    if (!browser.isEmpty())
        shell.startProgram(browser, {kProjectPage});
}

void Setup::lab_close_click()
{
    aboutShown.set(false);
}

void Setup::but_back()
{
    close_tabs();
    m_unit.screens.switchScreen(ScreenId::Form5, ScreenId::Form2);
    if (m_unit.player)
        m_unit.player->play();
    m_unit.screens.but_refresh(ScreenId::Form2);
    m_unit.settings.loadConfig();
    m_unit.radio.reloadRadio();
}

void Setup::exit_click()
{
    m_unit.stopanytimer();
    m_unit.seq.wait(
        1000, [this] { m_unit.services.quit(); }, Sequencer::Input::Dropped);
}

} // namespace zelk
