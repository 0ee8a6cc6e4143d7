#pragma once
// The program's version: shown, compared with the update server's, and sent
// in the User-Agent of every request to a directory.

#include <QString>

namespace zelk {

inline const QString kProgramVersion = QStringLiteral("1.2.0");

inline QByteArray userAgent()
{
    return QByteArrayLiteral("ZelkRadio/") + kProgramVersion.toLatin1();
}

} // namespace zelk
