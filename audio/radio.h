#pragma once
// The six station presets of the radio screen: the start of the radio,
// tuning, and the way back from music mode.

#include "app/values.h"

#include <array>
#include <functional>

namespace zelk {

class HeadUnit;

// How the presets look on the radio screen.
struct PresetLook
{
    std::array<bool, 6> selected{true, true, true, true, true, true};    // butN_1 shown
    std::array<bool, 6> unselected{false, true, true, true, true, true}; // butN_0 shown
    std::array<bool, 6> number{true, true, true, true, true, true};      // progN shown
    // progN white on grey; otherwise black on white.
    std::array<bool, 6> highlighted{true, false, false, false, false, false};

    bool operator==(const PresetLook&) const = default;
};

class Radio : public QObject
{
    Q_OBJECT
public:
    explicit Radio(HeadUnit& unit);

    // Checked while radio mode is active; the main menu writes it.
    FlagValue radiomode{true};
    // Set by startRadio: the version label gives way to the clock, and the
    // volume controls appear.
    FlagValue started;
    FlagValue volumeKeysShown;

    // The radio screen's mode caption, preset line and station name.
    TextValue Label1{QStringLiteral("Radio")};
    TextValue speicher{QStringLiteral("FM: 1")};
    TextValue sendername{QStringLiteral("Suchen...")};
    // The now-playing lines (aktSender) of the main menu and the web view.
    TextValue menuAktSender{QStringLiteral("Radio aus")};
    TextValue webAktSender{QStringLiteral("Radio aus")};

    const PresetLook& presets() const { return m_presets; }

    void startRadio();
    void Button1() { ButtonN(1); }
    void Button2() { ButtonN(2); }
    void Button3() { ButtonN(3); }
    void Button4() { ButtonN(4); }
    void Button5() { ButtonN(5); }
    void Button6() { ButtonN(6); }
    void ButtonN(int n);
    void makeButWhite();
    void reloadRadio();
    // Back from music mode. It waits 1000 ms before it tunes preset 1; the
    // caller's later steps go into `then`.
    void sw2_radio(std::function<void()> then = {});

    // Both now-playing lines at once.
    void setAktSender(const QString& text);
    // Shows or hides all preset discs and numbers (the mode switches).
    void showPresets(bool shown);

Q_SIGNALS:
    void presetsChanged();

private:
    HeadUnit& m_unit;
    PresetLook m_presets;
};

} // namespace zelk
