#include "platform/rtflines.h"

#include "platform/errors.h"
#include "platform/log.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace zelk {

namespace {

// Windows-1252 bytes 0x80-0x9F; the five bytes the code page leaves undefined
// map to the C1 control of the same value, as Windows itself decodes them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(kCp1252High[byte - 0x80]);
    return QChar(byte);
}

// The Windows-1252 byte for `c` (only 0x80 and above), or -1 when the code page
// has no such character. The undefined bytes count as having none, so the
// C1 controls are written as \uN.
int unicodeToCp1252High(char16_t c)
{
    if (c >= 0xA0 && c <= 0xFF)
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c && c >= 0x100)
            return 0x80 + i;
    }
    return -1;
}

QString decodeCp1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(cp1252ToUnicode(static_cast<unsigned char>(b)));
    return out;
}

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF", 3);

bool isRtf(QByteArrayView data)
{
    if (data.startsWith(kUtf8Bom))
        data = data.sliced(kUtf8Bom.size());
    qsizetype i = 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

} // namespace

QString decodeUtf8OrCp1252(QByteArrayView bytes)
{
    // A BOM at the start is a character of the text here: the callers take
    // it off where it marks the encoding.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = decodeCp1252(bytes);
    return text;
}

namespace {

QStringList splitPlainText(const QByteArray& data)
{
    QByteArrayView bytes(data);
    if (bytes.startsWith(kUtf8Bom))
        bytes = bytes.sliced(kUtf8Bom.size());

    const QString text = decodeUtf8OrCp1252(bytes);

    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(line);
            line.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            line.append(c);
        }
    }
    // A line end after the last line does not start another one.
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

// ---------------------------------------------------------------------------
// RTF reader

// Groups nested deeper than this are skipped whole; the group stack is an
// explicit vector, so the cap only bounds its memory.
constexpr std::size_t kMaxGroupDepth = 1000;

// Destinations whose text is not part of the document body.
constexpr std::string_view kSkippedDestinations[] = {
    "colortbl",  "stylesheet",
    "info",      "pict",
    "header",    "headerl",
    "headerr",   "headerf",
    "footer",    "footerl",
    "footerr",   "footerf",
    "listtable", "listoverridetable",
    "rsidtbl",   "generator",
    "xmlnstbl",  "latentstyles",
    "themedata", "colorschememapping",
    "datastore", "mmathPr",
    "pgdsctbl",  "filetbl",
    "revtbl",    "object",
    "objdata",   "fldinst",
    "footnote",  "annotation",
    "atnid",     "atnauthor",
    "pn",        "pntext",
    "listtext",  "nonshppict",
    "shp",       "shpinst",
    "bkmkstart", "bkmkend",
    "private",   "template",
    "xe",        "tc",
    "userprops",
};

bool isSkippedDestination(std::string_view word)
{
    for (std::string_view d : kSkippedDestinations) {
        if (d == word)
            return true;
    }
    return false;
}

// Control words that stand for one character.
char16_t specialCharacter(std::string_view word)
{
    struct Entry
    {
        std::string_view word;
        char16_t c;
    };
    static constexpr Entry kEntries[] = {
        {"tab", u'\t'},      {"bullet", 0x2022},    {"emdash", 0x2014},    {"endash", 0x2013},
        {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},   {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},
        {"zwnj", 0x200C},    {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
    };
    for (const Entry& e : kEntries) {
        if (e.word == word)
            return e.c;
    }
    return 0;
}

QByteArray codePageName(qint64 cp)
{
    switch (cp) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(cp);
    }
}

// The code page of a font's \fcharsetN, as Windows maps its character sets;
// 0 for the document's own (ANSI and DEFAULT, and sets without one).
qint64 charsetCodePage(qint64 charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

// Lead bytes of the double-byte code pages: the byte after one belongs to
// the same character, whatever its value.
bool isLeadByte(qint64 cp, unsigned char b)
{
    switch (cp) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
        return b >= 0x81 && b <= 0xFE;
    default:
        return false;
    }
}

class RtfReader
{
public:
    explicit RtfReader(QByteArrayView data) : m_data(data) {}

