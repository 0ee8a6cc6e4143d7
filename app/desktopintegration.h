#pragma once
// What the head unit offers the desktop beside its own screens: media
// control over D-Bus and an awake display while it is shown full screen.
// Without a session bus the unit runs exactly as without them.

#include "app/mpris.h"
#include "platform/screensaver.h"

namespace zelk {

class HeadUnit;

class DesktopIntegration : public QObject
{
    Q_OBJECT
public:
    DesktopIntegration(HeadUnit& unit, QDBusConnection bus);

    Mpris mpris;
    ScreenSaverInhibitor screenSaver;
};

} // namespace zelk
