// The configuration list and file, the language list and files, the data folder.

#include "app/datadir.h"
#include "platform/errors.h"
#include "platform/rtflines.h"
#include "settings/config.h"
#include "settings/language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelk;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QStringList numbered(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines;
}

} // namespace

TEST(ConfigDefaults, HasTheFiftyFiveLinesWithHeadingsInPlace)
{
    const QStringList d = defaultConfigLines();
    ASSERT_EQ(d.size(), cfg::LineCount);
    const std::pair<int, const char*> fixed[] = {
        {0, "[Zelk Radio Config]"},
        {3, "15"},
        {5, "false"},
        {7, "1"},
        {10, "1LIVE"},
        {14, "100,5"},
        {15, "YouFM"},
        {26, ""},
        {28, ""},
        {29, ""},
        {31, "D:\\Eigene Dateien\\Musik\\Wiedergabelisten\\Non Stop Pop FM.wpl"},
        {35, "DE-DE"},
        {37, "false"},
        {41, "Pure Shores"},
        {44, "[Now Playling in Title]"},
        {47, "true"},
        {53, "true"},
        {54, "[END]"}};
    for (const auto& [n, text] : fixed)
        EXPECT_EQ(d.at(n), QString::fromUtf8(text)) << "line " << n;
    // Addresses: scheme, port, path and query as the program relies on them.
    EXPECT_TRUE(d.at(17).endsWith(QStringLiteral("/wdrlive/media/einslive.m3u")));
    EXPECT_TRUE(d.at(19).endsWith(
        QStringLiteral("/wraps/musik/webradio/aplayer/stream_extern.php?format=mp3e&channel=0")));
    EXPECT_TRUE(d.at(21).startsWith(QStringLiteral("mms://")));
    EXPECT_TRUE(d.at(21).endsWith(QStringLiteral("/DASHITRADIO")));
    EXPECT_TRUE(d.at(39).contains(
        QStringLiteral(":25555/dashboard-host.html?skin=ets2-mobile-route-advisor&ip=")));
    EXPECT_FALSE(d.at(33).endsWith(QLatin1Char('/')));
}

TEST(LineList, ReadsAndReplacesOnlyInsideTheList)
{
    LineList list(numbered(10));
    EXPECT_EQ(list.line(9), QStringLiteral("line 9"));
    EXPECT_EQ(list.line(35), QString());
    EXPECT_EQ(list.line(-1), QString());
    list.setLine(41, QStringLiteral("x"));
    list.setLine(-3, QStringLiteral("x"));
    EXPECT_EQ(list.size(), 10);
    list.setLine(3, QStringLiteral("new"));
    EXPECT_EQ(list.line(3), QStringLiteral("new"));

    list.setLine(4, QString(5000, QLatin1Char('a')));
    EXPECT_EQ(list.line(4).size(), LineList::kMaxReadLength);
    EXPECT_EQ(list.lines().at(4).size(), 5000) << "the stored line itself stays whole";
}

class ConfigFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Radio.ini")); }
};

TEST_F(ConfigFile, MissingFileLeavesTheListUnchanged)
{
    LineList config(defaultConfigLines());
    config.setLine(cfg::Volume, QStringLiteral("40"));
    EXPECT_FALSE(loadConfigFile(config, path()));
    EXPECT_EQ(config.line(cfg::Volume), QStringLiteral("40"));
    EXPECT_EQ(config.size(), cfg::LineCount);
}

TEST_F(ConfigFile, DefaultsSurviveSaveAndLoadAsRtf)
{
    LineList saved(defaultConfigLines());
    saveConfigFile(saved, path());
    EXPECT_TRUE(readAll(path()).startsWith("{\\rtf1"));

    LineList loaded;
    ASSERT_TRUE(loadConfigFile(loaded, path()));
    EXPECT_EQ(loaded.lines(), defaultConfigLines());
}

