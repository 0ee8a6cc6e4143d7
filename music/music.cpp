#include "music/music.h"

#include "app/headunit.h"
#include "settings/config.h"

#include <cmath>

namespace zelk {

namespace {
// Whole seconds, halves to the even neighbour.
int wholeSeconds(double seconds)
{
    return static_cast<int>(std::nearbyint(std::max(0.0, seconds)));
}
} // namespace

Music::Music(HeadUnit& unit) : m_unit(unit)
{
    unit.seq.bindTimer(MusicID3Check, [this] { MusicID3Check_tick(); });
    unit.seq.bindTimer(pause, [this] { pause_tick(); });
    unit.seq.bindTimer(check_PlaylistItem, [this] { check_PlaylistItem_tick(); });
    unit.seq.bindTimer(skip2last, [this] { skip2last_tick(); });
}

void Music::attachPlayer()
{
    // The engine opens items in the background; the name of an item is known
    // only once it is open.
    m_unit.player->setItemOpenedHandler([this] { m_unit.seq.post([this] { itemOpened(); }); });
}

void Music::sw2_music()
{
    m_storePending = false;
    if (music_started.on())
        check_PlaylistItem.setEnabled(true);
    timecount.clear();
    if (m_unit.player)
        m_unit.player->stop();
    m_unit.stationText.RDStimer.setEnabled(false);
    Radio& radio = m_unit.radio;
    radio.speicher.set(QStringLiteral("Playlist"));
    radio.sendername.set(QStringLiteral("Laden..."));
    const LiveSettings& live = m_unit.settings.live;
    m_unit.stationText.rdsText.set(live.filename.text());
    radio.showPresets(false);
    radio.Label1.set(QStringLiteral("MP3-Player"));
    transport.set(true);
    radio.setAktSender(radio.sendername.text());
    MusicID3Check.setEnabled(true);
    startPlaylist();
    if (live.also_visible.on())
        progressShown.set(true);
}

void Music::startPlaylist()
{
    if (!m_unit.player)
        return;
    m_unit.player->setUrl(m_unit.settings.live.filename.text());
    m_unit.player->play();
    // A search under way starts over with the list.
    m_searchSteps = 0;
    refresh_title();
}

void Music::startSearch()
{
    m_searchSteps = 0;
    m_searchMuted = m_unit.volume.muted.on();
    skip2last.setEnabled(true);
}

// The search at start-up runs muted, and its end brings the sound back. A
// search that began with the sound on leaves it on: unmute alone would
// toggle it off.
void Music::soundBackOn()
{
    m_searchMuted = false;
    if (m_unit.volume.muted.on())
        m_unit.volume.unmute();
}

void Music::leavingForRadio()
{
    m_storePending = false;
    // The search goes on once music plays again, but the station must not
    // stay silent because the search had muted the playlist.
    if (skip2last.isEnabled() && m_searchMuted)
        soundBackOn();
}

void Music::abort_autoskip()
{
    if (!skip2last.isEnabled())
        return;
    skip2last.setEnabled(false);
    soundBackOn();
}

void Music::refresh_title()
{
    if (!m_unit.player)
        return;
    const MediaPlayer& player = *m_unit.player.get();
    const QString title = player.currentItemName();
    m_unit.radio.sendername.set(title);
    m_unit.radio.setAktSender(player.currentPositionString() + QStringLiteral(" - ") + title);
}

void Music::MusicID3Check_tick()
{
    refresh_title();
    if (!m_unit.player)
        return;
    const MediaPlayer& player = *m_unit.player.get();
    timecount.set(player.currentPositionString());
    const int range = wholeSeconds(player.currentMediaDuration());
    progressMax.set(range);
    progressPos.set(std::clamp(wholeSeconds(player.currentPosition()), 0, range));
    if (m_unit.settings.live.show_music_in_title.on()) {
        const QString title = QStringLiteral("ZelkRadio: ") + m_unit.radio.sendername.text();
        caption.set(title);
        settingsCaption.set(title);
    } else {
        settingsCaption.set(QStringLiteral("ZelkRadio"));
    }
}

void Music::pause_tick()
{
    if (!pauseBlink) {
        timecount.set(QStringLiteral("Pause"));
        pauseBlink = true;
    } else {
        timecount.clear();
        pauseBlink = false;
    }
}

void Music::but_play_click()
{
    abort_autoskip();
    if (m_unit.player)
        m_unit.player->play();
    pause.setEnabled(false);
    MusicID3Check.setEnabled(true);
}

void Music::but_pause_click()
{
    abort_autoskip();
    if (m_unit.player)
        m_unit.player->pause();
    MusicID3Check.setEnabled(false);
    pause.setEnabled(true);
}

void Music::stop()
{
    m_storePending = false;
    abort_autoskip();
    if (m_unit.player)
        m_unit.player->stop();
    pause.setEnabled(false);
    MusicID3Check.setEnabled(true);
}

void Music::skip_plus()
{
    skip(true);
}

void Music::skip_minus()
{
    skip(false);
}

void Music::skip(bool forward)
{
    if (!m_unit.player)
        return;
    forward ? m_unit.player->next() : m_unit.player->previous();
    refresh_title();
    if (!skip2last.isEnabled()) {
        // The engine tells the new item's name once it has opened it; until
        // then the stored title stays as it is.
        if (m_unit.player->isOpening())
            m_storePending = true;
        else
            storeTitle();
    }
    abort_autoskip();
}

void Music::itemOpened()
{
    if (!m_storePending)
        return;
    m_storePending = false;
    refresh_title();
    if (!skip2last.isEnabled())
        storeTitle();
}

void Music::storeTitle()
{
    // Without an open item there is no title: the one stored stays. A
    // station's title is never the remembered song.
    if (!m_unit.player || !m_unit.player->hasCurrentItem() || m_unit.radio.radiomode.on())
        return;
    lastSong = m_unit.player->currentItemName();
    m_unit.settings.config.setLine(cfg::LastSong, lastSong);
    m_unit.settings.saveConfig();
}

void Music::check_PlaylistItem_tick()
{
    storeTitle();
}

void Music::skip2last_tick()
{
    if (!m_unit.player)
        return;
    const MediaPlayer& player = *m_unit.player.get();
    // In radio mode the player holds a station: the search waits for the
    // playlist to come back. An item on its way has no name yet: compare
    // when it has one.
    if (m_unit.radio.radiomode.on() || player.isOpening())
        return;
    const QString remembered = m_unit.settings.config.line(cfg::LastSong);
    const QString current = player.currentItemName();
    const bool stepOn = remembered != current && !remembered.isEmpty() &&
                        remembered != QLatin1String(" ") && m_unit.settings.live.autoplay_last.on();
    // A title that no item has: after one pass through the list the search
    // ends as though it had found it, instead of stepping on for ever.
    if (stepOn && m_searchSteps < player.playlistCount() - 1) {
        m_unit.player->next();
        ++m_searchSteps;
        refresh_title();
        return;
    }
    finishSearch();
}

void Music::finishSearch()
{
    check_PlaylistItem.setEnabled(true);
    music_started.set(true);
    soundBackOn();
    m_unit.volume.setvol();
    skip2last.setEnabled(false);
}

} // namespace zelk
