#pragma once
// Music mode: the playlist on the radio screen, the last-song search, the
// now-playing displays and the transport buttons.

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
    QString lastSong;

    // The radio screen's position line and transport buttons.
    TextValue timecount;
    FlagValue transport;
    // The progress lines of the radio screen, the main menu and the web view.
    FlagValue progressShown;

private:
    HeadUnit& m_unit;
};

} // namespace zelk
