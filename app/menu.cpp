#include "app/menu.h"

#include "app/headunit.h"

namespace zelk {

Menu::Menu(HeadUnit& unit) : m_unit(unit) {}

void Menu::takemeback()
{
    ScreenManager& screens = m_unit.screens;
    screens.switchScreen(ScreenId::Form2, ScreenId::Form1);
    // The repaint runs with the boot picture over the radio screen.
    m_unit.bootImage.set(true);
    screens.but_refresh(ScreenId::Form1);
    m_unit.bootImage.set(false);
}

void Menu::sw2Setup()
{
    m_unit.screens.switchScreen(ScreenId::Form2, ScreenId::Form5);
    m_unit.screens.but_refresh(ScreenId::Form5);
}

} // namespace zelk
