#include "app/screenmanager.h"

namespace zelk {

void ScreenManager::switchScreen(ScreenId from, ScreenId to, Order order)
{
    if (order == Order::HideFirst) {
        hide(from);
        show(to);
    } else {
        show(to);
        hide(from);
    }
    Q_EMIT geometryHandedOver(from, to);
}

void ScreenManager::chgWin()
{
    windowMode.set(true);
    Q_EMIT windowModeEntered();
}

QSize ScreenManager::size(ScreenId screen) const
{
    return m_size ? m_size(screen) : QSize(1280, 720);
}

} // namespace zelk
