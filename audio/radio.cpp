#include "audio/radio.h"

#include "app/headunit.h"
#include "settings/config.h"

namespace zelk {

Radio::Radio(HeadUnit& unit) : m_unit(unit) {}

void Radio::setAktSender(const QString& text)
{
    menuAktSender.set(text);
    webAktSender.set(text);
}

void Radio::showPresets(bool shown)
{
    m_presets.selected.fill(shown);
    m_presets.unselected.fill(shown);
    m_presets.number.fill(shown);
    Q_EMIT presetsChanged();
}

void Radio::startRadio()
{
    if (m_unit.player)
        return; // the one player exists already: the radio has started
    m_unit.bootImage.set(false);
    sendername.set(m_unit.settings.config.line(cfg::StationName1));
    m_unit.player.create();
    m_unit.music.attachPlayer();
    m_unit.stationText.attachPlayer();
    m_unit.player->setUrl(m_unit.settings.config.line(cfg::StationUrl1));
    m_unit.player->play();
    m_unit.restartOnce.setEnabled(true);
    started.set(true);
    m_unit.stationText.reloadRDS();
    m_unit.boot.setEnabled(false);
    volumeKeysShown.set(true);
    reloadRadio();
}

void Radio::makeButWhite()
{
    m_presets.selected.fill(false);
    m_presets.unselected.fill(true);
    m_presets.highlighted.fill(false);
    Q_EMIT presetsChanged();
}

void Radio::ButtonN(int n)
{
    // Before the radio has started there is nothing to tune, and nothing is
    // stored: Radio.ini must not appear before the first start has run.
    if (n < 1 || n > 6 || !m_unit.player)
        return;
    makeButWhite();
    m_presets.unselected[n - 1] = false;
    m_presets.selected[n - 1] = true;
    m_presets.highlighted[n - 1] = true;
    Q_EMIT presetsChanged();
    speicher.set(QStringLiteral("FM: %1").arg(n));
    LineList& config = m_unit.settings.config;
    sendername.set(config.line(cfg::StationName1 - 1 + n));
    m_unit.player->setUrl(config.line(cfg::StationUrl1 - 1 + n));
    config.setLine(cfg::ActiveStation, QString::number(n));
    m_unit.settings.saveConfig();
    reloadRadio();
}

void Radio::reloadRadio()
{
    if (m_unit.player)
        m_unit.player->play();
    m_unit.stationText.rdsText.clear();
    m_unit.volume.muted.set(false); // the radio screen's icon only
    setAktSender(QStringLiteral("Radio: ") + sendername.text());
    if (radiomode.on()) {
        m_unit.stationText.RDStimer.setEnabled(true);
        m_unit.stationText.reloadRDS();
    }
}

void Radio::sw2_radio(std::function<void()> then)
{
    Music& music = m_unit.music;
    music.leavingForRadio();
    if (m_unit.player)
        m_unit.player->stop();
    music.MusicID3Check.setEnabled(false);
    speicher.set(QStringLiteral("FM: 1"));
    sendername.set(QStringLiteral("Laden..."));
    music.timecount.clear();
    m_unit.stationText.rdsText.clear();
    m_unit.stationText.RDStimer.setEnabled(true);
    showPresets(true);
    music.transport.set(false);
    music.check_PlaylistItem.setEnabled(false);
    Label1.set(QStringLiteral("Radio"));
    reloadRadio();
    m_unit.seq.wait(1000, [this, then = std::move(then)] {
        Button1();
        if (m_unit.player)
            m_unit.player->setVolume(m_unit.volume.savedVolume);
        m_unit.music.progressShown.set(false);
        if (then)
            then();
    });
}

} // namespace zelk
