#pragma once
// The one volume level of radio and music, mute, and the volume overlays of
// the radio screen, the main menu and the web view.

#include "app/values.h"
#include "platform/uitimer.h"

namespace zelk {

class HeadUnit;

// A screen's volume overlay: the panel `volbar` with the gauge `volumebar`,
// hidden again by that screen's `voltimer` 3000 ms later.
class VolumeOverlay : public QObject
{
    Q_OBJECT
public:
    explicit VolumeOverlay(HeadUnit& unit);

    FlagValue volbar;
    IntValue volumebar{50};
    UiTimer voltimer{3000, false};

    // Sets the gauge, restarts the countdown (a full interval from now) and
    // shows the panel.
    void showLevel(int level);
    void voltimer_tick();

    // The own keys of the main menu and of the web view: F12 and F11 change
    // the level and this overlay only; icons and the stored level stay.
    void Lauter1();
    void Leiser1();

private:
    void ownStep(int delta);
    HeadUnit& m_unit;
};

class Volume : public QObject
{
    Q_OBJECT
public:
    explicit Volume(HeadUnit& unit);

    // The level the volume operations give to the player, and the one to
    // return to after mute or a mode switch.
    int volume = 0;
    int savedVolume = 0;
    // The radio screen shows the crossed speaker: the logic's mute state.
    FlagValue muted;
    // The main menu's own pair of speaker icons, which tuning leaves alone.
    FlagValue menuMuted;

    VolumeOverlay form1;
    VolumeOverlay form2;
    VolumeOverlay form3;

    void setvol();
    void Lauter1();
    void Leiser1();
    void Mute1();
    void mute();
    void unmute();

private:
    void step(int delta);
    void setMuteIcons(bool crossed);
    void storeLevel();
    HeadUnit& m_unit;
};

} // namespace zelk
