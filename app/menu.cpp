#include "app/menu.h"

#include "app/headunit.h"
#include "settings/config.h"

#include <QFileInfo>

namespace zelk {

Menu::Menu(HeadUnit& unit) : m_unit(unit) {}

void Menu::showTileName(int line)
{
    mainLabel.set(m_unit.settings.MUI.line(line));
}

void Menu::storeMode(bool radio)
{
    m_unit.radio.radiomode.set(radio);
    m_unit.settings.config.setLine(cfg::RadioMode,
                                   radio ? QStringLiteral("true") : QStringLiteral("false"));
    m_unit.settings.saveConfig();
}

void Menu::butRadio_click()
{
    if (m_unit.radio.radiomode.on()) {
        takemeback();
        storeMode(true);
        return;
    }
    switchToRadio([this] { takemeback(); });
}

void Menu::switchToRadio(std::function<void()> before, std::function<void()> after)
{
    m_unit.music.leavingForRadio();
    Volume& volume = m_unit.volume;
    if (m_unit.player) {
        volume.savedVolume = m_unit.player->volume();
        m_unit.player->setVolume(0);
    }
    // The way back to radio waits a second; the rest follows it.
    m_unit.radio.sw2_radio([this, before = std::move(before), after = std::move(after)] {
        if (before)
            before();
        storeMode(true);
        if (after)
            after();
    });
}

void Menu::but_music()
{
    LiveSettings& live = m_unit.settings.live;
    // A folder or a moved file is no playlist.
    if (!QFileInfo(live.filename.text()).isFile()) {
        noPlaylist.set(true);
        return;
    }
    Music& music = m_unit.music;
    if (m_unit.radio.radiomode.on())
        music.sw2_music();
    if (live.playlist_changed.on()) {
        music.sw2_music();
        if (!live.onlyatreboot.on())
            music.startSearch();
        live.playlist_changed.set(false);
    }
    takemeback();
    storeMode(false);
}

void Menu::butNavi_click()
{
    m_unit.web.load(m_unit.settings.live.URL.text());
    goto_Form3();
}

void Menu::butDash_click()
{
    m_unit.web.load(m_unit.settings.live.DashURL.text());
    goto_Form3();
}

void Menu::sw2Setup()
{
    m_unit.screens.switchScreen(ScreenId::Form2, ScreenId::Form5);
    // Radio streams pause as well as music.
    if (m_unit.settings.live.mute_Settings.on() && m_unit.player)
        m_unit.player->pause();
    m_unit.setup.but_hide_keys();
    m_unit.screens.but_refresh(ScreenId::Form5);
}

void Menu::exitWarning()
{
    noPlaylist.set(false);
}

void Menu::lab_cancel_click()
{
    exitWarning();
}

void Menu::lab_load_click()
{
    exitWarning();
    sw2Setup();
    m_unit.setup.showPage(Setup::Page::Music);
}

void Menu::takemeback()
{
    ScreenManager& screens = m_unit.screens;
    screens.switchScreen(ScreenId::Form2, ScreenId::Form1);
    // The repaint runs with the boot picture over the radio screen.
    m_unit.bootImage.set(true);
    screens.but_refresh(ScreenId::Form1);
    m_unit.bootImage.set(false);
}

void Menu::goto_Form3()
{
    m_unit.screens.switchScreen(ScreenId::Form2, ScreenId::Form3, ScreenManager::Order::HideFirst);
}

} // namespace zelk
