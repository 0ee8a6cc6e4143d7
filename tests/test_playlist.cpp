#include "music/playlist.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace zelk {

// Readable failure messages for item lists.
void PrintTo(const PlaylistItem& item, std::ostream* os)
{
    *os << '{' << item.location.toStdString() << " | " << item.title.toStdString() << '}';
}

bool operator==(const PlaylistItem& a, const PlaylistItem& b)
{
    return a.location == b.location && a.title == b.title;
}

} // namespace zelk

namespace {

using zelk::PlaylistItem;

struct ParseCase
{
    const char* name;
    const char* playlistPath;
    QByteArray data;
    QList<PlaylistItem> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

// Byte strings with NULs inside.
template <size_t N> QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}

class ParsePlaylist : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParsePlaylist, GivesItemsInOrder)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(zelk::parsePlaylist(c.data, QString::fromUtf8(c.playlistPath)), c.expected);
}

const QByteArray kWplPaths = R"(<?wpl version="1.0"?>
<smil>
  <head><title>Autofahrt</title><meta name="ItemCount" content="6"/></head>
  <body>
    <seq>
      <media src="Rock &amp; Roll\song.mp3"/>
      <media src="..\other\b.mp3" tid="{1234}"/>
      <media src="D:\Musik\c.mp3"/>
      <media src="/abs/d.mp3"/>
      <media src="http://host/e.mp3?x=1&amp;y=2"/>
      <media src="file:///home/u/f%20g.mp3"/>
    </seq>
  </body>
</smil>
)";

const QByteArray kWplEntities = "<?wpl version=\"1.0\"?><smil><body><seq>"
                                "<media src=\"M&#228;dchen.mp3\"/>"
                                "<media src=\"it&apos;s &quot;x&quot;.mp3\"/>"
                                "<media src=\"Caf\xC3\xA9.mp3\"/>"
                                "</seq></body></smil>";

