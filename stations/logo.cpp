#include "stations/logo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>

namespace zelk {

LogoKind logoKind(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxLogoBytes)
        return LogoKind::None;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return LogoKind::Png;
    if (bytes.startsWith("\xff\xd8\xff"))
        return LogoKind::Jpeg;
    // Reserved 0, type 1 (icon), at least one image.
    if (bytes.size() >= 6 && bytes.startsWith(QByteArray("\0\0\1\0", 4)) &&
        (bytes[4] != 0 || bytes[5] != 0))
        return LogoKind::Ico;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return LogoKind::Gif;
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return LogoKind::Webp;
    // SVG is text: markup first (after a byte-order mark and blanks), and an
    // svg element near the start, past an XML declaration or comment.
    QByteArray head = bytes.left(4096);
    if (head.startsWith("\xef\xbb\xbf"))
        head.remove(0, 3);
    head = head.trimmed();
    if (head.startsWith('<') && head.contains("<svg"))
        return LogoKind::Svg;
    return LogoKind::None;
}

QString logoFileName(const QString& streamAddress)
{
    const QByteArray hash =
        QCryptographicHash::hash(streamAddress.trimmed().toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("logo-") + QString::fromLatin1(hash.toHex()) + QStringLiteral(".png");
}

int deleteUnusedLogos(const QString& dataDir, const QStringList& used)
{
    QSet<QString> keep;
    for (const QString& address : used)
        if (!address.trimmed().isEmpty())
            keep.insert(logoFileName(address));
    int deleted = 0;
    const QDir dir(dataDir);
    const QStringList files =
        dir.entryList({QStringLiteral("logo-*.png")}, QDir::Files | QDir::Hidden);
    for (const QString& name : files)
        if (!keep.contains(name) && QFile::remove(dir.filePath(name)))
            ++deleted;
    return deleted;
}

} // namespace zelk