    QStringList read()
    {
        qsizetype start = m_data.indexOf('{');
        if (start < 0)
            return {};
        m_pos = start;
        while (m_pos < m_data.size() && !m_done) {
            const char c = m_data[m_pos++];
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                controlSequence();
                break;
            case '\r':
            case '\n':
            case '\0':
                break;
            default:
                text(static_cast<unsigned char>(c));
                break;
            }
        }
        flushBytes();
        // Text after the last paragraph mark is a line of its own only when
        // there is some: a final "\par}" leaves no empty line behind.
        if (!m_line.isEmpty())
            m_lines.append(m_line);
        return m_lines;
    }

private:
    // Character formatting and destination: each group starts with its
    // parent's and loses its own changes when it closes.
    struct Group
    {
        int uc = 1;
        bool skipped = false;
        bool fontTable = false;
        bool hidden = false; // \v: text that is not part of the document's text
        qint64 font = -1;    // \fN; -1: the default font (\deffN)
    };

    bool skipping() const
    {
        return m_overflow > 0 || (!m_groups.empty() && m_groups.back().skipped);
    }

    // Text that is not part of a line: hidden text and the fonts' names.
    bool hidden() const
    {
        return !m_groups.empty() && (m_groups.back().hidden || m_groups.back().fontTable);
    }

    // The code page of \'hh bytes here: the current font's character set,
    // else the document's \ansicpgN.
    qint64 codePage() const
    {
        qint64 font = m_groups.empty() ? -1 : m_groups.back().font;
        if (font < 0)
            font = m_defaultFont;
        if (const auto it = m_fontCodePages.find(font); it != m_fontCodePages.end() && it->second)
            return it->second;
        return m_ansiCodePage;
    }

    void openGroup()
    {
        m_pendingSkip = 0;
        if (m_overflow > 0 || m_groups.size() >= kMaxGroupDepth) {
            ++m_overflow;
            return;
        }
        m_groups.push_back(m_groups.empty() ? Group{} : m_groups.back());
    }

    void closeGroup()
    {
        m_pendingSkip = 0;
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (!m_groups.empty())
            m_groups.pop_back();
        // The document's own group is closed: whatever follows is not RTF.
        if (m_groups.empty())
            m_done = true;
    }

    // Consumes one character of the fallback text after \uN; true when `this`
    // character was such a character and is to be dropped.
    bool consumeFallback()
    {
        if (m_pendingSkip <= 0)
            return false;
        --m_pendingSkip;
        return true;
    }

    void text(unsigned char byte)
    {
        if (skipping() || consumeFallback() || hidden())
            return;
        addByte(byte);
    }

    void addByte(unsigned char byte)
    {
        const qint64 cp = codePage();
        if (cp != m_bytesCodePage) {
            flushBytes();
            m_bytesCodePage = cp;
        }
        m_bytes.append(static_cast<char>(byte));
    }

    // The bytes so far end in the first byte of a double-byte character.
    bool inDoubleByte() const
    {
        qsizetype i = 0;
        while (i < m_bytes.size())
            i += isLeadByte(m_bytesCodePage, static_cast<unsigned char>(m_bytes[i])) ? 2 : 1;
        return i > m_bytes.size();
    }

    void put(char16_t c)
    {
        if (hidden())
            return;
        flushBytes();
        m_line.append(QChar(c));
    }

    void endLine()
    {
        flushBytes();
        m_lines.append(m_line);
        m_line.clear();
    }

    // Decodes the code-page bytes collected so far; multi-byte code pages need
    // them together.
    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        if (QStringDecoder* decoder = decoderFor(m_bytesCodePage)) {
            decoder->resetState();
            m_line.append(decoder->decode(m_bytes));
        } else {
            m_line.append(decodeCp1252(m_bytes));
        }
        m_bytes.clear();
    }

    // Null for Windows-1252 and for code pages this system cannot decode,
    // which are read as Windows-1252 too.
    QStringDecoder* decoderFor(qint64 cp)
    {
        if (cp == 1252 || cp <= 0)
            return nullptr;
        auto it = m_decoders.find(cp);
        if (it == m_decoders.end()) {
            QStringDecoder decoder(codePageName(cp).constData(),
                                   QStringConverter::Flag::Stateless |
                                       QStringConverter::Flag::ConvertInitialBom);
            it = m_decoders.emplace(cp, std::move(decoder)).first;
        }
        return it->second.isValid() ? &it->second : nullptr;
    }

    // Inside {\fonttbl ...}: "\fN ... \fcharsetN ... name;" per font, each
    // in a group of its own or one after another.
    void fontTableWord(std::string_view word, bool hasParam, qint64 param)
    {
        if (word == "f") {
            m_definedFont = hasParam ? param : -1;
        } else if (word == "fcharset" && hasParam && m_definedFont >= 0) {
            // \cpgN, where given, names the code page itself.
            m_fontCodePages.try_emplace(m_definedFont, charsetCodePage(param));
        } else if (word == "cpg" && hasParam && m_definedFont >= 0) {
            m_fontCodePages[m_definedFont] = param;
        }
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    void controlSequence()
    {
        if (m_pos >= m_data.size())
            return;
        const char c = m_data[m_pos];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++m_pos;
        if (c == '\'') {
            hexByte();
            return;
        }
        if (c == '*') {
            // Destinations a reader does not know are skipped whole.
            if (!m_groups.empty() && m_overflow == 0)
                m_groups.back().skipped = true;
            return;
        }
        if (skipping() || consumeFallback())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            // The second byte of a double-byte character may be one of these.
            if (!hidden() && inDoubleByte())
                m_bytes.append(c);
            else
                put(static_cast<char16_t>(c));
            break;
        case '~':
            put(0x00A0);
            break;
        case '_':
            put(0x2011);
            break;
        case '\r':
        case '\n':
            // An escaped line end is a paragraph mark.
            endLine();
            break;
        default:
            // \- (optional hyphen), \| and \: carry no text.
            break;
        }
    }

    void hexByte()
    {
        if (m_pos + 1 >= m_data.size()) {
            m_pos = m_data.size(); // cut off inside the escape
            return;
        }
        const int hi = hexValue(m_data[m_pos]);
        const int lo = hexValue(m_data[m_pos + 1]);
        if (hi < 0 || lo < 0)
            return; // a broken \' escape is dropped; what follows is read as usual
        m_pos += 2;
        if (skipping() || consumeFallback() || hidden())
            return;
        addByte(static_cast<unsigned char>(hi * 16 + lo));
    }

    void controlWord()
    {
        const qsizetype wordStart = m_pos;
        while (m_pos < m_data.size() && isLetter(m_data[m_pos]))
            ++m_pos;
        const std::string_view word(m_data.data() + wordStart, std::size_t(m_pos - wordStart));

        bool hasParam = false;
        qint64 param = 0;
        bool negative = false;
        if (m_pos + 1 < m_data.size() && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_data.size() && isDigit(m_data[m_pos])) {
            hasParam = true;
            // Saturate: the values that matter are far below this.
            if (param < 100000000000LL)
                param = param * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        if (negative)
            param = -param;
        if (m_pos < m_data.size() && m_data[m_pos] == ' ')
            ++m_pos;

        if (word == "bin") {
            // Binary data follows directly; it is never text.
            const qint64 count = hasParam && param > 0 ? param : 0;
            m_pos += qsizetype(std::min<qint64>(count, m_data.size() - m_pos));
            return;
        }
        if (skipping())
            return;
        if (word == "fonttbl") {
            if (!m_groups.empty())
                m_groups.back().fontTable = true;
            return;
        }
        if (!m_groups.empty() && m_groups.back().fontTable) {
            fontTableWord(word, hasParam, param);
            return;
        }
        if (isSkippedDestination(word)) {
            if (!m_groups.empty())
                m_groups.back().skipped = true;
            return;
        }
        if (word == "uc") {
            if (!m_groups.empty())
                m_groups.back().uc = int(std::clamp<qint64>(hasParam ? param : 1, 0, 1000));
            return;
        }
        if (consumeFallback())
            return;
        if (word == "u") {
            if (!hasParam)
                return;
            // A signed 16-bit value; characters above the BMP come as two
            // surrogates, which the QString joins.
            put(static_cast<char16_t>(static_cast<std::uint64_t>(param) & 0xFFFF));
            m_pendingSkip = m_groups.empty() ? 1 : m_groups.back().uc;
        } else if (word == "par" || word == "line" || word == "page" || word == "sect") {
            endLine();
        } else if (word == "f") {
            if (!m_groups.empty())
                m_groups.back().font = hasParam ? param : -1;
        } else if (word == "plain") {
            if (!m_groups.empty()) {
                m_groups.back().font = -1;
                m_groups.back().hidden = false;
            }
        } else if (word == "v") {
            if (!m_groups.empty())
                m_groups.back().hidden = !hasParam || param != 0;
        } else if (word == "deff") {
            m_defaultFont = hasParam ? param : -1;
        } else if (word == "ansicpg") {
            m_ansiCodePage = hasParam && param > 0 ? param : 1252;
        } else if (word == "mac") {
            m_ansiCodePage = 10000;
        } else if (word == "pc") {
            m_ansiCodePage = 437;
        } else if (word == "pca") {
            m_ansiCodePage = 850;
        } else if (const char16_t special = specialCharacter(word)) {
            put(special);
        }
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_done = false;
    std::vector<Group> m_groups;
    std::size_t m_overflow = 0; // open groups beyond kMaxGroupDepth
    int m_pendingSkip = 0;      // fallback characters still to drop after \uN
    qint64 m_ansiCodePage = 1252;
    qint64 m_defaultFont = -1;
    qint64 m_definedFont = -1;                // the font the font table describes now
    std::map<qint64, qint64> m_fontCodePages; // by font number; 0: the document's
    std::map<qint64, QStringDecoder> m_decoders;
    QByteArray m_bytes; // code-page bytes not yet decoded
    qint64 m_bytesCodePage = 1252;
    QString m_line;
    QStringList m_lines;
};

// Drops an incomplete UTF-8 sequence at the end of `data`, left there when a
// file was cut at the read limit.
void trimCutUtf8(QByteArray& data)
{
    qsizetype i = data.size();
    int continuation = 0;
    while (i > 0 && continuation < 3 && (static_cast<unsigned char>(data[i - 1]) & 0xC0) == 0x80) {
        --i;
        ++continuation;
    }
    if (i == 0)
        return;
    const auto lead = static_cast<unsigned char>(data[i - 1]);
    int length = 0;
    if ((lead & 0xE0) == 0xC0)
        length = 2;
    else if ((lead & 0xF0) == 0xE0)
        length = 3;
    else if ((lead & 0xF8) == 0xF0)
        length = 4;
    if (length > continuation + 1)
        data.truncate(i - 1);
}

} // namespace

