#pragma once
// Music mode: the playlist on the radio screen, the last-song search, the
// title store, the now-playing displays and the transport buttons.

#include "app/values.h"
#include "platform/uitimer.h"

namespace zelk {

class HeadUnit;

class Music : public QObject
{
    Q_OBJECT
public:
    explicit Music(HeadUnit& unit);

    UiTimer MusicID3Check{500, false};
    UiTimer pause{500, false};
    UiTimer check_PlaylistItem{3000, false};
    UiTimer skip2last{500, false};

    // A last-song search has finished in this run.
    FlagValue music_started;
    // The last title recorded.
    QString lastSong;
    // The "Pause" blink's state, kept between pauses.
    bool pauseBlink = false;

    // The radio screen's position line and transport buttons.
    TextValue timecount;
    FlagValue transport;
    // The progress lines of the radio screen, the main menu and the web view:
    // shown, range and position in whole seconds.
    FlagValue progressShown;
    IntValue progressMax;
    IntValue progressPos;
    // Window captions of the radio screen, the menu and the web view, and of
    // the settings screen. Set by the now-playing tick only.
    TextValue caption;
    TextValue settingsCaption;

    void sw2_music();
    void startPlaylist();
    void abort_autoskip();
    void refresh_title();
    void skip_plus();
    void skip_minus();
    void stop();
    // The clicks of but_play and but_pause.
    void but_play_click();
    void but_pause_click();

    // Enables skip2last: a last-song search from the current item on.
    void startSearch();
    // The player is about to take a station: a title store waiting for an
    // item's name is dropped, and a search that muted the sound gives it
    // back (the search itself goes on when music plays again).
    void leavingForRadio();

    void skip2last_tick();
    void check_PlaylistItem_tick();
    void MusicID3Check_tick();
    void pause_tick();

    // Called once the player exists: items that finish opening complete a
    // title store that waited for their name.
    void attachPlayer();

private:
    void skip(bool forward);
    void storeTitle();
    void finishSearch();
    void soundBackOn();
    void itemOpened();
    HeadUnit& m_unit;
    // A skip asked for the new title to be stored before its name was known.
    bool m_storePending = false;
    // Steps of the running last-song search.
    int m_searchSteps = 0;
    // The sound was muted when the running search began.
    bool m_searchMuted = false;
};

} // namespace zelk
