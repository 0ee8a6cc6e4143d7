#include "settings/livesettings.h"

#include "settings/config.h"

#include <algorithm>

namespace zelk {

LiveSettings::LiveSettings()
{
    // The design values, kept for a whole run that started without Radio.ini.
    URL.set(maps::DesignUrl);
    DashURL.set(maps::DesignDashUrl);
    lang.set(QStringLiteral("EN-US"));
    const QStringList defaults = defaultConfigLines();
    for (int i = 0; i < 6; ++i) {
        rname[i].set(defaults.at(cfg::StationName1 + i));
        rurl[i].set(defaults.at(cfg::StationUrl1 + i));
        rdsurl[i].set(defaults.at(cfg::RdsUrl1 + i));
    }
    aufl_x.set(1280);
    aufl_y.set(720);
    CB_aufl_chgbl.set(true);
    windowSizeEnabled.set(true);
}

void LiveSettings::selectFullscreen(bool full)
{
    if (fullscreen_false.on() == !full)
        return;
    fullscreen_false.set(!full);
    fs_changed.set(true);
}

void LiveSettings::setWindowSize(int width, int height)
{
    aufl_x.set(std::clamp(width, 1024, 9999));
    aufl_y.set(std::clamp(height, 600, 9999));
}

} // namespace zelk
