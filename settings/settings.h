#pragma once
// The configuration list and Radio.ini, the language list and its files,
// and the live settings filled from the configuration at start-up.

#include "app/screenmanager.h"
#include "settings/language.h"
#include "settings/linelist.h"
#include "settings/livesettings.h"

namespace zelk {

class HeadUnit;

class Settings : public QObject
{
    Q_OBJECT
public:
    explicit Settings(HeadUnit& unit);

    LineList config;
    LineList MUI;
    QString languageCode;
    LiveSettings live;

    bool configExists() const;
    // Replaces the list by Radio.ini when the file exists; a file that
    // exists but cannot be read ends the operation with an error.
    void loadConfig();
    // Rewrites Radio.ini from the list, atomically.
    void saveConfig();
    // Loads the language file of languageCode when there is one, then
    // writes every line into its targets on all four screens.
    void loadlang();
    // Start-up: the stored settings into the live settings, with the
    // language and the window mode applied.
    void load_Settings();

    // The language of the texts on the screens now, and a text outside the
    // language list in that language.
    UiLanguage shownLanguage() const { return m_shownLanguage; }
    QString text(const UiText& t) const { return uiText(m_shownLanguage, t); }

Q_SIGNALS:
    // A caption of a screen that only the language changes.
    void caption(ScreenId screen, const QString& element, const QString& text);

private:
    QString configPath() const;
    HeadUnit& m_unit;
    // What the list holds (the built-in texts are English, a file's texts
    // are in its code's language), and what the captions show: the German
    // design texts until the first loadlang writes the list into them.
    UiLanguage m_listLanguage = UiLanguage::English;
    UiLanguage m_shownLanguage = UiLanguage::German;
};

} // namespace zelk
