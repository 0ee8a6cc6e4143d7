#include "music/playlist.h"

#include <QFile>
#include <QStringEncoder>
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

// `text` as Notepad writes it with "UTF-16 LE" or "UTF-16 BE": a byte-order
// mark, then the code units.
QByteArray utf16(const char* text, QStringEncoder::Encoding encoding, bool mark = true)
{
    QStringEncoder encoder(encoding,
                           mark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
    return encoder(QString::fromUtf8(text));
}

QByteArray le(const char* text)
{
    return utf16(text, QStringEncoder::Utf16LE);
}

QByteArray be(const char* text)
{
    return utf16(text, QStringEncoder::Utf16BE);
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
    // Notepad, Windows Media Player, foobar2000 and VLC write these.
    {"M3uUtf16LeWithMark",
     "/m/l.m3u",
     le("#EXTM3U\r\n#EXTINF:3,Caf\u00e9 \u041c\u0438\u0440\r\nB\u00fccher\\eins.mp3\r\n"
        "http://host/live\r\n"),
     {{QStringLiteral("/m/B\u00fccher/eins.mp3"), QStringLiteral("Caf\u00e9 \u041c\u0438\u0440")},
      {"http://host/live", ""}}},
    {"M3uUtf16BeWithMark",
     "/m/l.m3u",
     be("#EXTM3U\n\u65e5\u672c.mp3\n"),
     {{QStringLiteral("/m/\u65e5\u672c.mp3"), ""}}},
    {"M3u8Utf16LeWithMark", "/m/l.m3u8", le("a.mp3\nb.mp3"), {{"/m/a.mp3", ""}, {"/m/b.mp3", ""}}},
    {"M3uUtf16LeWithoutMark",
     "/m/l.m3u",
     utf16("one.mp3\r\ntwo.mp3\r\n", QStringEncoder::Utf16LE, false),
     {{"/m/one.mp3", ""}, {"/m/two.mp3", ""}}},
    {"PlsUtf16LeWithMark",
     "/m/l.pls",
     le("[playlist]\r\nFile1=\u00e4.mp3\r\nTitle1=\u00c4\r\nNumberOfEntries=1\r\n"),
     {{QStringLiteral("/m/\u00e4.mp3"), QStringLiteral("\u00c4")}}},
    {"PlsUtf16BeWithMark",
     "/m/l.pls",
     be("[playlist]\nFile1=http://host/s\n"),
     {{"http://host/s", ""}}},
    {"PlsUtf8WithMark",
     "/m/l.pls",
     "\xEF\xBB\xBF[playlist]\nFile1=\xC3\xA4.mp3\n",
     {{QStringLiteral("/m/\u00e4.mp3"), ""}}},
    {"WplUtf16LeWithMark",
     "/m/l.wpl",
     le("<?wpl version=\"1.0\"?><smil><body><seq><media "
        "src=\"\u00e4\\b.mp3\"/></seq></body></smil>"),
     {{QStringLiteral("/m/\u00e4/b.mp3"), ""}}},
    {"UnknownNameSniffsUtf16M3u", "/m/list.txt", le("#EXTM3U\nx.mp3\n"), {{"/m/x.mp3", ""}}},
    {"LocationWithNulDropped",
     "/m/l.m3u",
     raw("a\x00"
         "b.mp3\nok.mp3\nhttp://h/\x00x\n"),
     {{"/m/ok.mp3", ""}}},
    // The engine plays its devices and generators when they are handed to
    // it one by one; only its own playlist reader refuses them.
    {"OnlyFilesAndNetworkAddressesReachTheEngine",
     "/m/l.m3u",
     "av://lavfi:sine=frequency=440\nfd://0\nfdclose://3\nedl://a.mp3,0,1\nmemory://abc\n"
     "AV://lavfi:anullsrc\ndvd://1\nytdl://x\nlavf://file.mp3\nhttp://h/a\nHTTPS://h/b\n"
     "ftp://h/c\nsmb://h/share/d.mp3\nnfs://h/e.mp3\nfile://server/share/f.mp3\n"
     "file:///m/g.mp3\nrel/h.mp3\nav:lavfi\n",
     {{"http://h/a", ""},
      {"HTTPS://h/b", ""},
      {"ftp://h/c", ""},
      {"smb://h/share/d.mp3", ""},
      {"nfs://h/e.mp3", ""},
      {"//server/share/f.mp3", ""},
      {"/m/g.mp3", ""},
      {"/m/rel/h.mp3", ""},
      {"/m/av:lavfi", ""}}},
    {"PlsAndWplEntriesFilteredToo",
     "/m/l.pls",
     "[playlist]\nFile1=edl://x\nFile2=ok.mp3\n",
     {{"/m/ok.mp3", ""}}},
    {"WplUndeclaredLatin1ReadAsWindows1252",
     "/m/l.wpl",
     "<?wpl version=\"1.0\"?><smil><head><title>Sch\xF6n</title></head><body><seq>"
     "<media src=\"B\xFC"
     "cher \x80\\a.mp3\"/><media src=\"\x93x\x94.mp3\"/></seq></body></smil>",
     {{QStringLiteral("/m/B\u00fccher \u20ac/a.mp3"), ""},
      {QStringLiteral("/m/\u201cx\u201d.mp3"), ""}}},
    {"WplDeclaredLatin1ReadAsWindows1252",
     "/m/l.wpl",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><smil><body><seq>"
     "<media src=\"\xE9\x80.mp3\"/></seq></body></smil>",
     {{QStringLiteral("/m/\u00e9\u20ac.mp3"), ""}}},
    {"WplDeclaredCyrillic",
     "/m/l.wpl",
     "<?xml version='1.0' encoding='windows-1251'?><smil><body><seq>"
     "<media src=\"\xCC\xE8\xF0.mp3\"/></seq></body></smil>",
     {{QStringLiteral("/m/\u041c\u0438\u0440.mp3"), ""}}},
    {"PlsKeysWithSpaceOrLeadingZeroNameTheSameEntry",
     "/m/l.pls",
     "[playlist]\nFile 1=a.mp3\nTitle01=Eins\nFile02=b.mp3\nTitle 2=Zwei\nfile 003=c.mp3\n"
     "Title3=Drei\nNumberOfEntries=3\n",
     {{"/m/a.mp3", "Eins"}, {"/m/b.mp3", "Zwei"}, {"/m/c.mp3", "Drei"}}},
    {"PlsSameNumberWrittenTwiceIsOneEntry",
     "/m/l.pls",
     "[playlist]\nFile1=old.mp3\nFile01=new.mp3\nTitle 1=T\n",
     {{"/m/new.mp3", "T"}}},
};

INSTANTIATE_TEST_SUITE_P(Formats, ParsePlaylist, testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadPlaylistFile, MissingFileGivesNothing)
{
    QTemporaryDir dir;
    EXPECT_TRUE(zelk::readPlaylistFile(dir.filePath(QStringLiteral("none.m3u"))).isEmpty());
}

// A whole library: 100,000 entries, far more than a mebibyte, with the last
// line left without a line end as many writers do.
TEST(ReadPlaylistFile, WholeLibraryReadsToItsLastLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("library.m3u"));
    QByteArray data = "#EXTM3U\n";
    constexpr int kEntries = 100000;
    for (int i = 0; i < kEntries; ++i) {
        data += "#EXTINF:200,Artist " + QByteArray::number(i) + " - Song\n";
        data += "Artist " + QByteArray::number(i) + "/Album/Song.mp3";
        if (i + 1 < kEntries)
            data += '\n';
    }
    ASSERT_GT(data.size(), 4 * 1024 * 1024);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
    file.close();

    const QList<PlaylistItem> items = zelk::readPlaylistFile(path);
    ASSERT_EQ(items.size(), kEntries);
    EXPECT_EQ(items.first(), (PlaylistItem{dir.filePath(QStringLiteral("Artist 0/Album/Song.mp3")),
                                           QStringLiteral("Artist 0 - Song")}));
    EXPECT_EQ(items.last(),
              (PlaylistItem{dir.filePath(QStringLiteral("Artist 99999/Album/Song.mp3")),
                            QStringLiteral("Artist 99999 - Song")}));
}

