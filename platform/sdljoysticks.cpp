#include "platform/sdljoysticks.h"

#include "platform/log.h"

#include <QElapsedTimer>
#include <QTimer>

#include <SDL.h>

#include <algorithm>
#include <vector>

namespace zelk {

struct SdlJoysticks::Impl
{
    struct Device
    {
        SDL_Joystick* joystick = nullptr;
        SDL_JoystickID instance = -1;
        JoystickDevice id;
        std::vector<Uint8> hats; // the directions each hat holds now
    };

    bool started = false;
    std::vector<Device> devices;
    QTimer timer;
    QElapsedTimer sinceActivity; // since the last press or release

    Device* find(SDL_JoystickID instance)
    {
        for (Device& d : devices)
            if (d.instance == instance)
                return &d;
        return nullptr;
    }
    ControlId control(const Device& d, ControlId::Kind kind, int index, int direction = 0) const
    {
        return {d.id.guid, d.id.name, d.id.order, kind, index, direction};
    }
    // Identical devices take the lowest order that none of them holds.
    int freeOrder(const QString& guid, const QString& name) const
    {
        for (int order = 0;; ++order) {
            const bool taken = std::any_of(devices.begin(), devices.end(), [&](const Device& d) {
                return d.id.guid == guid && d.id.name == name && d.id.order == order;
            });
            if (!taken)
                return order;
        }
    }
};

SdlJoysticks::SdlJoysticks(QObject* parent) : JoystickSource(parent), d(std::make_unique<Impl>())
{
    // Buttons count while another window (the game) has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        qCInfo(lcInput).noquote() << "no wheel or joystick support:" << SDL_GetError();
        return;
    }
    d->started = true;
    // Events are read on this thread's loop: often while a device is there,
    // seldom (only to notice a device being plugged in) while none is.
    d->timer.setTimerType(Qt::CoarseTimer);
    connect(&d->timer, &QTimer::timeout, this, &SdlJoysticks::pump);
    d->timer.start(kIdleIntervalMs);
    pump();
    if (d->devices.empty())
        qCInfo(lcInput) << "no wheel, button box or joystick attached";
}

SdlJoysticks::~SdlJoysticks()
{
    if (!d->started)
        return;
    for (Impl::Device& dev : d->devices)
        SDL_JoystickClose(dev.joystick);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoysticks::available() const
{
    return d->started;
}

QList<JoystickDevice> SdlJoysticks::devices() const
{
    QList<JoystickDevice> list;
    for (const Impl::Device& dev : d->devices)
        list.append(dev.id);
    return list;
}

void SdlJoysticks::pump()
{
    if (!d->started)
        return;
    // Only the joysticks: the rest of SDL's event pump is not ours to run.
    SDL_JoystickUpdate();
    SDL_Event events[32];
    bool changed = false;
    bool active = false;
    for (;;) {
        const int n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_JOYAXISMOTION,
                                     SDL_JOYBATTERYUPDATED);
        if (n <= 0)
            break;
        for (int i = 0; i < n; ++i) {
            const SDL_Event& e = events[i];
            switch (e.type) {
            case SDL_JOYDEVICEADDED: {
                SDL_Joystick* js = SDL_JoystickOpen(e.jdevice.which);
                if (!js) {
                    qCInfo(lcInput).noquote() << "cannot open a joystick:" << SDL_GetError();
                    break;
                }
                const SDL_JoystickID instance = SDL_JoystickInstanceID(js);
                if (d->find(instance)) {
                    SDL_JoystickClose(js); // already open: SDL reports some devices twice
                    break;
                }
                char guid[64] = {};
                SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(js), guid, sizeof guid);
                const char* name = SDL_JoystickName(js);
                Impl::Device dev;
                dev.joystick = js;
                dev.instance = instance;
                dev.id.guid = QString::fromLatin1(guid);
                dev.id.name = QString::fromUtf8(name ? name : "").simplified().left(200);
                dev.id.order = d->freeOrder(dev.id.guid, dev.id.name);
                dev.hats.assign(std::max(0, SDL_JoystickNumHats(js)), 0);
                qCInfo(lcInput).noquote() << "device attached:" << dev.id.name << dev.id.guid;
                d->devices.push_back(std::move(dev));
                changed = true;
                break;
            }
            case SDL_JOYDEVICEREMOVED: {
                auto it = std::find_if(d->devices.begin(), d->devices.end(),
                                       [&](const Impl::Device& dev) {
                                           return dev.instance == e.jdevice.which;
                                       });
                if (it == d->devices.end())
                    break;
                qCInfo(lcInput).noquote() << "device removed:" << it->id.name;
                // Whatever it held down is let go.
                for (int h = 0; h < int(it->hats.size()); ++h)
                    for (int bit : {ControlId::Up, ControlId::Right, ControlId::Down,
                                    ControlId::Left})
                        if (it->hats[h] & bit)
                            Q_EMIT released(d->control(*it, ControlId::Kind::Hat, h, bit));
                SDL_JoystickClose(it->joystick);
                d->devices.erase(it);
                changed = true;
                break;
            }
            case SDL_JOYBUTTONDOWN:
            case SDL_JOYBUTTONUP:
                active = true;
                if (const Impl::Device* dev = d->find(e.jbutton.which)) {
                    const ControlId c = d->control(*dev, ControlId::Kind::Button, e.jbutton.button);
                    if (e.type == SDL_JOYBUTTONDOWN)
                        Q_EMIT pressed(c);
                    else
                        Q_EMIT released(c);
                }
                break;
            case SDL_JOYHATMOTION:
                active = true;
                if (Impl::Device* dev = d->find(e.jhat.which)) {
                    if (e.jhat.hat >= dev->hats.size())
                        break;
                    const Uint8 before = dev->hats[e.jhat.hat];
                    const Uint8 now = e.jhat.value & 0x0f;
                    dev->hats[e.jhat.hat] = now;
                    for (int bit :
                         {ControlId::Up, ControlId::Right, ControlId::Down, ControlId::Left}) {
                        const ControlId c =
                            d->control(*dev, ControlId::Kind::Hat, e.jhat.hat, bit);
                        if ((before & bit) && !(now & bit))
                            Q_EMIT released(c);
                        else if (!(before & bit) && (now & bit))
                            Q_EMIT pressed(c);
                    }
                }
                break;
            default:
                break; // axes, balls, battery: not buttons
            }
        }
    }
    if (active)
        d->sinceActivity.start();
    int interval = kIdleIntervalMs;
    if (!d->devices.empty())
        interval = d->sinceActivity.isValid() && d->sinceActivity.elapsed() < kActiveForMs
                       ? kActiveIntervalMs
                       : kWaitingIntervalMs;
    // Setting the interval restarts the timer: only on a change.
    if (d->timer.interval() != interval)
        d->timer.setInterval(interval);
    if (changed)
        Q_EMIT devicesChanged();
}

} // namespace zelk