QStringList parseLines(const QByteArray& data)
{
    if (isRtf(data))
        return RtfReader(data).read();
    return splitPlainText(data);
}

QByteArray writeRtfLines(const QStringList& lines)
{
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031"
           "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
           "{\\*\\generator ZelkRadio;}\\viewkind4\\uc1 \r\n"
           "\\pard\\f0\\fs22 ";
    static constexpr char kHex[] = "0123456789abcdef";
    for (const QString& line : lines) {
        for (const QChar qc : line) {
            const char16_t c = qc.unicode();
            if (c == u'\\' || c == u'{' || c == u'}') {
                out += '\\';
                out += char(c);
            } else if (c == u'\t') {
                out += "\\tab ";
            } else if (c >= 0x20 && c < 0x7F) {
                out += char(c);
            } else if (const int b = unicodeToCp1252High(c); b >= 0) {
                out += "\\'";
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            } else {
                // Everything else, surrogates one by one, as a signed 16-bit
                // value with "?" for readers without Unicode.
                out += "\\u";
                out += QByteArray::number(static_cast<std::int16_t>(c));
                out += '?';
            }
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

std::optional<QStringList> readLineFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcConfig).noquote() << "cannot read" << path << "-" << file.errorString();
        throw OperationError(
            QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    }
    // Only the first kMaxLineFileBytes are read; the rest of a bigger file is
    // ignored.
    QByteArray data = file.read(kMaxLineFileBytes);
    if (file.error() != QFileDevice::NoError)
        throw OperationError(
            QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    if (data.size() == kMaxLineFileBytes && !file.atEnd())
        trimCutUtf8(data);
    return parseLines(data);
}

void writeLineFile(const QString& path, const QStringList& lines)
{
    const auto fail = [&path](const QString& reason) {
        qCWarning(lcConfig).noquote() << "cannot write" << path << "-" << reason;
        throw OperationError(QStringLiteral("Cannot write \"%1\": %2").arg(path, reason));
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    const QByteArray data = writeRtfLines(lines);
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}

} // namespace zelk
