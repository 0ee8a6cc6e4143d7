#include "audio/volume.h"

#include "app/headunit.h"
#include "settings/config.h"

namespace zelk {

VolumeOverlay::VolumeOverlay(HeadUnit& unit) : m_unit(unit)
{
    unit.seq.bindTimer(voltimer, [this] { voltimer_tick(); });
}

void VolumeOverlay::showLevel(int level)
{
    volumebar.set(level);
    voltimer.setEnabled(false);
    voltimer.setEnabled(true);
    volbar.set(true);
}

void VolumeOverlay::voltimer_tick()
{
    volbar.set(false);
    voltimer.setEnabled(false);
}

void VolumeOverlay::Lauter1()
{
    ownStep(+5);
}

void VolumeOverlay::Leiser1()
{
    ownStep(-5);
}

void VolumeOverlay::ownStep(int delta)
{
    Volume& v = m_unit.volume;
    if (!m_unit.player)
        return; // nothing to change before the radio has started
    if ((delta > 0 && v.volume >= 100) || (delta < 0 && v.volume <= 0))
        return;
    v.volume += delta;
    m_unit.player->setVolume(v.volume);
    showLevel(v.volume);
}

Volume::Volume(HeadUnit& unit) : form1(unit), form2(unit), form3(unit), m_unit(unit) {}

void Volume::setMuteIcons(bool crossed)
{
    muted.set(crossed);
    menuMuted.set(crossed);
}

void Volume::storeLevel()
{
    m_unit.settings.config.setLine(cfg::Volume, QString::number(volume));
    m_unit.settings.saveConfig();
}

void Volume::setvol()
{
    m_unit.player->setVolume(volume);
    form1.volumebar.set(volume);
    form2.volumebar.set(volume);
    // Enabling a running countdown does not restart it.
    form1.voltimer.setEnabled(true);
    form2.voltimer.setEnabled(true);
    form1.volbar.set(true);
    form2.volbar.set(true);
    storeLevel();
}

void Volume::step(int delta)
{
    volume += delta;
    m_unit.player->setVolume(volume);
    form1.showLevel(volume);
    form2.showLevel(volume);
}

void Volume::Lauter1()
{
    if (!m_unit.player)
        return; // nothing to turn up before the radio has started
    if (muted.on()) {
        setMuteIcons(false);
        volume = savedVolume;
        setvol();
    }
    if (volume < 100)
        step(+5);
    storeLevel();
}

void Volume::Leiser1()
{
    if (!m_unit.player)
        return;
    if (volume > 0)
        step(-5);
    if (volume == 0)
        unmute();
    storeLevel();
}

void Volume::Mute1()
{
    mute();
}

// mute and unmute are toggles that differ only in the icon they test; while
// the radio screen shows exactly one speaker they do the same.
void Volume::mute()
{
    if (!m_unit.player)
        return;
    if (!muted.on()) {
        setMuteIcons(true);
        savedVolume = volume;
        volume = 0;
    } else {
        setMuteIcons(false);
        volume = savedVolume;
    }
    setvol();
}

void Volume::unmute()
{
    if (!m_unit.player)
        return;
    if (muted.on()) {
        setMuteIcons(false);
        volume = savedVolume;
    } else {
        setMuteIcons(true);
        savedVolume = volume;
        volume = 0;
    }
    setvol();
}

} // namespace zelk