TEST_F(ConfigFile, PlainTextFileIsReadAndStoredAsRtfAfterAChange)
{
    QStringList lines = defaultConfigLines();
    lines[cfg::Playlist] = QStringLiteral("C:\\Musik\\{Mix}\\Grüße.wpl");
    writeAll(path(), lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");

    LineList config;
    ASSERT_TRUE(loadConfigFile(config, path()));
    EXPECT_EQ(config.lines(), lines);

    config.setLine(cfg::ActiveStation, QStringLiteral("3"));
    saveConfigFile(config, path());
    EXPECT_TRUE(readAll(path()).startsWith("{\\rtf1"));
    lines[cfg::ActiveStation] = QStringLiteral("3");
    LineList again;
    ASSERT_TRUE(loadConfigFile(again, path()));
    EXPECT_EQ(again.lines(), lines);
}

TEST_F(ConfigFile, ShortAndLongFilesKeepTheirLength)
{
    for (int count : {10, 60}) {
        writeAll(path(), numbered(count).join(QLatin1Char('\n')).toUtf8());
        LineList config(defaultConfigLines());
        ASSERT_TRUE(loadConfigFile(config, path()));
        EXPECT_EQ(config.size(), count);
        if (count == 10) {
            EXPECT_EQ(config.line(cfg::Language), QString());
        }
        config.setLine(cfg::LastSong, QStringLiteral("Song"));
        saveConfigFile(config, path());

        LineList again;
        ASSERT_TRUE(loadConfigFile(again, path()));
        QStringList expected = numbered(count);
        if (count > cfg::LastSong)
            expected[cfg::LastSong] = QStringLiteral("Song");
        EXPECT_EQ(again.lines(), expected) << count << " lines";
    }
}

TEST_F(ConfigFile, FailedSaveKeepsTheOldFileAndNamesIt)
{
    LineList config(defaultConfigLines());
    saveConfigFile(config, path());
    const QByteArray before = readAll(path());

    // Root ignores permissions: make the save fail by putting a folder where
    // the file has to go.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/Radio.ini")));
    config.setLine(cfg::Volume, QStringLiteral("50"));
    try {
        saveConfigFile(config, blocked + QStringLiteral("/Radio.ini"));
        FAIL() << "the save into a folder must fail";
    } catch (const OperationError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Radio.ini"))) << e.what();
    }
    try {
        saveConfigFile(config, dir.filePath(QStringLiteral("missing/Radio.ini")));
        FAIL() << "the save into a missing folder must fail";
    } catch (const OperationError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("missing/Radio.ini"))) << e.what();
    }
    EXPECT_EQ(readAll(path()), before);
    EXPECT_EQ(config.line(cfg::Volume), QStringLiteral("50")) << "memory keeps the new value";
}

TEST(Language, BuiltinListHasFortyLines)
{
    const QStringList mui = builtinLanguageLines();
    ASSERT_EQ(mui.size(), kLanguageLineCount);
    EXPECT_EQ(mui.at(38), QStringLiteral("Configuration couldn't be found. Creating a new one."));
    EXPECT_EQ(mui.at(25), QStringLiteral("."));
}