const ParseCase kParseCases[] = {
    {"WplPathsResolvedAndTitleOfListIgnored",
     "/music/lists/drive.wpl",
     kWplPaths,
     {{"/music/lists/Rock & Roll/song.mp3", ""},
      {"/music/other/b.mp3", ""},
      {"D:/Musik/c.mp3", ""},
      {"/abs/d.mp3", ""},
      {"http://host/e.mp3?x=1&y=2", ""},
      {"/home/u/f g.mp3", ""}}},
    {"WplEntitiesAndUtf8",
     "/m/x.wpl",
     kWplEntities,
     {{QStringLiteral("/m/M\u00e4dchen.mp3"), ""},
      {"/m/it's \"x\".mp3", ""},
      {QStringLiteral("/m/Caf\u00e9.mp3"), ""}}},
    {"WplMediaOutsideSeqIgnored",
     "/m/x.wpl",
     "<smil><head><media src=\"no.mp3\"/></head><body><seq><media src=\"yes.mp3\"/></seq>"
     "<media src=\"after.mp3\"/></body></smil>",
     {{"/m/yes.mp3", ""}}},
    {"WplMalformedKeepsItemsBeforeError",
     "/m/x.wpl",
     "<smil><body><seq><media src=\"a.mp3\"/><media src=\"b.mp3\"/><media src=\"c.mp3\"</seq>",
     {{"/m/a.mp3", ""}, {"/m/b.mp3", ""}}},
    {"WplUnclosedTagKeepsItemsBeforeError",
     "/m/x.wpl",
     "<smil><body><seq><media src=\"a.mp3\"/><p></seq><media src=\"b.mp3\"/>",
     {{"/m/a.mp3", ""}}},
    {"M3uExtinfCrlfBom",
     "/m/list.m3u",
     "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:123,Artist - Song\r\nsongs\\one.mp3\r\n# note\r\n\r\n"
     "two.mp3\r\n#EXTINF:-1 tvg-name=\"a,b\",Sender\r\nhttp://host/live\r\n",
     {{"/m/songs/one.mp3", "Artist - Song"}, {"/m/two.mp3", ""}, {"http://host/live", "Sender"}}},
    {"M3uFileUrls",
     "/m/l.m3u",
     "file:///D:/Musik/h.mp3\nfile:///home/u/a%5Cb%20c.mp3\n",
     {{"D:/Musik/h.mp3", ""}, {"/home/u/a/b c.mp3", ""}}},
    {"M3uCarriageReturnsOnly", "/m/l.m3u", "a.mp3\rb.mp3\r", {{"/m/a.mp3", ""}, {"/m/b.mp3", ""}}},
    {"M3uWindows1252",
     "/m/l.m3u",
     "#EXTINF:1,Caf\xE9 \x80 \x93x\x94\nB\xFC"
     "cher.mp3\n",
     {{QStringLiteral("/m/B\u00fccher.mp3"), QStringLiteral("Caf\u00e9 \u20ac \u201cx\u201d")}}},
    {"M3uUtf8",
     "/m/l.m3u",
     "#EXTINF:1,Caf\xC3\xA9\nB\xC3\xBC"
     "cher.mp3\n",
     {{QStringLiteral("/m/B\u00fccher.mp3"), QStringLiteral("Caf\u00e9")}}},
    {"M3u8IsAlwaysUtf8", "/m/l.m3u8", "\xE9.mp3\n", {{QStringLiteral("/m/\ufffd.mp3"), ""}}},
    {"PlsOrderedByNumberAnyCase",
     "/m/radio.pls",
     "[playlist]\nNumberOfEntries=3\nFile2=http://host/b\nTitle2=Zwei\nfile1=a.mp3\n"
     "TITLE1=Eins\nfile10=c.mp3\nTitle7=orphan\nVersion=2\n",
     {{"/m/a.mp3", "Eins"}, {"http://host/b", "Zwei"}, {"/m/c.mp3", ""}}},
    {"UnknownNameSniffsPls", "/m/list.txt", "  [Playlist]\nFile1=x.mp3\n", {{"/m/x.mp3", ""}}},
    {"UnknownNameSniffsWpl",
     "/m/list",
     "\xEF\xBB\xBF<?wpl version=\"1.0\"?><smil><body><seq><media src=\"x.mp3\"/></seq></body>"
     "</smil>",
     {{"/m/x.mp3", ""}}},
    {"UnknownNameFallsBackToM3u", "/m/list.dat", "#EXTINF:2,T\nx.mp3\n", {{"/m/x.mp3", "T"}}},
    {"EmptyWpl", "/m/e.wpl", "", {}},
    {"EmptyM3u", "/m/e.m3u", "", {}},
    {"EmptyPls", "/m/e.pls", "", {}},
    {"GarbageWpl", "/m/g.wpl", raw("\x00\x01\xff\xfe<<&>>"), {}},
    {"GarbagePls", "/m/g.pls", raw("\x00\x01\xff\xfe==File=\nFileX=y"), {}},
};

INSTANTIATE_TEST_SUITE_P(Formats, ParsePlaylist, testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadPlaylistFile, MissingFileGivesNothing)
{
    QTemporaryDir dir;
    EXPECT_TRUE(zelk::readPlaylistFile(dir.filePath(QStringLiteral("none.m3u"))).isEmpty());
}

TEST(ReadPlaylistFile, ResolvesAgainstItsFolderAndStopsAfterOneMebibyte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("big.m3u"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("first.mp3\n");
    const QByteArray padding = "#" + QByteArray(1000, 'x') + "\n";
    for (int i = 0; i < 1100; ++i)
        file.write(padding);
    file.write("late.mp3\n");
    file.close();

    const QList<PlaylistItem> expected{{dir.filePath(QStringLiteral("first.mp3")), ""}};
    EXPECT_EQ(zelk::readPlaylistFile(path), expected);
}

TEST(IsPlaylistFile, OnlyLocalFilesWithPlaylistNames)
{
    const struct
    {
        const char* pathOrUrl;
        bool expected;
    } cases[] = {
        {"/music/list.wpl", true},           {"list.M3U", true},
        {"/music/list.m3u8", true},          {"/music/list.pls", true},
        {"D:\\Musik\\list.wpl", true},       {"file:///music/list.pls", true},
        {"http://host/station.m3u", false},  {"https://host/station.pls", false},
        {"mms://host/list.wpl", false},      {"/music/song.mp3", false},
        {"/music/list.m3u/song.mp3", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(zelk::isPlaylistFile(QString::fromUtf8(c.pathOrUrl)), c.expected) << c.pathOrUrl;
}

} // namespace
