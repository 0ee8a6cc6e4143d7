#include "app/desktopintegration.h"

#include "app/headunit.h"

namespace zelk {

DesktopIntegration::DesktopIntegration(HeadUnit& unit, QDBusConnection bus)
    : mpris(unit, bus), screenSaver(bus)
{
    // The screens open full screen; window mode lets the display sleep again.
    if (!unit.screens.windowMode.on())
        screenSaver.inhibit();
    connect(&unit.screens, &ScreenManager::windowModeEntered, &screenSaver,
            &ScreenSaverInhibitor::release);
}

} // namespace zelk
