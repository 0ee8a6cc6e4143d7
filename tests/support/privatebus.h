#pragma once
// A session bus of the test's own: a dbus-daemon started for it, so that
// tests never meet the desktop's bus or each other.

#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace zelktest {

class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A connection of its own to this bus, under the name `name`.
    QDBusConnection connect(const QString& name) const;

private:
    QProcess m_daemon;
    QString m_address;
};

} // namespace zelktest
