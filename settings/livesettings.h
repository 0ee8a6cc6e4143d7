#pragma once
// The live settings: what the settings screen's controls hold. They are
// filled from Radio.ini once at start-up (load_Settings) and from then on
// are what the rest of the program reads, also when a page was cancelled
// after an edit. The settings screen's controls show and edit them.

#include "app/values.h"

#include <array>

namespace zelk {

class LiveSettings : public QObject
{
    Q_OBJECT
public:
    LiveSettings();

    // Navigation page
    TextValue URL;
    // Radio page: names, stream addresses and station-text addresses
    std::array<TextValue, 6> rname;
    std::array<TextValue, 6> rurl;
    std::array<TextValue, 6> rdsurl;
    // General page
    TextValue lang;
    FlagValue fullscreen_false; // else fullscreen_true is the selected one
    FlagValue fs_changed;       // a full-screen button became selected in this run
    FlagValue show_music_in_title;
    FlagValue auto_changemode;
    FlagValue mute_Settings;
    IntValue aufl_x;
    IntValue aufl_y;
    FlagValue CB_aufl_chgbl;
    FlagValue windowSizeEnabled; // aufl_x, aufl_y and CB_aufl_chgbl take input
    // Music page
    TextValue filename;
    FlagValue playlist_changed;
    FlagValue autoplay_last;
    FlagValue onlyatreboot;
    FlagValue also_visible;
    // Info-display page
    TextValue DashURL;

    // Selects fullscreen_true (full) or fullscreen_false; a button that
    // becomes selected sets fs_changed.
    void selectFullscreen(bool full);
    // The window-size boxes hold 1024..9999 and 600..9999.
    void setWindowSize(int width, int height);
};

// Texts of the Navigation page's map buttons, and the design addresses.
namespace maps {
inline const QString Ets2 = QStringLiteral("http://ets2map.com");
inline const QString GtaV = QStringLiteral("http://gta5map.example/index.php");
inline const QString Minecraft = QStringLiteral("http://minecraft.tovemark.example/");
inline const QString Tdu = QStringLiteral(
    "https://maps.tovemark.example/maps/d/viewer?mid=1tduSharedMapZelkQuen&hl=en_US");
inline const QString DesignUrl = QStringLiteral("http://ets2map.com/");
inline const QString DesignDashUrl =
    QStringLiteral("http://dashboard.tovemark.example/GameServer/ZelkQuen/");
} // namespace maps

} // namespace zelk
