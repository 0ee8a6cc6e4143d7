#pragma once
// Buttons of a wheel, a button box or a game pad bound to the unit's
// actions. Each action runs the operation its hot key, screen button or
// media-control call runs, through the sequencer like any other input.
// Bindings live in Buttons.ini in the data folder.

#include "app/values.h"
#include "platform/joysticks.h"

#include <QHash>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

namespace zelk {

class Sequencer;

enum class WheelAction {
    NextPreset,
    PreviousPreset,
    Preset1,
    Preset2,
    Preset3,
    Preset4,
    Preset5,
    Preset6,
    VolumeUp,
    VolumeDown,
    Mute,
    MainMenu,
    NextTitle,
    PreviousTitle,
    PlayPause,
};
inline constexpr int kWheelActionCount = 15;

// The key of an action in Buttons.ini ("next_preset", ...).
QString wheelActionKey(WheelAction action);
// Steps that repeat while their button is held.
bool wheelActionRepeats(WheelAction action);

class WheelButtons : public QObject
{
    Q_OBJECT
public:
    using Operations = std::array<std::function<void()>, kWheelActionCount>;

    // `source` may be null (no joystick support): then nothing is ever
    // pressed, and bindings can still be read and cleared.
    WheelButtons(Sequencer& seq, JoystickSource* source, QString iniPath, Operations operations);

    std::optional<ControlId> binding(WheelAction action) const;
    // A text for the bound button: "<device>: Button 3", "<device>: Hat 1 Up".
    QString bindingText(WheelAction action, bool german) const;

    // The next press of any button or hat direction is bound to `action`
    // (and taken from any other action that had it); nothing runs for that
    // press. Ends by itself after kCaptureMs.
    void beginCapture(WheelAction action);
    void cancelCapture();
    // How long a capture waits for its press (kCaptureMs unless a test says).
    void setCaptureTimeout(int ms) { m_captureTimeout.setInterval(ms); }
    void clear(WheelAction action);

    // The action waiting for its button, if any.
    FlagValue capturing;
    IntValue capturedAction{-1};
    // Bindings changed (bound, moved, cleared, read).
    Q_SIGNAL void bindingsChanged();

    static constexpr int kCaptureMs = 10000;
    static constexpr int kRepeatDelayMs = 500;
    static constexpr int kRepeatIntervalMs = 100;

private:
    void onPressed(const ControlId& control);
    void onReleased(const ControlId& control);
    void load();
    void save();
    void endCapture();

    Sequencer& m_seq;
    QString m_iniPath;
    Operations m_operations;
    std::array<std::optional<ControlId>, kWheelActionCount> m_bindings;
    QTimer m_captureTimeout;
    // The held button of a repeating action.
    std::optional<ControlId> m_held;
    int m_heldAction = -1;
    QTimer m_repeat;
};

} // namespace zelk
