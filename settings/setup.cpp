#include "settings/setup.h"

#include "app/headunit.h"

namespace zelk {

Setup::Setup(HeadUnit& unit) : m_unit(unit) {}

void Setup::close_tabs()
{
    page.set(static_cast<int>(Page::None));
}

void Setup::showPage(Page p)
{
    page.set(static_cast<int>(p));
}

void Setup::but_show_keys()
{
    keyboardShown.set(true);
}

void Setup::but_hide_keys()
{
    keyboardShown.set(false);
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
