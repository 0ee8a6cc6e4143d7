#include "support/media.h"

#include <QProcess>
#include <QStringList>

namespace zelktest {

bool runTool(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs))
        return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool makeTone(const QString& path, double seconds, const QString& title, int frequency)
{
    QStringList args{QStringLiteral("-y"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                     QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds),
                     QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-b:a"),
                     QStringLiteral("64k")};
    if (!title.isEmpty())
        args << QStringLiteral("-metadata") << QStringLiteral("title=%1").arg(title);
    args << path;
    return runTool(QStringLiteral("ffmpeg"), args);
}

} // namespace zelktest
