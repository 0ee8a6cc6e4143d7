#pragma once
// SDL's virtual joystick for tests and benchmarks: it goes through SDL's real
// event path. Header only, for the programs that link SDL.

#include <SDL.h>

namespace zelktest {

// A virtual wheel with twelve buttons, one hat and one axis, as SDL makes
// it; it stays attached until detach().
class VirtualWheel
{
public:
    explicit VirtualWheel(const char* name = "Test Wheel")
    {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_WHEEL;
        desc.naxes = 1;
        desc.nbuttons = 12;
        desc.nhats = 1;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0)
            m_joystick = SDL_JoystickOpen(index);
    }
    VirtualWheel(const VirtualWheel&) = delete;
    VirtualWheel& operator=(const VirtualWheel&) = delete;
    ~VirtualWheel()
    {
        detach();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    bool ok() const { return m_joystick != nullptr; }
    void button(int b, bool down)
    {
        SDL_JoystickSetVirtualButton(m_joystick, b, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void hat(Uint8 value) { SDL_JoystickSetVirtualHat(m_joystick, 0, value); }
    void axis(Sint16 value) { SDL_JoystickSetVirtualAxis(m_joystick, 0, value); }
    void detach()
    {
        if (!m_joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(m_joystick);
        SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* m_joystick = nullptr;
};

} // namespace zelktest