// Only a file larger than the cap is cut; the line the cap cuts through is
// dropped, the whole lines before it stay, nothing after it is read.
TEST(ReadPlaylistFile, LargerThanTheCapDropsTheLineTheCapCuts)
{
    const struct
    {
        const char* name;
        QStringEncoder::Encoding encoding;
    } cases[] = {{"utf-8", QStringEncoder::Utf8}, {"utf-16le", QStringEncoder::Utf16LE}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("big.m3u"));
        QStringEncoder encoder(c.encoding, QStringEncoder::Flag::WriteBom);
        QByteArray head = encoder(QStringLiteral("first.mp3\n"));
        const QByteArray padding = encoder(u'#' + QString(1000, u'x') + u'\n');
        const QByteArray kept = encoder(QStringLiteral("kept.mp3\n"));
        const QByteArray cutLine = encoder(QStringLiteral("cut-through-by-the-cap.mp3\n"));
        QByteArray data = head;
        data.reserve(zelk::kMaxPlaylistBytes + 4096);
        while (data.size() + 2 * padding.size() + kept.size() < zelk::kMaxPlaylistBytes)
            data += padding;
        // A comment that makes "kept.mp3" end just before the cap.
        const qsizetype unit = c.encoding == QStringEncoder::Utf8 ? 1 : 2;
        const qsizetype room = zelk::kMaxPlaylistBytes - 6 - kept.size() - data.size();
        data += encoder(u'#' + QString(room / unit - 2, u'y') + u'\n');
        data += kept;
        ASSERT_LT(data.size(), zelk::kMaxPlaylistBytes);
        ASSERT_GT(data.size() + cutLine.size(), zelk::kMaxPlaylistBytes);
        data += cutLine;
        data += encoder(QStringLiteral("after.mp3\n"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(data), data.size());
        file.close();

        const QList<PlaylistItem> expected{{dir.filePath(QStringLiteral("first.mp3")), ""},
                                           {dir.filePath(QStringLiteral("kept.mp3")), ""}};
        EXPECT_EQ(zelk::readPlaylistFile(path), expected) << c.name;
    }
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

// A file of another name is a playlist only when its content says so.
TEST(ReadLocalSource, OtherNamesArePlaylistsOnlyByTheirContent)
{
    const struct
    {
        const char* name;
        QByteArray content;
        bool isPlaylist;
        int items;
    } cases[] = {
        {"list.txt", "#EXTM3U\na.mp3\nb.mp3\n", true, 2},
        {"list.txt", le("#EXTM3U\r\na.mp3\r\n"), true, 1},
        {"list", "\xEF\xBB\xBF  [Playlist]\nFile1=a.mp3\n", true, 1},
        {"list.xml",
         "<?xml version=\"1.0\"?>\n<smil><body><seq><media src=\"a.mp3\"/></seq></body>"
         "</smil>",
         true, 1},
        {"list.dat", "<?wpl version=\"1.0\"?><smil><body><seq></seq></body></smil>", true, 0},
        {"list.txt", "a.mp3\nb.mp3\n", false, 0},
        {"song.mp3", raw("ID3\x04\x00\x00\x00\x00\x00\x00\xff\xfb\x90\x00"), false, 0},
        {"song.ogg", "OggS\x00\x02", false, 0},
        {"empty.txt", "", false, 0},
        // The name decides for the playlist names, whatever is inside.
        {"list.m3u", "a.mp3\n", true, 1},
        {"broken.wpl", raw("\x00\x01"), true, 0},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromUtf8(c.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.content);
        file.close();
        const zelk::LocalSource source = zelk::readLocalSource(path);
        EXPECT_EQ(source.isPlaylist, c.isPlaylist) << c.name << ": " << c.content.constData();
        EXPECT_EQ(source.items.size(), c.items) << c.name << ": " << c.content.constData();
    }
    EXPECT_FALSE(zelk::readLocalSource(dir.filePath(QStringLiteral("missing.txt"))).isPlaylist);
    EXPECT_TRUE(zelk::readLocalSource(dir.filePath(QStringLiteral("missing.wpl"))).isPlaylist);
}

} // namespace
