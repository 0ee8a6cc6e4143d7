#include "platform/screensaver.h"

#include "platform/log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace zelk {

namespace {
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    // A request whose answer has not come yet ends with the connection: the
    // desktop drops what a program held when it leaves the bus.
    m_wanted = false;
    sendRelease();
}

void ScreenSaverInhibitor::inhibit()
{
    m_wanted = true;
    if (m_cookie || m_asking)
        return;
    if (!m_bus.isConnected()) {
        qCInfo(lcDesktop) << "no session bus: the screen saver cannot be held off";
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("ZelkRadio") << QStringLiteral("The head unit is shown full screen");
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        m_asking = false;
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            qCInfo(lcDesktop).noquote()
                << "the desktop keeps its screen saver:" << reply.error().message();
            return;
        }
        m_cookie = reply.value();
        // Released while the answer was on its way.
        if (!m_wanted)
            sendRelease();
        Q_EMIT stateChanged();
    });
}

void ScreenSaverInhibitor::release()
{
    m_wanted = false;
    sendRelease();
}

void ScreenSaverInhibitor::sendRelease()
{
    if (!m_cookie)
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("UnInhibit"));
    call << m_cookie;
    m_cookie = 0;
    // Nothing to wait for: the desktop drops the request either way when
    // the program's connection ends.
    m_bus.send(call);
    Q_EMIT stateChanged();
}

} // namespace zelk
