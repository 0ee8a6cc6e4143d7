#include "music/playlist.h"

#include "platform/log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringDecoder>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>
#include <iterator>

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

enum class Bom { None, Utf8, Utf16Le, Utf16Be };

Bom bomOf(const QByteArray& data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return Bom::Utf8;
    if (data.startsWith("\xFF\xFE"))
        return Bom::Utf16Le;
    if (data.startsWith("\xFE\xFF"))
        return Bom::Utf16Be;
    return Bom::None;
}

qsizetype bomLength(Bom bom)
{
    return bom == Bom::Utf8 ? 3 : bom == Bom::None ? 0 : 2;
}

// UTF-16 without a mark: a text of ASCII letters has every other byte zero.
// Decoded as 8-bit text, it would give locations cut at the first NUL.
Bom utf16WithoutMark(const QByteArray& data)
{
    if (data.size() < 4)
        return Bom::None;
    if (data[0] != 0 && data[1] == 0 && data[2] != 0 && data[3] == 0)
        return Bom::Utf16Le;
    if (data[0] == 0 && data[1] != 0 && data[2] == 0 && data[3] != 0)
        return Bom::Utf16Be;
    return Bom::None;
}

QString decodeUtf16(QByteArrayView data, Bom bom)
{
    // A cut file may end inside a code unit.
    if (data.size() % 2)
        data.chop(1);
    QStringDecoder decoder(bom == Bom::Utf16Le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    return decoder(data);
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned
// bytes there keep their Latin-1 meaning.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView data)
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
// UTF-8, which a code-page file almost never happens to be. Notepad and
// Windows Media Player also write UTF-16 with a byte-order mark.
// `cut`: the bytes end where a file was cut off, inside a line most likely;
// that line is dropped.
QString decodeText(const QByteArray& raw, bool alwaysUtf8, bool cut = false)
{
    Bom bom = bomOf(raw);
    QByteArrayView data = QByteArrayView(raw).sliced(bomLength(bom));
    if (bom == Bom::None)
        bom = utf16WithoutMark(raw);
    if (bom == Bom::Utf16Le || bom == Bom::Utf16Be) {
        QString text = decodeUtf16(data, bom);
        if (cut)
            text.truncate(std::max(text.lastIndexOf(u'\n'), text.lastIndexOf(u'\r')) + 1);
        return text;
    }
    // Line ends never occur inside a UTF-8 sequence or a code-page character.
    if (cut)
        data.truncate(std::max(data.lastIndexOf('\n'), data.lastIndexOf('\r')) + 1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (alwaysUtf8 || !utf8.hasError())
        return text;
    return fromWindows1252(data);
}

// The encoding an XML declaration names, lower case; empty when none.
QByteArray declaredXmlEncoding(QByteArrayView data)
{
    if (!data.startsWith("<?xml"))
        return {};
    const qsizetype end = data.indexOf("?>");
    const QByteArray decl =
        data.first(end < 0 ? std::min<qsizetype>(data.size(), 200) : end).toByteArray().toLower();
    const qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return {};
    qsizetype i = decl.indexOf('=', at);
    while (i >= 0 && ++i < decl.size() && (decl[i] == ' ' || decl[i] == '\t'))
        ;
    if (i < 0 || i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return {};
    const qsizetype close = decl.indexOf(decl[i], i + 1);
    return close < 0 ? QByteArray() : decl.mid(i + 1, close - i - 1);
}

// WPL as text: Windows Media Player writes UTF-8 (sometimes UTF-16) and
// declares nothing; lists edited by hand carry Latin-1 or Windows-1252
// bytes, which a strict XML reader refuses with the first of them.
QString decodeXml(const QByteArray& raw, bool cut)
{
    Bom bom = bomOf(raw);
    QByteArrayView data = QByteArrayView(raw).sliced(bomLength(bom));
    if (bom == Bom::None)
        bom = utf16WithoutMark(raw);
    if (bom == Bom::Utf16Le || bom == Bom::Utf16Be)
        return decodeUtf16(data, bom);
    if (cut)
        data.truncate(data.lastIndexOf('>') + 1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (bom == Bom::Utf8 || !utf8.hasError())
        return text;
    // A declared Latin-1 or ASCII is Windows-1252 in practice, as Windows
    // writes it.
    static constexpr QByteArrayView kTakenAsCp1252[] = {"utf-8",  "utf8",  "iso-8859-1",
                                                        "latin1", "ascii", "us-ascii"};
    const QByteArray declared = declaredXmlEncoding(data);
    if (!declared.isEmpty() && std::find(std::begin(kTakenAsCp1252), std::end(kTakenAsCp1252),
                                         declared) == std::end(kTakenAsCp1252)) {
        QStringDecoder named(declared.constData(), QStringDecoder::Flag::Stateless);
        if (named.isValid())
            return named(data);
    }
    return fromWindows1252(data);
}

// The text of the first bytes, enough to tell the format by.
QString headText(const QByteArray& data)
{
    return decodeText(data.left(1024), false).trimmed().toLower();
}

bool isWplHead(const QString& head)
{
    return head.startsWith(u"<?wpl") || head.startsWith(u"<smil") ||
           (head.startsWith(u"<?xml") && head.contains(u"<smil"));
}

Format sniff(const QByteArray& data)
{
    const QString head = headText(data);
    if (isWplHead(head))
        return Format::Wpl;
    if (head.startsWith(u"[playlist]"))
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

// A QString source makes the reader ignore the declared encoding: the text
// is decoded already.
QList<PlaylistItem> parseWpl(const QString& text, const QString& baseDir)
{
    QList<PlaylistItem> items;
    QXmlStreamReader xml(text);
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

// Drops what the engine must not be handed, and says so in the log.
QList<PlaylistItem> playableOnly(QList<PlaylistItem> items, const QString& playlistPath)
{
    // A list made to cause trouble may hold thousands of such entries.
    constexpr int kLoggedAtMost = 10;
    int skipped = 0;
    items.removeIf([&](const PlaylistItem& item) {
        if (isPlayableLocation(item.location))
            return false;
        if (++skipped <= kLoggedAtMost) {
            QString shown = item.location;
            shown.replace(QChar(0), QStringLiteral("\\0"));
            qCInfo(lcPlayer).noquote()
                << "playlist" << playlistPath << "- skipped the entry" << shown.left(200);
        }
        return true;
    });
    if (skipped > kLoggedAtMost)
        qCInfo(lcPlayer).noquote() << "playlist" << playlistPath << "- skipped"
                                   << skipped - kLoggedAtMost << "more entries";
    for (PlaylistItem& item : items)
        item.title.remove(QChar(0));
    return items;
}

QList<PlaylistItem> parseAs(Format format, const QByteArray& data, const QString& baseDir, bool cut)
{
    switch (format) {
    case Format::Wpl:
        return parseWpl(decodeXml(data, cut), baseDir);
    case Format::Pls:
        return parsePls(decodeText(data, false, cut), baseDir);
    case Format::M3u8:
        return parseM3u(decodeText(data, true, cut), baseDir);
    case Format::M3u:
    case Format::Unknown:
        break;
    }
    return parseM3u(decodeText(data, false, cut), baseDir);
}

QList<PlaylistItem> readCapped(QFile& file, const QString& path)
{
    const QByteArray data = file.read(kMaxPlaylistBytes);
    const bool cut = !file.atEnd();
    if (cut)
        qCInfo(lcPlayer).noquote()
            << "playlist" << path << "is larger than" << kMaxPlaylistBytes / (1024 * 1024)
            << "MiB; only its first part is read";
    return parsePlaylist(data, path, cut);
}

} // namespace

QList<PlaylistItem> parsePlaylist(const QByteArray& data, const QString& playlistPath, bool cut)
{
    const QString baseDir = QFileInfo(playlistPath).absolutePath();
    Format format = formatFromName(playlistPath);
    if (format == Format::Unknown)
        format = sniff(data);
    return playableOnly(parseAs(format, data, baseDir, cut), playlistPath);
}

QList<PlaylistItem> readPlaylistFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readCapped(file, path);
}

LocalSource readLocalSource(const QString& path)
{
    if (formatFromName(path) != Format::Unknown)
        return {true, readPlaylistFile(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !looksLikePlaylist(file.peek(1024)))
        return {};
    return {true, readCapped(file, path)};
}

bool looksLikePlaylist(const QByteArray& head)
{
    const QString text = headText(head);
    return isWplHead(text) || text.startsWith(u"[playlist]") || text.startsWith(u"#extm3u");
}

bool isPlayableLocation(const QString& location)
{
    if (location.isEmpty() || location.contains(QChar(0)))
        return false;
    const qsizetype n = schemeLength(location);
    if (n == 0)
        return true;
    static constexpr QStringView kSchemes[] = {u"file", u"http", u"https", u"ftp", u"smb", u"nfs"};
    const QStringView scheme = QStringView(location).left(n);
    return std::any_of(std::begin(kSchemes), std::end(kSchemes),
                       [&](QStringView s) { return scheme.compare(s, Qt::CaseInsensitive) == 0; });
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
