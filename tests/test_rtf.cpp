#include "platform/errors.h"
#include "platform/rtflines.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <ostream>
#include <random>
#include <string_view>

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using namespace std::string_view_literals;
using zelk::kMaxLineFileBytes;
using zelk::parseLines;
using zelk::readLineFile;
using zelk::writeLineFile;
using zelk::writeRtfLines;

// Test cases print as their name.
template <typename Case>
requires requires(const Case& c)
{
    c.name;
}
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

QByteArray raw(std::string_view s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

QString u8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QStringList u8Lines(std::initializer_list<std::string_view> lines)
{
    QStringList out;
    for (std::string_view l : lines)
        out.append(u8(l));
    return out;
}

bool writeBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "{\rtf1 a\par" + `depth` nested groups around "x" + "b\par}".
QByteArray nested(int depth)
{
    return "{\\rtf1 a\\par" + QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "b\\par}";
}

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 gen(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (char& c : out)
        c = static_cast<char>(gen() & 0xFF);
    return out;
}

// Random bytes drawn mostly from the characters that mean something in RTF.
QByteArray randomRtf(qsizetype size, unsigned seed)
{
    static constexpr std::string_view kAlphabet = "{}\\\\\\'u-0123456789abcfpar*\r\n ?\x80\xfc";
    std::mt19937 gen(seed);
    QByteArray out = "{\\rtf1 ";
    while (out.size() < size)
        out += kAlphabet[gen() % kAlphabet.size()];
    return out;
}

// ---------------------------------------------------------------------------
// Lines written by our own writer read back the same.

struct RoundTripCase
{
    const char* name;
    QStringList lines;
    std::string_view fragment; // how the writer must encode them
};

class RoundTrip : public testing::TestWithParam<RoundTripCase>
{
};

constexpr std::string_view kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}}";

TEST_P(RoundTrip, WriterOutputReadsBackAsTheSameLines)
{
    const RoundTripCase& c = GetParam();
    const QByteArray rtf = writeRtfLines(c.lines);

    EXPECT_TRUE(rtf.startsWith(raw(kHeader))) << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\*\\generator ZelkRadio;}\\viewkind4\\uc1 ")) << rtf.constData();
    EXPECT_TRUE(rtf.contains(raw(c.fragment))) << rtf.constData();
    for (char ch : rtf)
        ASSERT_TRUE(ch > 0 && ch < 0x7F) << "not 7-bit: " << int(ch);
    EXPECT_EQ(rtf.count("\\par\r\n"), c.lines.size());
    EXPECT_EQ(parseLines(rtf), c.lines);
}

