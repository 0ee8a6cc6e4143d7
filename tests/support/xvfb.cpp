#include "support/xvfb.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace zelktest {

XvfbDisplay::XvfbDisplay(const QString& size)
{
    // A number whose lock file and socket are both free, from high up so as
    // not to meet a display of the machine.
    for (int n = 91; n < 160 && m_name.isEmpty(); ++n) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            continue;
        const QString name = QStringLiteral(":%1").arg(n);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("Xvfb"), {name, QStringLiteral("-screen"),
                                                 QStringLiteral("0"), size,
                                                 QStringLiteral("-nolisten"),
                                                 QStringLiteral("tcp")});
        if (!m_process.waitForStarted(5000))
            return;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000 && m_process.state() == QProcess::Running) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                m_name = name;
                break;
            }
            QThread::msleep(20);
        }
        if (m_name.isEmpty() && m_process.state() == QProcess::Running) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

XvfbDisplay::~XvfbDisplay()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

QString XvfbDisplay::xdotool(const QStringList& args, bool* ok) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    const bool finished = p.waitForFinished(10000);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString XvfbDisplay::focusWindow(const QString& windowClass, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        bool ok = false;
        // Qt's hidden helper windows come first: the last one is the screen.
        const QStringList ids =
            xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--class"), windowClass},
                    &ok)
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (ok && !ids.isEmpty()) {
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), ids.last()});
            return ids.last();
        }
        QThread::msleep(100);
    }
    return {};
}

bool XvfbDisplay::key(const QString& keyName) const
{
    bool ok = false;
    xdotool({QStringLiteral("key"), keyName}, &ok);
    return ok;
}

bool XvfbDisplay::screenshot(const QString& path) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_name);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    return p.waitForFinished(20000) && p.exitCode() == 0;
}

} // namespace zelktest
