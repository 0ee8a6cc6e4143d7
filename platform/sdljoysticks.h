#pragma once
// Joysticks, wheels, game pads and button boxes through SDL's joystick API
// (a wheel is no game controller). SDL stays inside the .cpp.

#include "platform/joysticks.h"

#include <memory>

namespace zelk {

class SdlJoysticks : public JoystickSource
{
    Q_OBJECT
public:
    // Starts SDL's joystick subsystem, and only that: the media engine's
    // libraries may use SDL too, so SDL itself is never shut down here.
    explicit SdlJoysticks(QObject* parent = nullptr);
    ~SdlJoysticks() override;

    // Whether the subsystem started; without it no device is ever seen.
    bool available() const;
    QList<JoystickDevice> devices() const override;

    // Reads what SDL has gathered now, as the pump timer does (tests).
    void pump();
    // How often SDL is asked: often for a while after a press (the release
    // of a held step is seen soon), less often while a device only waits
    // for its next press, seldom (to notice a device being plugged in) while
    // none is attached. Each reading wakes the process: the waiting interval
    // keeps an idle device under a tenth of a per cent of one core.
    static constexpr int kActiveIntervalMs = 30;
    static constexpr int kActiveForMs = 2000;
    static constexpr int kWaitingIntervalMs = 120;
    static constexpr int kIdleIntervalMs = 500;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zelk