TEST_P(RoundTrip, LineFileReadsBackAsTheSameLinesAndReplacesTheOldFile)
{
    const RoundTripCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("lines.rtf"));
    ASSERT_TRUE(writeBytes(path, "old content that is longer than some of the new files"));

    writeLineFile(path, c.lines);

    EXPECT_EQ(readLineFile(path), std::optional<QStringList>(c.lines));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("lines.rtf")});
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RoundTrip,
    testing::Values(RoundTripCase{"Backslashes",
                                  {QStringLiteral("D:\\Eigene Dateien\\Musik\\x.wpl")},
                                  "D:\\\\Eigene Dateien\\\\Musik\\\\x.wpl\\par\r\n"},
                    RoundTripCase{"Braces", {QStringLiteral("{Sender} }{")}, "\\{Sender\\} \\}\\{"},
                    RoundTripCase{"Umlauts", u8Lines({"Grüße äöü ÄÖÜ"}),
                                  "Gr\\'fc\\'dfe \\'e4\\'f6\\'fc \\'c4"},
                    RoundTripCase{"Cp1252Punctuation", u8Lines({"5 € – „x“ …"}),
                                  "5 \\'80 \\'96 \\'84x\\'93 \\'85"},
                    RoundTripCase{"NonBreakingSpaceAndSoftHyphen", u8Lines({"a\u00A0b\u00ADc"}),
                                  "a\\'a0b\\'adc"},
                    RoundTripCase{"Cjk", u8Lines({"日本"}), "\\u26085?\\u26412?"},
                    RoundTripCase{"Emoji", u8Lines({"x😀"}), "x\\u-10179?\\u-8704?"},
                    RoundTripCase{"PrivateUse", u8Lines({"\uF020"}), "\\u-4064?"},
                    RoundTripCase{"Tab",
                                  {QStringLiteral("a\tb"), QStringLiteral("\t1")},
                                  "a\\tab b\\par\r\n\\tab 1"},
                    RoundTripCase{"LeadingSpaceAndDigit",
                                  {QStringLiteral(" 1 x"), QStringLiteral("2nd")},
                                  "\\fs22  1 x\\par\r\n2nd\\par"},
                    RoundTripCase{"EmptyLinesInsideAndAtTheEnd",
                                  {QStringLiteral("a"), QString(), QStringLiteral("b"), QString()},
                                  "a\\par\r\n\\par\r\nb\\par\r\n\\par\r\n}"},
                    RoundTripCase{"OnlyAnEmptyLine", {QString()}, "\\fs22 \\par\r\n}"},
                    RoundTripCase{"NoLines", {}, "\\fs22 }"},
                    // Characters that never come from a text file still keep their place.
                    RoundTripCase{"ControlCharacters",
                                  {QString(QChar(0)) + QChar(1) + QChar(0x7F) + QChar(0x81),
                                   QStringLiteral("a\nb\rc")},
                                  "\\u0?\\u1?\\u127?\\u129?\\par\r\na\\u10?b\\u13?c\\par"},
                    RoundTripCase{"LoneSurrogate", {QString(QChar(0xD800)) + u'x'}, "\\u-10240?x"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Documents from elsewhere: RTF from rich-edit controls and hand-written,
// plain text in its encodings, broken input.

struct ParseCase
{
    const char* name;
    QByteArray data;
    QStringList expected;
};

class Parse : public testing::TestWithParam<ParseCase>
{
};

TEST_P(Parse, ReadsTheLines)
{
    EXPECT_EQ(parseLines(GetParam().data), GetParam().expected);
}

const ParseCase kRtfCases[] = {
    {"RichEditFile",
     raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{"
         "\\f0\\fnil\\fcharset0 "
         "Calibri;}}\r\n"
         "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
         "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang7 Gr\\'fc\\'dfe aus M\\'fcnchen\\par\r\n"
         "D:\\\\Eigene Dateien\\\\Musik\\par\r\n"
         "\\par\r\n"
         "Preis 5\\'80\\par\r\n"
         "}\r\n\0"sv),
     u8Lines({"Grüße aus München", "D:\\Eigene Dateien\\Musik", "", "Preis 5€"})},
    {"LastParagraphWithoutParMark", "{\\rtf1\\ansi\\pard eins\\par\r\nzwei}", {"eins", "zwei"}},
    {"NoPhantomLineAfterLastParMark", "{\\rtf1\\ansi\\pard eins\\par\r\n}", {"eins"}},
    {"BomAndWhitespaceBeforeTheDocument", "\xEF\xBB\xBF \r\n\t{\\rtf1 x\\par}", {"x"}},
    {"NestedGroupsAndTables",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
     "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Titel}{\\author A}}"
     "{\\*\\unknown {nested} stuff}a{\\b b{\\i c}}d\\par}",
     {"abcd"}},
    {"SkippedDestinations",
     "{\\rtf1 {\\*\\generator Riched20 10.0.19041;}{\\header Kopf}{\\footer Fuss}"
     "{\\pict\\pngblip 89504e47}{\\*\\themedata 0102}{\\listtable{\\list x}}"
     "{\\*\\latentstyles\\lsdstimax376{\\lsdlockedexcept x}}a\\par}",
     {"a"}},
    {"BinaryDataIsSkippedByLength", "{\\rtf1 a{\\pict\\bin4 }{\\}}b\\par}", {"ab"}},
    {"ControlWordDelimiters", "{\\rtf1\\f0  x\\fs22 y\\b0z\\par}", {" xyz"}},
    {"ControlSymbols",
     "{\\rtf1 a\\~b\\-c\\_d\\\\\\{\\}\\par}",
     {QStringLiteral("a\u00A0bc\u2011d\\{}")}},
    {"RawLineEndsAreIgnored", "{\\rtf1 ab\r\ncd\ne\\par}", {"abcde"}},
    {"EscapedLineEndIsAParagraphMark", "{\\rtf1 a\\\nb}", {"a", "b"}},
    {"LineAndTab", "{\\rtf1 a\\line b\\tab c\\par}", {"a", "b\tc"}},
    {"Cp1252Default", "{\\rtf1 \\'80\\'84\\'93\\'94\\'99\\'e4\\par}", u8Lines({"€„“”™ä"})},
    {"Cp1250", "{\\rtf1\\ansi\\ansicpg1250 \\'b9\\'9a\\'e8\\par}", u8Lines({"ąšč"})},
    {"ShiftJisByteSequences", "{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b\\par}",
     u8Lines({"日本"})},
    {"UnknownCodePageFallsBackTo1252", "{\\rtf1\\ansi\\ansicpg4242 \\'fc\\par}", u8Lines({"ü"})},
    {"UnicodeEscapes", "{\\rtf1 \\u8364?\\u-4064?{\\uc2 \\u26085\\'93\\'fa x}\\uc0\\u26412 y\\par}",
     u8Lines({"€\uF020日 x本y"})},
    {"UcScopeIsTheGroup", "{\\rtf1 {\\uc0\\u8364}\\u8364?\\par}", u8Lines({"€€"})},
    {"FallbackOfPlainCharacters", "{\\rtf1\\uc2\\u8364 abc\\par}", u8Lines({"€c"})},
    {"FallbackEndsAtAGroup", "{\\rtf1 \\u8364{\\b x}\\par}", u8Lines({"€x"})},
    {"SurrogatePair", "{\\rtf1 \\u-10179?\\u-8704?\\par}", u8Lines({"😀"})},
    {"SpecialCharacterWords", "{\\rtf1 \\bullet\\tab x \\endash\\emdash\\lquote\\rdblquote\\par}",
     u8Lines({"•\tx –—‘”"})},
    {"TextAfterTheDocumentIsIgnored", "{\\rtf1 a}}}}b", {"a"}},
    {"TruncatedInsideAParagraph", "{\\rtf1 abc\\par de", {"abc", "de"}},
    {"TruncatedInsideHexEscape", "{\\rtf1 a\\'f", {"a"}},
    {"TruncatedAfterBackslash", "{\\rtf1 a\\", {"a"}},
    {"TruncatedControlWord", "{\\rtf1 a\\u", {"a"}},
    {"TruncatedInsideGroups", "{\\rtf1 {{{a", {"a"}},
    {"BrokenHexEscape", "{\\rtf1 a\\'zzb\\par}", {"azzb"}},
    {"DeepNestingBelowTheCap", nested(500), {"a", "xb"}},
    {"DeepNestingAboveTheCapIsSkipped", nested(100000), {"a", "b"}},
    {"HiddenTextIsNoPartOfALine",
     "{\\rtf1\\ansi Sender{\\v  versteckt}\\par Zwei\\v geheim\\'fc\\v0  sichtbar\\par}",
     {"Sender", "Zwei sichtbar"}},
    {"HiddenUnicodeDropsItsFallbackToo",
     "{\\rtf1\\uc1 a{\\v\\u1046?}b\\v\\u1046?\\v0 c\\par}",
     {"abc"}},
    {"HiddenKeepsItsParagraphMarks", "{\\rtf1 a{\\v x\\par y}b\\par}", {"a", "b"}},
    {"PlainEndsHiddenText", "{\\rtf1 a\\v b\\plain c\\par}", {"ac"}},
    {"PageAndSectionBreaksEndALine",
     "{\\rtf1 eins\\page zwei\\sect drei\\par}",
     {"eins", "zwei", "drei"}},
    {"FontCharsetSetsTheCodePage",
     "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
     "{\\f1\\fnil\\fcharset204 Arial;}{\\f2\\fswiss\\fcharset161{\\*\\panose 020b0604}Arial "
     "Greek;}}"
     "\\f1 \\'cc\\'e8\\'f0 \\f0\\'fc {\\f2\\'c1}\\'fc\\plain\\'fc\\par}",
     u8Lines({"Мир ü Αüü"})},
    {"FontTableWithoutGroupsAndCpg",
     "{\\rtf1\\ansi\\deff1{\\fonttbl\\f0\\fswiss\\fcharset0 "
     "Helvetica;\\f1\\fnil\\fcharset0\\cpg1250 "
     "Arial CE;}\\'9a{\\f0\\'9a}\\par}",
     u8Lines({"šš"})},
    {"DefaultFontCharset", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset238 Arial;}}\\'e8\\par}",
     u8Lines({"č"})},
    {"UnknownFontUsesTheDocumentCodePage",
     "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f7\\'cc\\f0\\'cc\\par}",
     u8Lines({"ММ"})},
    {"DoubleByteTrailEscapedAsControlSymbol",
     "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0\\'83\\\\\\'83A\\\\x\\par}",
     u8Lines({"ソア\\x"})},
};
INSTANTIATE_TEST_SUITE_P(Rtf, Parse, testing::ValuesIn(kRtfCases),
                         [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Station names typed in WordPad in a font of another script: WordPad names
// the font's character set in the font table and writes the name in that
// code page, one \\'hh per byte (both bytes of a double-byte character), and
// a German line in a Western font beside it.

struct ScriptCase
{
    const char* name;
    int charset;
    const char* codec; // the code page, as this system's converter names it
    int lang;
    std::string_view text; // UTF-8
};

void PrintTo(const ScriptCase& c, std::ostream* os)
{
    *os << c.name;
}

// `text` in `codec` as WordPad escapes it: bytes from 0x80 as \\'hh, the
// ASCII trail byte of a double-byte character as itself (escaped where RTF
// reserves it).
QByteArray wordpadText(QStringView text, const char* codec)
{
    QStringEncoder encoder(codec);
    const QByteArray bytes = encoder(text);
    EXPECT_FALSE(encoder.hasError()) << codec;
    QByteArray out;
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80) {
            out += "\\'" + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            if (b == '\\' || b == '{' || b == '}')
                out += '\\';
            out += b;
        }
    }
    return out;
}

