#pragma once
// Keeps the desktop from starting the screen saver or blanking the display
// (org.freedesktop.ScreenSaver on the session bus). Calls never wait: the
// answers come back through the event loop.

#include <QDBusConnection>
#include <QObject>

namespace zelk {

class ScreenSaverInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(QDBusConnection bus, QObject* parent = nullptr);
    ~ScreenSaverInhibitor() override;

    // Asks the desktop to keep the display awake, once.
    void inhibit();
    // Lets it sleep again; also when the request is still under way.
    void release();
    // The desktop has granted the request and it has not been released.
    bool held() const { return m_cookie != 0; }

Q_SIGNALS:
    void stateChanged();

private:
    void sendRelease();
    QDBusConnection m_bus;
    uint m_cookie = 0;
    bool m_asking = false;
    bool m_wanted = false;
};

} // namespace zelk
