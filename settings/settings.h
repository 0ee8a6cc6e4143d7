#pragma once
// The configuration list and Radio.ini, the language list and its files,
// and the live settings filled from the configuration at start-up.

#include "app/screenmanager.h"
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

Q_SIGNALS:
    // A caption of a screen that only the language changes.
    void caption(ScreenId screen, const QString& element, const QString& text);

private:
    QString configPath() const;
    HeadUnit& m_unit;
};

} // namespace zelk