QByteArray wordpadDocument(const ScriptCase& c)
{
    const QString name = u8(c.text);
    const QByteArray station = wordpadText(name, c.codec);
    const QByteArray lang = QByteArray::number(c.lang);
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{"
           "\\f0\\fnil\\fcharset0 "
           "Calibri;}{\\f1\\fnil\\fcharset" +
           QByteArray::number(c.charset) +
           " Arial;}}\r\n"
           "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
           "\\pard\\sa200\\sl276\\slmult1\\f1\\fs22\\lang" +
           lang + " " + station + "\\f0\\lang1031\\par\r\n" + "Gr\\'fc\\'dfe \\f1\\lang" + lang +
           " " + station + "\\f0\\lang1031\\par\r\n" + "{\\f1 " + station + "}\\'fc\\par\r\n" +
           "\\f1 x\\plain\\f0\\fs22\\'fc\\par\r\n}\r\n";
}

class WordPadScript : public testing::TestWithParam<ScriptCase>
{
};

TEST_P(WordPadScript, StationNameReadsRightAndIsWrittenBackRight)
{
    const ScriptCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Radio.ini"));
    ASSERT_TRUE(writeBytes(path, wordpadDocument(c)));
    const QString name = u8(c.text);
    const QStringList expected{name, QStringLiteral("Grüße ") + name, name + u'ü',
                               QStringLiteral("xü")};

    const std::optional<QStringList> read = readLineFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, expected);

    writeLineFile(path, *read);
    EXPECT_EQ(readLineFile(path), std::optional<QStringList>(expected));
    // Written as Unicode escapes, which every RTF reader takes.
    const QByteArray written = readBytes(path);
    EXPECT_TRUE(written.contains(
        "\\u" + QByteArray::number(static_cast<std::int16_t>(name.at(0).unicode())) + '?'))
        << written.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, WordPadScript,
    testing::Values(ScriptCase{"Cyrillic", 204, "windows-1251", 1049, "Радио Рекорд Ёё"},
                    ScriptCase{"Greek", 161, "windows-1253", 1032, "Ράδιο Αθήνα ΐ"},
                    ScriptCase{"CentralEuropean", 238, "windows-1250", 1029,
                               "Český rozhlas Žižkov ő"},
                    ScriptCase{"Turkish", 162, "windows-1254", 1055, "Şarkı Radyo İstanbul ğ"},
                    ScriptCase{"Baltic", 186, "windows-1257", 1063, "Ąžuolo radijas ąčęėįšųūž"},
                    ScriptCase{"Hebrew", 177, "windows-1255", 1037, "רדיו תל אביב"},
                    ScriptCase{"Arabic", 178, "windows-1256", 1025, "راديو سوا"},
                    ScriptCase{"Japanese", 128, "Shift_JIS", 1041, "ラジオ日本 ソ表"},
                    ScriptCase{"SimplifiedChinese", 134, "GBK", 2052, "中国之声"},
                    ScriptCase{"TraditionalChinese", 136, "Big5", 1028, "台北之音 功"},
                    ScriptCase{"Korean", 129, "windows-949", 1042, "한국 라디오"}),
    [](const testing::TestParamInfo<ScriptCase>& info) { return info.param.name; });

