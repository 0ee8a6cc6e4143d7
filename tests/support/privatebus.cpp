#include "support/privatebus.h"

namespace zelktest {

PrivateBus::PrivateBus()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(5000))
        return;
    // The address comes as the first line on standard output.
    while (m_daemon.state() == QProcess::Running && !m_daemon.canReadLine())
        m_daemon.waitForReadyRead(5000);
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000))
            m_daemon.kill();
        m_daemon.waitForFinished(3000);
    }
}

QDBusConnection PrivateBus::connect(const QString& name) const
{
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace zelktest
