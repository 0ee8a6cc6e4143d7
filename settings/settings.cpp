#include "settings/settings.h"

#include "app/headunit.h"
#include "settings/config.h"
#include "settings/language.h"

#include <QFile>

namespace zelk {

Settings::Settings(HeadUnit& unit)
    : config(defaultConfigLines()), MUI(builtinLanguageLines()), m_unit(unit)
{
}

QString Settings::configPath() const
{
    return m_unit.filePath(QLatin1String(kConfigFileName));
}

bool Settings::configExists() const
{
    return QFile::exists(configPath());
}

void Settings::loadConfig()
{
    loadConfigFile(config, configPath());
}

void Settings::saveConfig()
{
    saveConfigFile(config, configPath());
}

void Settings::loadlang()
{
    if (loadLanguageFile(MUI, m_unit.dataDir, languageCode))
        m_listLanguage = uiLanguageOf(languageCode);
    m_shownLanguage = m_listLanguage;
    for (const LanguageTarget& t : languageTargets()) {
        QString text = MUI.line(t.line);
        if (t.line == kAuthorLine)
            text += kAuthorSuffix;
        const QString element = QLatin1String(t.element);
        // Texts that the logic changes as well live in the logic's values.
        if (TextValue* shown = m_unit.sharedText(t.screen, element))
            shown->set(text);
        else
            Q_EMIT caption(t.screen, element, text);
    }
}

void Settings::load_Settings()
{
    languageCode = config.line(cfg::Language);
    live.lang.set(languageCode);
    loadlang();
    if (config.line(cfg::Fullscreen) == QLatin1String("false")) {
        m_unit.screens.chgWin();
        live.selectFullscreen(false);
    } else if (!m_unit.screens.windowMode.on()) {
        // (Window mode asked for on the command line keeps the size controls.)
        live.CB_aufl_chgbl.set(false);
        live.windowSizeEnabled.set(false);
        const QSize size = m_unit.screens.size(ScreenId::Form1);
        live.setWindowSize(size.width(), size.height());
    }
    live.URL.set(config.line(cfg::NaviUrl));
    live.filename.set(config.line(cfg::Playlist));
    live.DashURL.set(config.line(cfg::DashboardUrl));
    for (int i = 0; i < 6; ++i) {
        live.rname[i].set(config.line(cfg::StationName1 + i));
        live.rurl[i].set(config.line(cfg::StationUrl1 + i));
        live.rdsurl[i].set(config.line(cfg::RdsUrl1 + i));
    }
    // A box is only ever checked here, never cleared.
    const std::pair<int, FlagValue*> boxes[] = {
        {cfg::AutoplayLast, &live.autoplay_last},
        {cfg::MusicInTitle, &live.show_music_in_title},
        {cfg::AutoChangeMode, &live.auto_changemode},
        {cfg::MuteInSettings, &live.mute_Settings},
        {cfg::OnlyAtRestart, &live.onlyatreboot},
        {cfg::ProgressVisible, &live.also_visible},
    };
    for (const auto& [line, box] : boxes)
        if (config.line(line) == QLatin1String("true"))
            box->set(true);
}

} // namespace zelk