const ParseCase kPlainCases[] = {
    {"Utf8WithBom",
     "\xEF\xBB\xBF"
     "Grüße\r\n€",
     u8Lines({"Grüße", "€"})},
    {"Utf8WithoutBom", "日本\nä", u8Lines({"日本", "ä"})},
    {"SecondBomIsText",
     "\xEF\xBB\xBF\xEF\xBB\xBF"
     "a",
     {QChar(0xFEFF) + QStringLiteral("a")}},
    {"Windows1252",
     "Gr\xfc\xdf"
     "e \x80\x84\r\nx",
     u8Lines({"Grüße €„", "x"})},
    {"Utf8EncodedSurrogateIsNotUtf8", "\xED\xA0\x80", u8Lines({"í\u00A0€"})},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"Lf", "a\nb\n", {"a", "b"}},
    {"Cr", "a\rb\r", {"a", "b"}},
    {"MixedLineEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"EmptyLineInTheMiddle", "a\n\nb", {"a", "", "b"}},
    {"OnlyLineEnds", "\r\n\r\n", {"", ""}},
    {"CrThenLfIsOneLineEnd", "\r\n", {""}},
    {"NoData", "", {}},
    {"OnlyBom", "\xEF\xBB\xBF", {}},
    {"NotQuiteRtf", "{\\rt\n{\\RTF1}", {"{\\rt", "{\\RTF1}"}},
    {"Tab", "a\tb", {"a\tb"}},
};
INSTANTIATE_TEST_SUITE_P(Plain, Parse, testing::ValuesIn(kPlainCases),
                         [](const auto& info) { return info.param.name; });