TEST(Language, ShippedFilesAreFortyLineRtfDocuments)
{
    for (const char* code : {"DE-DE", "EN-US"}) {
        QFile f(QStringLiteral(":/lang/%1.mui").arg(QLatin1String(code)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << code;
        const QByteArray data = f.readAll();
        EXPECT_TRUE(data.startsWith("{\\rtf1")) << code;
        const QStringList lines = parseLines(data);
        ASSERT_EQ(lines.size(), kLanguageLineCount) << code;
        EXPECT_EQ(lines.at(0), QStringLiteral("[Zelk Radio Language]"));
    }
    QFile de(QStringLiteral(":/lang/DE-DE.mui"));
    ASSERT_TRUE(de.open(QIODevice::ReadOnly));
    const QStringList german = parseLines(de.readAll());
    EXPECT_EQ(german.at(7), QStringLiteral("Zurück"));
    EXPECT_EQ(german.at(29), QStringLiteral("Schließen"));
    QFile en(QStringLiteral(":/lang/EN-US.mui"));
    ASSERT_TRUE(en.open(QIODevice::ReadOnly));
    EXPECT_EQ(parseLines(en.readAll()), builtinLanguageLines());
}

TEST(Language, LoadingRules)
{
    QTemporaryDir dir;
    const QString dataDir = dir.path() + QLatin1Char('/');
    ASSERT_TRUE(QDir(dataDir).mkpath(QStringLiteral("lang")));
    writeAll(languageFilePath(dataDir, QStringLiteral("XX-SHORT")), "t\none\ntwo\n");
    writeAll(languageFilePath(dataDir, QStringLiteral("XX-LONG")),
             numbered(45).join(QLatin1Char('\n')).toUtf8());
    writeAll(dir.filePath(QStringLiteral("evil.mui")), "t\nevil\n");

    LineList mui(builtinLanguageLines());
    EXPECT_FALSE(loadLanguageFile(mui, dataDir, QStringLiteral("EN-US")));
    EXPECT_FALSE(loadLanguageFile(mui, dataDir, QString()));
    EXPECT_FALSE(loadLanguageFile(mui, dataDir, QStringLiteral("../evil")));
    EXPECT_EQ(mui.lines(), builtinLanguageLines()) << "missing files change nothing";

    ASSERT_TRUE(loadLanguageFile(mui, dataDir, QStringLiteral("XX-SHORT")));
    EXPECT_EQ(mui.line(2), QStringLiteral("two"));
    EXPECT_EQ(mui.line(3), QString());
    EXPECT_EQ(mui.line(38), QString());

    ASSERT_TRUE(loadLanguageFile(mui, dataDir, QStringLiteral("XX-LONG")));
    EXPECT_EQ(mui.size(), kLanguageLineCount);
    EXPECT_EQ(mui.line(39), QStringLiteral("line 39"));
    EXPECT_EQ(mui.line(40), QString());
}

TEST(Language, UiTextIsGermanForGermanCodesOnly)
{
    const std::pair<const char*, UiLanguage> codes[] = {
        {"DE-DE", UiLanguage::German},  {"de-AT", UiLanguage::German},
        {"DE", UiLanguage::German},     {"EN-US", UiLanguage::English},
        {"FR-FR", UiLanguage::English}, {"DEU", UiLanguage::English},
        {"", UiLanguage::English},
    };
    for (const auto& [code, language] : codes)
        EXPECT_EQ(uiLanguageOf(QLatin1String(code)), language) << code;
    const UiText text{"Schließen", "Close"};
    EXPECT_EQ(uiText(UiLanguage::German, text), QStringLiteral("Schließen"));
    EXPECT_EQ(uiText(UiLanguage::English, text), QStringLiteral("Close"));
}

TEST(DataDir, ComesFromTheVariableElseTheUserDataFolder)
{
    const QByteArray oldLower = qgetenv("appdata"), oldUpper = qgetenv("APPDATA");
    qputenv("appdata", "/tmp/zelk-a");
    qputenv("APPDATA", "/tmp/zelk-b");
    EXPECT_EQ(resolveDataDir(), QStringLiteral("/tmp/zelk-a/Tovemark/Zelk_Quen/"));
    qunsetenv("appdata");
    EXPECT_EQ(resolveDataDir(), QStringLiteral("/tmp/zelk-b/Tovemark/Zelk_Quen/"));
    qunsetenv("APPDATA");
    EXPECT_TRUE(resolveDataDir().endsWith(QStringLiteral("/Tovemark/Zelk_Quen/")));
    EXPECT_FALSE(resolveDataDir().startsWith(QStringLiteral("/Tovemark")));
    // Relative folders count from the current one, whichever way they come.
    const QString here = QDir::currentPath();
    qputenv("appdata", "rel/a/");
    EXPECT_EQ(resolveDataDir(), here + QStringLiteral("/rel/a/Tovemark/Zelk_Quen/"));
    const std::pair<const char*, QString> given[] = {
        {"data", here + QStringLiteral("/data/")},
        {"./data/../other/", here + QStringLiteral("/other/")},
        {"/abs/data", QStringLiteral("/abs/data/")},
        {"/abs//data/", QStringLiteral("/abs/data/")},
    };
    for (const auto& [path, expected] : given)
        EXPECT_EQ(dataDirFrom(QString::fromLatin1(path)), expected) << path;
    EXPECT_EQ(dataDirFrom(QString()), resolveDataDir());
    qputenv("appdata", oldLower);
    qputenv("APPDATA", oldUpper);
}

TEST(DataDir, PreparedWithShippedFilesNeverOverwritten)
{
    QTemporaryDir dir;
    const QString dataDir = dir.path() + QStringLiteral("/Tovemark/Zelk_Quen/");
    ASSERT_FALSE(prepareDataDir(dataDir).has_value());
    EXPECT_TRUE(QFile::exists(dataDir + QStringLiteral("blank.html")));
    EXPECT_TRUE(QFile::exists(dataDir + QStringLiteral("lang/EN-US.mui")));
    EXPECT_TRUE(readAll(dataDir + QStringLiteral("lang/DE-DE.mui")).startsWith("{\\rtf1"));

    writeAll(dataDir + QStringLiteral("lang/DE-DE.mui"), "mine\n");
    ASSERT_FALSE(prepareDataDir(dataDir).has_value());
    EXPECT_EQ(readAll(dataDir + QStringLiteral("lang/DE-DE.mui")), QByteArray("mine\n"));

    // A file where the folder should be: a clear message naming the path.
    writeAll(dir.filePath(QStringLiteral("file")), "x");
    const auto error = prepareDataDir(dir.filePath(QStringLiteral("file/sub/")));
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(dir.filePath(QStringLiteral("file/sub/"))));
}

TEST_F(ConfigFile, FileThatExistsButCannotBeReadEndsTheOperation)
{
    // A folder in the file's place: it exists, and reading it fails (root
    // reads every file, so permissions cannot show this).
    ASSERT_TRUE(QDir().mkpath(path()));
    LineList config(defaultConfigLines());
    try {
        loadConfigFile(config, path());
        FAIL() << "reading a folder must fail";
    } catch (const OperationError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Radio.ini"))) << e.what();
    }
    EXPECT_EQ(config.lines(), defaultConfigLines()) << "the list keeps what it held";
}

TEST(StrictInt, OnlyASignAndDigits)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"40", 40},         {"0", 0},
        {"-5", -5},         {"+15", 15},
        {"007", 7},         {" 40 ", {}},
        {"40 ", {}},        {" 40", {}},
        {"", {}},           {"-", {}},
        {"4O", {}},         {"1e2", {}},
        {"0x10", {}},       {"2147483647", 2147483647},
        {"2147483648", {}}, {"\t5", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(strictInt(QString::fromLatin1(text)), expected) << text;
}
