#include "app/datadir.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace zelk {

QString resolveDataDir()
{
    QString base = qEnvironmentVariable("appdata");
    if (base.isEmpty())
        base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return dataDirFrom(base + QStringLiteral("/Tovemark/Zelk_Quen"));
}

QString dataDirFrom(const QString& given)
{
    if (given.isEmpty())
        return resolveDataDir();
    QString dir = QDir::cleanPath(QDir::current().absoluteFilePath(given));
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

std::optional<QString> prepareDataDir(const QString& dataDir)
{
    QDir dir(dataDir);
    if (!dir.mkpath(QStringLiteral("lang")))
        return QStringLiteral("The data folder \"%1\" cannot be created.")
            .arg(QDir::toNativeSeparators(dataDir));

    static const char* const shipped[][2] = {
        {":/blank.html", "blank.html"},
        {":/lang/DE-DE.mui", "lang/DE-DE.mui"},
        {":/lang/EN-US.mui", "lang/EN-US.mui"},
    };
    for (const auto& file : shipped) {
        const QString target = dataDir + QLatin1String(file[1]);
        if (QFile::exists(target))
            continue;
        // A copy that fails leaves the program without that file, which
        // every reader of it already handles.
        if (QFile::copy(QLatin1String(file[0]), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner
                                              | QFile::ReadGroup | QFile::ReadOther);
    }
    return std::nullopt;
}

} // namespace zelk
