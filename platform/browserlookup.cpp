#include "platform/browserlookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace zelk {

namespace {

QStringList splitDirs(const QString& value, const QString& fallback)
{
    const QString v = value.isEmpty() ? fallback : value;
    return v.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

// The entries of one [group] of an ini-like file, as key -> value.
QHash<QString, QString> readGroup(const QString& path, const QString& group)
{
    QHash<QString, QString> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text) || f.size() > 1024 * 1024)
        return out;
    bool inGroup = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0 && !out.contains(line.left(eq).trimmed()))
            out.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return out;
}

// The first word of an Exec line, quotes removed.
QString execProgram(const QString& exec)
{
    QString word;
    bool quoted = false;
    for (const QChar c : exec) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (c.isSpace() && !quoted) {
            if (!word.isEmpty())
                break;
            continue;
        }
        word += c;
    }
    return word;
}

QString resolveProgram(const QString& program)
{
    if (program.isEmpty())
        return {};
    if (QFileInfo(program).isAbsolute())
        return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(program);
}

} // namespace

QString findDefaultBrowser(const QProcessEnvironment& env)
{
    const QString home = QDir::homePath();
    const QString configHome =
        env.value(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    const QString dataHome =
        env.value(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    const QStringList configDirs =
        QStringList{configHome} +
        splitDirs(env.value(QStringLiteral("XDG_CONFIG_DIRS")), QStringLiteral("/etc/xdg"));
    const QStringList dataDirs =
        QStringList{dataHome} + splitDirs(env.value(QStringLiteral("XDG_DATA_DIRS")),
                                          QStringLiteral("/usr/local/share:/usr/share"));

    // Where the associations are kept, the user's first.
    QStringList lists;
    for (const QString& d : configDirs)
        lists << d + QStringLiteral("/mimeapps.list");
    for (const QString& d : dataDirs)
        lists << d + QStringLiteral("/applications/mimeapps.list")
              << d + QStringLiteral("/applications/defaults.list");

    for (const char* type : {"x-scheme-handler/http", "x-scheme-handler/https", "text/html"}) {
        for (const QString& list : lists) {
            const QString ids =
                readGroup(list, QStringLiteral("Default Applications")).value(QLatin1String(type));
            for (const QString& id : ids.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                for (const QString& d : dataDirs) {
                    const QString entry = d + QStringLiteral("/applications/") + id.trimmed();
                    if (!QFile::exists(entry))
                        continue;
                    const QString exec = readGroup(entry, QStringLiteral("Desktop Entry"))
                                             .value(QStringLiteral("Exec"));
                    const QString program = resolveProgram(execProgram(exec));
                    if (!program.isEmpty())
                        return program;
                }
            }
        }
    }
    // No desktop association: the browser a user may name by convention.
    const QString named = env.value(QStringLiteral("BROWSER"));
    return resolveProgram(execProgram(named.section(QLatin1Char(':'), 0, 0)));
}

} // namespace zelk
