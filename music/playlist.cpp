#include "music/playlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringDecoder>
#include <QUrl>
#include <QXmlStreamReader>

namespace zelk {

namespace {

enum class Format { Wpl, M3u, M3u8, Pls, Unknown };

Format formatFromName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"wpl")
        return Format::Wpl;
    if (suffix == u"m3u")
        return Format::M3u;
    if (suffix == u"m3u8")
        return Format::M3u8;
    if (suffix == u"pls")
        return Format::Pls;
    return Format::Unknown;
}

QByteArray withoutBom(const QByteArray& data)
{
    return data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
}

Format sniff(const QByteArray& data)
{
    const QByteArray head = withoutBom(data).left(1024).trimmed().toLower();
    if (head.startsWith("<?wpl") || head.startsWith("<smil") ||
        (head.startsWith("<?xml") && head.contains("<smil")))
        return Format::Wpl;
    if (head.startsWith("[playlist]"))
        return Format::Pls;
    return Format::M3u;
}

// "scheme://" with a scheme of two letters or more; a single letter before
// the colon is a Windows drive.
qsizetype schemeLength(const QString& s)
{
    const auto isAsciiLetter = [](QChar c) { return c.unicode() < 128 && c.isLetter(); };
    qsizetype i = 0;
    while (i < s.size() &&
           (isAsciiLetter(s[i]) || (i > 0 && ((s[i].unicode() < 128 && s[i].isDigit()) ||
                                              s[i] == u'+' || s[i] == u'-' || s[i] == u'.'))))
        ++i;
    return i >= 2 && QStringView(s).mid(i, 3) == u"://" ? i : 0;
}

bool isWindowsDrivePath(const QString& s)
{
    return s.size() >= 2 && s[0].isLetter() && s[0].unicode() < 128 && s[1] == u':';
}

QString resolveLocation(QString location, const QString& baseDir)
{
    location = location.trimmed();
    if (location.isEmpty())
        return {};
    if (const qsizetype n = schemeLength(location)) {
        if (location.left(n).compare(u"file", Qt::CaseInsensitive) != 0)
            return location;
        QString local = QUrl(location).toLocalFile();
        if (local.isEmpty())
            return location;
        local.replace(u'\\', u'/');
        // file:///D:/Musik/a.mp3 names a Windows drive path.
        if (local.startsWith(u'/') && isWindowsDrivePath(local.mid(1)))
            local.remove(0, 1);
        return local;
    }
    location.replace(u'\\', u'/');
    if (location.startsWith(u'/') || isWindowsDrivePath(location))
        return location;
    return QDir::cleanPath(baseDir + u'/' + location);
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned
// bytes there keep their Latin-1 meaning.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& data)
{
    QString out;
    out.reserve(data.size());
    for (const char c : data) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b >= 0x80 && b <= 0x9F ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return out;
}

// Old players wrote .m3u and .pls in the Windows code page; newer ones write
// UTF-8, which a code-page file almost never happens to be.
QString decodeText(const QByteArray& raw, bool alwaysUtf8)
{
    const QByteArray data = withoutBom(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (alwaysUtf8 || !utf8.hasError())
        return text;
    return fromWindows1252(data);
}

QList<QStringView> lines(const QString& text)
{
    QList<QStringView> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\n' || text[i] == u'\r') {
            QStringView line = QStringView(text).mid(start, i - start).trimmed();
            if (!line.isEmpty())
                out.append(line);
            start = i + 1;
        }
    }
    return out;
}

// The title follows the first comma that is not inside a quoted attribute:
// #EXTINF:-1 tvg-name="a,b",Title
QString extinfTitle(QStringView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == u',' && !quoted)
            return line.mid(i + 1).trimmed().toString();
    }
    return {};
}

QList<PlaylistItem> parseM3u(const QString& text, const QString& baseDir)
{
    QList<PlaylistItem> items;
    QString pendingTitle;
    for (const QStringView line : lines(text)) {
        if (line.startsWith(u'#')) {
            if (line.startsWith(u"#EXTINF:", Qt::CaseInsensitive))
                pendingTitle = extinfTitle(line.mid(8));
            continue;
        }
        const QString location = resolveLocation(line.toString(), baseDir);
        if (!location.isEmpty())
            items.append({location, pendingTitle});
        pendingTitle.clear();
    }
    return items;
}

QList<PlaylistItem> parsePls(const QString& text, const QString& baseDir)
{
    QMap<int, PlaylistItem> byNumber;
    for (const QStringView line : lines(text)) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QStringView key = line.left(eq).trimmed();
        const QStringView value = line.mid(eq + 1).trimmed();
        const bool isFile = key.startsWith(u"file", Qt::CaseInsensitive);
        const bool isTitle = key.startsWith(u"title", Qt::CaseInsensitive);
        if (!isFile && !isTitle)
            continue;
        bool ok = false;
        const int number = key.mid(isFile ? 4 : 5).toInt(&ok);
        if (!ok)
            continue;
        if (isFile)
            byNumber[number].location = resolveLocation(value.toString(), baseDir);
        else
            byNumber[number].title = value.toString();
    }
    QList<PlaylistItem> items;
    for (const PlaylistItem& item : std::as_const(byNumber))
        if (!item.location.isEmpty())
            items.append(item);
    return items;
}

QList<PlaylistItem> parseWpl(const QByteArray& data, const QString& baseDir)
{
    QList<PlaylistItem> items;
    QXmlStreamReader xml(data);
    int seqDepth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        // A broken file keeps what was read before the error.
        if (xml.hasError())
            break;
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name().compare(u"seq", Qt::CaseInsensitive) == 0) {
                ++seqDepth;
            } else if (seqDepth > 0 && xml.name().compare(u"media", Qt::CaseInsensitive) == 0) {
                const QString location = resolveLocation(
                    xml.attributes().value(QLatin1StringView("src")).toString(), baseDir);
                if (!location.isEmpty())
                    items.append({location, QString()});
            }
        } else if (token == QXmlStreamReader::EndElement &&
                   xml.name().compare(u"seq", Qt::CaseInsensitive) == 0) {
            --seqDepth;
        }
    }
    return items;
}

} // namespace

QList<PlaylistItem> parsePlaylist(const QByteArray& data, const QString& playlistPath)
{
    const QString baseDir = QFileInfo(playlistPath).absolutePath();
    Format format = formatFromName(playlistPath);
    if (format == Format::Unknown)
        format = sniff(data);
    switch (format) {
    case Format::Wpl:
        return parseWpl(data, baseDir);
    case Format::Pls:
        return parsePls(decodeText(data, false), baseDir);
    case Format::M3u8:
        return parseM3u(decodeText(data, true), baseDir);
    case Format::M3u:
    case Format::Unknown:
        break;
    }
    return parseM3u(decodeText(data, false), baseDir);
}

QList<PlaylistItem> readPlaylistFile(const QString& path)
{
    // Even a list of many thousand songs stays far below 1 MiB. Anything
    // larger is not a playlist (a media file with a wrong name, say), and
    // reading it whole would hold up the UI for nothing.
    constexpr qint64 kMaxPlaylistBytes = 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parsePlaylist(file.read(kMaxPlaylistBytes), path);
}

bool isPlaylistFile(const QString& pathOrUrl)
{
    QString path = pathOrUrl.trimmed();
    if (const qsizetype n = schemeLength(path)) {
        if (path.left(n).compare(u"file", Qt::CaseInsensitive) != 0)
            return false;
        path = QUrl(path).toLocalFile();
    }
    return !path.isEmpty() && formatFromName(path) != Format::Unknown;
}

} // namespace zelk