TEST(Parse, PandocDocument)
{
    const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    if (pandoc.isEmpty())
        GTEST_SKIP() << "pandoc is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString md = dir.filePath(QStringLiteral("in.md"));
    const QString rtf = dir.filePath(QStringLiteral("out.rtf"));
    ASSERT_TRUE(writeBytes(md, raw("# Titel\n\n"
                                   "Grüße aus D:\\\\Musik\\\\x.wpl {x}\n\n"
                                   "Zweiter *Absatz* mit € 日本 😀\n\n"
                                   "- eins\n"
                                   "- zwei\n")));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(pandoc, {QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("rtf"),
                     QStringLiteral("-o"), rtf, md});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAll().constData();

    EXPECT_EQ(readLineFile(rtf),
              std::optional(u8Lines({"Titel", "Grüße aus D:\\Musik\\x.wpl {x}",
                                     "Zweiter Absatz mit € 日本 😀", "•\teins", "•\tzwei"})));
}

// ---------------------------------------------------------------------------
// Random input: whatever is read has no line ends in it and survives our
// writer unchanged.

struct RandomCase
{
    const char* name;
    std::function<QByteArray()> make;
};

class RandomInput : public testing::TestWithParam<RandomCase>
{
};

TEST_P(RandomInput, ReadLinesSurviveAWriteAndRead)
{
    const QByteArray data = GetParam().make();
    const QStringList lines = parseLines(data);
    if (!data.startsWith("{\\rtf")) {
        for (const QString& l : lines)
            ASSERT_FALSE(l.contains(u'\r') || l.contains(u'\n')) << l.toStdString();
    }
    EXPECT_EQ(parseLines(writeRtfLines(lines)), lines);
}

