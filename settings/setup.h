#pragma once
// The settings screen's state and operations: which page is open, the
// on-screen keyboard, the playlist chooser, the about panel, the saves and
// cancels of the five pages, and the ways out. The page controls themselves
// are the live settings (settings/livesettings.h).

#include "app/values.h"

namespace zelk {

class HeadUnit;

// The project page shown in the about panel and opened from it.
inline const QString kProjectPage = QStringLiteral("https://zelkradio.example/");

class Setup : public QObject
{
    Q_OBJECT
public:
    enum class Page { None, Navi, Radio, General, Music, Dash };

    explicit Setup(HeadUnit& unit);

    // The page shown (at most one), as a Page.
    IntValue page{static_cast<int>(Page::None)};
    FlagValue keyboardShown;
    FlagValue aboutShown;
    FlagValue chooserShown;

    void close_tabs();
    void showPage(Page p);
    void but_show_keys();
    void but_hide_keys();

    // The page icons: Navigation, Radio, General, Music, Info-display.
    void Image2_click();
    void Image3_click();
    void Image12_click();
    void Image4_click();
    void Image5_click();

    // Navigation page: the four map presets, save, cancel.
    void Button2_click();
    void Button1_click();
    void Button3_click();
    void Button4_click();
    void Button7_click();
    void Button9_click();
    // Radio page: save, cancel.
    void Button5_click();
    void Button6_click();
    // General page: save, cancel, the about panel.
    void Button10_click();
    void Button11_click();
    void but_about_click();
    // Music page: save, cancel, the playlist chooser and its selection.
    void but_save_music_click();
    void Button8_click();
    void but_playlist_click();
    void Button15_click();
    void ShellListView1_change(const QString& selectedPath);
    // Info-display page: paste, save, cancel.
    void Button14_click();
    void Button12_click();
    void Button13_click();
    // About panel.
    void lab_visit_click();
    void lab_close_click();

    // Back to the main menu: playback resumes, and the configuration is read
    // again and the radio reloaded from it.
    void but_back();
    // Ends the program a second after the timers were stopped.
    void exit_click();

private:
    void hidePage(Page p);
    HeadUnit& m_unit;
};

} // namespace zelk
