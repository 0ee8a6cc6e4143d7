#pragma once
// The settings screen's state and operations: which page is open, the
// on-screen keyboard, and the ways out.

#include "app/values.h"

namespace zelk {

class HeadUnit;

class Setup : public QObject
{
    Q_OBJECT
public:
    enum class Page { None, Navi, Radio, General, Music, Dash };

    explicit Setup(HeadUnit& unit);

    // The page shown (at most one).
    IntValue page{static_cast<int>(Page::None)};
    FlagValue keyboardShown;

    void close_tabs();
    void showPage(Page p);
    void but_show_keys();
    void but_hide_keys();

    // Back to the main menu: playback resumes, and the configuration is read
    // again and the radio reloaded from it.
    void but_back();
    // Ends the program a second after the timers were stopped.
    void exit_click();

private:
    HeadUnit& m_unit;
};

} // namespace zelk