INSTANTIATE_TEST_SUITE_P(
    Garbage, RandomInput,
    testing::Values(RandomCase{"BinaryBytes", [] { return randomBytes(200000, 1); }},
                    RandomCase{"BinaryAfterRtfHeader",
                               [] { return "{\\rtf1 " + randomBytes(200000, 2); }},
                    RandomCase{"RtfSyntaxSoup", [] { return randomRtf(200000, 3); }},
                    RandomCase{"Utf8Text",
                               [] {
                                   QByteArray s;
                                   for (int i = 0; i < 2000; ++i)
                                       s += raw("ä€😀\r\n\n\rx\t\\{}");
                                   return s;
                               }}),
    [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Line files on disk.

struct BigFileCase
{
    const char* name;
    std::function<QByteArray()> make;
    std::function<void(const QStringList&)> check;
};

class BigFile : public testing::TestWithParam<BigFileCase>
{
};

TEST_P(BigFile, OnlyTheFirstPartIsReadAndQuickly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("big"));
    ASSERT_TRUE(writeBytes(path, GetParam().make()));

    QElapsedTimer timer;
    timer.start();
    const std::optional<QStringList> lines = readLineFile(path);
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_TRUE(lines.has_value());
    qsizetype total = 0;
    for (const QString& l : *lines)
        total += l.size();
    EXPECT_LE(total, kMaxLineFileBytes);
    GetParam().check(*lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cap, BigFile,
    testing::Values(
        BigFileCase{"OneHugeTextLine", [] { return QByteArray(5 * 1024 * 1024, 'a'); },
                    [](const QStringList& l) {
                        EXPECT_EQ(l, QStringList{QString(kMaxLineFileBytes, u'a')});
                    }},
        BigFileCase{"OneHugeRtfLine", [] { return "{\\rtf1 " + QByteArray(5 * 1024 * 1024, 'a'); },
                    [](const QStringList& l) {
                        EXPECT_EQ(l, QStringList{QString(kMaxLineFileBytes - 7, u'a')});
                    }},
        // The cut falls into the middle of an "ä": the rest is still UTF-8.
        BigFileCase{"Utf8CutAtTheLimit",
                    [] {
                        QByteArray s = "a";
                        while (s.size() < kMaxLineFileBytes + 10)
                            s += raw("ä");
                        return s;
                    },
                    [](const QStringList& l) {
                        EXPECT_EQ(l, QStringList{u8("a") +
                                                 u8("ä").repeated((kMaxLineFileBytes - 2) / 2)});
                    }},
        BigFileCase{"FiftyMegabytesOfGarbage",
                    [] { return "{\\rtf1 " + randomBytes(50 * 1024 * 1024, 4); },
                    [](const QStringList& l) {
                        // Every line read survives our writer.
                        EXPECT_EQ(parseLines(writeRtfLines(l)), l);
                    }}),
    [](const auto& info) { return info.param.name; });

struct MissingCase
{
    const char* name;
    std::function<QString(const QDir&)> path;
};

class UnreadableFile : public testing::TestWithParam<MissingCase>
{
};

TEST_P(UnreadableFile, GivesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(readLineFile(GetParam().path(QDir(dir.path()))), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableFile,
    testing::Values(MissingCase{"Missing", [](const QDir& d) { return d.filePath("none.rtf"); }},
                    MissingCase{"MissingFolder",
                                [](const QDir& d) { return d.filePath("none/x.rtf"); }}),
    [](const auto& info) { return info.param.name; });

TEST(ReadLineFile, FileThatExistsButCannotBeReadThrowsNamingIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder exists under the name and cannot be read as a file.
    try {
        readLineFile(dir.path());
        FAIL() << "reading a folder must fail";
    } catch (const zelk::OperationError& e) {
        EXPECT_TRUE(e.message().contains(dir.path())) << e.what();
    }
}

TEST(ReadLineFile, EmptyFileIsNoLines)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    ASSERT_TRUE(writeBytes(path, {}));
    EXPECT_EQ(readLineFile(path), std::optional(QStringList()));
}

// Every file under `root` with its content; a directory maps to "<dir>".
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        out.insert(p, it.fileInfo().isDir() ? QByteArray("<dir>") : readBytes(p));
    }
    return out;
}

struct WriteFailureCase
{
    const char* name;
    // Prepares the folder and gives the path to write to.
    std::function<QString(const QDir&)> setup;
};

class WriteFailure : public testing::TestWithParam<WriteFailureCase>
{
};

TEST_P(WriteFailure, ThrowsNamingTheFileAndLeavesEverythingAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = GetParam().setup(QDir(dir.path()));
    const QMap<QString, QByteArray> before = snapshot(dir.path());

    try {
        writeLineFile(path, {QStringLiteral("new")});
        ADD_FAILURE() << "no error for " << path.toStdString();
    } catch (const zelk::OperationError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("\"%1\"").arg(path)))
            << e.message().toStdString();
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WriteFailure,
    testing::Values(WriteFailureCase{"FolderMissing",
                                     [](const QDir& d) {
                                         writeBytes(d.filePath("other.rtf"), "old");
                                         return d.filePath("missing/x.rtf");
                                     }},
                    WriteFailureCase{"TargetIsADirectory",
                                     [](const QDir& d) {
                                         d.mkdir("target.rtf");
                                         writeBytes(d.filePath("target.rtf/keep.txt"), "old");
                                         return d.filePath("target.rtf");
                                     }},
                    WriteFailureCase{"FolderIsAFile",
                                     [](const QDir& d) {
                                         writeBytes(d.filePath("file.rtf"), writeRtfLines({"old"}));
                                         return d.filePath("file.rtf/x.rtf");
                                     }}),
    [](const auto& info) { return info.param.name; });

} // namespace
