#pragma once
// The head unit's logic and state, without any window: the modules of the
// program, the boot sequence with its timers, the hot keys and the way the
// program ends. The screens show what is here and forward their clicks.

#include "app/menu.h"
#include "app/screenmanager.h"
#include "app/sequencer.h"
#include "app/values.h"
#include "app/webview.h"
#include "controls/wheelbuttons.h"
#include "audio/player.h"
#include "audio/radio.h"
#include "audio/stationtext.h"
#include "audio/volume.h"
#include "music/music.h"
#include "platform/joysticks.h"
#include "platform/services.h"
#include "platform/uitimer.h"
#include "settings/settings.h"
#include "settings/setup.h"
#include "stations/directory.h"
#include "stations/stations.h"
#include "update/update.h"

#include <functional>

namespace zelk {

class HeadUnit : public QObject
{
    Q_OBJECT
public:
    // `dataDir` ends with a separator; every file of the program lives there.
    HeadUnit(Services services, QString dataDir);
    ~HeadUnit() override;

    QString filePath(const QString& name) const { return dataDir + name; }

    Services services;
    const QString dataDir;
    Sequencer seq;
    ScreenManager screens;
    Settings settings;
    Player player;
    Volume volume;
    Radio radio;
    StationText stationText;
    Music music;
    Update update;
    Menu menu;
    WebView web;
    Setup setup;
    StationDirectory directory;
    Stations stations;
    // Wheel and button-box buttons: the devices (none without support for
    // them) and the actions bound to their buttons.
    std::unique_ptr<JoystickSource> joysticks;
    WheelButtons wheel;

    UiTimer preboot{500, true};
    UiTimer boot{3000, true};
    UiTimer restartOnce{1000, false};
    UiTimer time{1000, true};

    // The clocks of the radio screen, the main menu and the web view.
    TextValue clock;
    // The boot picture covers the radio screen.
    FlagValue bootImage{true};
    // The radio screen shows the busy pointer until the boot step.
    FlagValue busyCursor{true};
    // The version label of the settings screen.
    TextValue settingsVersion{QStringLiteral("v0.0")};

    void preboot_tick();
    void boot_tick();
    void restartOnce_tick();
    void time_tick();
    void stopanytimer();
    void but_goto_menu();
    void chgWin();

    // Tunes preset n (1..6); from music mode by way of the Radio tile's
    // switch, the shown screen staying as it is. Nothing before the radio
    // has started.
    void tunePreset(int n);
    // The next or previous preset from the one in configuration line 7,
    // round from 6 to 1; from a line outside 1..6 the next is 1, the
    // previous 6.
    void stepPreset(int delta);
    // Play, pause and their toggle follow the mode: the transport buttons in
    // music mode, the station itself in radio mode.
    void play();
    void pause();
    void playPause();

    // What a function key does on the screen `shown`: that screen's own
    // binding, else the radio screen's. Empty when no screen binds the key,
    // and for a key pressed with Ctrl, Alt, Shift or Meta. Only the steps
    // (F2, F3, F11, F12) act again while the key is held down.
    std::function<void()> hotKey(ScreenId shown, int key, bool autoRepeat,
                                 Qt::KeyboardModifiers modifiers = {});
    // A screen's window was closed: every timer stops and the program ends.
    void closeScreen(ScreenId screen);

    // The value behind a text that the logic and the language load both
    // write, or null for a caption that only the language changes.
    TextValue* sharedText(ScreenId screen, const QString& element);

private:
    void finishBoot();
    WheelButtons::Operations wheelOperations();
    bool m_booting = false;
};

} // namespace zelk
