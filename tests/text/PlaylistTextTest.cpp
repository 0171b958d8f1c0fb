#include "text/PlaylistText.h"
#include "text/Windows1252.h"

#include "support/FuzzSeeds.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace tarl {
namespace {

QStringList Lines(std::initializer_list<const char16_t*> lines) {
    QStringList list;
    for (const char16_t* line : lines)
        list.append(QString::fromUtf16(line));
    return list;
}

TEST(PlaylistText, EveryLineEndEndsALine) {
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"empty", "", {}},
        {"crlf", "a\r\nb\r\n", Lines({u"a", u"b"})},
        {"lf", "a\nb\n", Lines({u"a", u"b"})},
        {"cr", "a\rb\r", Lines({u"a", u"b"})},
        {"mixed", "a\r\nb\nc\rd", Lines({u"a", u"b", u"c", u"d"})},
        {"no-final-end", "a\r\nb", Lines({u"a", u"b"})},
        {"lone-end", "\n", Lines({u""})},
        {"blank-lines-kept", "a\r\n\r\n\nb", Lines({u"a", u"", u"", u"b"})},
        // LF then CR are two ends, not one pair.
        {"lf-cr", "a\n\rb", Lines({u"a", u"", u"b"})},
        {"cr-cr-lf", "a\r\r\nb", Lines({u"a", u"", u"b"})},
        {"extended-m3u", "#EXTM3U\r\n#EXTINF:1,x\r\nx.mp3",
         Lines({u"#EXTM3U", u"#EXTINF:1,x", u"x.mp3"})},
        {"nul-bytes-stay", QByteArray("a\0b\nc", 5), {QString("a") + QChar(0) + "b", "c"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaylistLines(c.bytes), c.lines) << c.name;
        test::SaveFuzzSeed("playlist", QStringLiteral("lines-%1.m3u").arg(c.name), c.bytes);
    }
}

TEST(PlaylistText, EncodingFollowsTheBytes) {
    const struct {
        const char* name;
        QByteArray bytes;
        bool alwaysUtf8;
        QStringList lines;
    } cases[] = {
        {"utf8", "/m\xC3\xBAsica/\xC3\xA9t\xC3\xA9.mp3", false, Lines({u"/música/été.mp3"})},
        {"utf8-bom", "\xEF\xBB\xBF/a.mp3\r\n", false, Lines({u"/a.mp3"})},
        {"bom-only", "\xEF\xBB\xBF", false, {}},
        {"cp1252", "/m\xFAsica/\xE9t\xE9.mp3", false, Lines({u"/música/été.mp3"})},
        {"cp1252-high", "\x80\x8A\x93x\x94\x99\x9F", false, Lines({u"€Š“x”™Ÿ"})},
        {"cp1252-undefined", "\x81\x8D\x8F\x90\x9D", false,
         Lines({u"\u0081\u008D\u008F\u0090\u009D"})},
        // One bad sequence makes the whole file Windows-1252.
        {"mixed-falls-back", "\xC3\xA9\n\xE9", false, Lines({u"Ã©", u"é"})},
        {"overlong", "\xC0\xAF", false, Lines({u"À¯"})},
        {"surrogate-in-utf8", "\xED\xA0\x80", false, Lines({u"í\u00A0€"})},
        {"cut-at-end", "ok\xE2\x82", false, Lines({u"ok\u00E2\u201A"})},
        {"bom-then-invalid", "\xEF\xBB\xBF\xE9", false, Lines({u"é"})},
        {"m3u8-invalid", "a\xE9z", true, Lines({u"a\uFFFDz"})},
        {"utf16le", QByteArray("\xFF\xFE/\0\xE9\0\r\0\n\0b\0", 12), false, Lines({u"/é", u"b"})},
        {"utf16be", QByteArray("\xFE\xFF\0/\0\xE9\0\r\0b", 10), false, Lines({u"/é", u"b"})},
        {"utf16-odd-length",
         QByteArray("\xFF\xFE"
                    "a\0b",
                    5),
         false, Lines({u"a\uFFFD"})},
        {"utf16-lone-surrogate",
         QByteArray("\xFF\xFE\x00\xD8"
                    "a\0",
                    6),
         false, Lines({u"\uFFFDa"})},
    };
    for (const auto& c : cases) {
        const QStringList lines = PlaylistLines(c.bytes, c.alwaysUtf8);
        EXPECT_EQ(lines, c.lines) << c.name;
        for (const QString& line : lines)
            EXPECT_TRUE(QStringView(line).isValidUtf16()) << c.name;
        test::SaveFuzzSeed("playlist", QStringLiteral("encoding-%1.m3u").arg(c.name), c.bytes);
    }
}

// An independent check of the hand-written table, where Qt was built with a converter for it.
TEST(PlaylistText, Windows1252TableMatchesTheSystemConverter) {
    QStringDecoder system("windows-1252");
    if (!system.isValid())
        GTEST_SKIP() << "no windows-1252 converter in this Qt";
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            continue; // undefined in the code page; converters disagree
        const QByteArray one(1, char(byte));
        EXPECT_EQ(DecodeWindows1252(one), QString(system(one))) << "byte " << byte;
    }
}

TEST(PlaylistText, ReadsFilesByTheirName) {
    test::TempDir dir;
    const QByteArray latin = "/m\xFAsica/a.mp3\r\n";
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"list.m3u", latin, Lines({u"/música/a.mp3"})},
        {"list.m3u8", latin, Lines({u"/m\uFFFDsica/a.mp3"})},
        {"LIST.M3U8", latin, Lines({u"/m\uFFFDsica/a.mp3"})},
        {"empty.m3u", "", {}},
    };
    for (const auto& c : cases) {
        const Result<QStringList> read = ReadPlaylistFile(dir.write(c.name, c.bytes));
        EXPECT_TRUE(read.ok) << c.name;
        EXPECT_EQ(read.value, c.lines) << c.name;
        EXPECT_EQ(read.error, "") << c.name;
    }
}

TEST(PlaylistText, UnreadableFilesFailWithAReason) {
    test::TempDir dir;
    dir.write("folder.m3u/inside", "x");
    // Sparse: one byte over the limit costs no disc space.
    const QString huge = dir.write("huge.m3u", "");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(kMaxPlaylistBytes + 1));
    }
    const QString many = dir.write("many.m3u", QByteArray(kMaxPlaylistLines + 1, '\n'));
    const struct {
        const char* name;
        QString file;
        qsizetype linesKept;
    } cases[] = {
        {"missing", dir.file("missing.m3u"), 0},
        {"folder", dir.file("folder.m3u"), 0},
        {"device", "/dev/zero", 0},
        {"too-large", huge, 0},
        {"too-many-lines", many, kMaxPlaylistLines},
    };
    for (const auto& c : cases) {
        const Result<QStringList> read = ReadPlaylistFile(c.file);
        EXPECT_FALSE(read.ok) << c.name;
        EXPECT_TRUE(read.error.contains(c.file)) << c.name << ": " << read.error.toStdString();
        EXPECT_EQ(read.value.size(), c.linesKept) << c.name;
    }
}

TEST(PlaylistText, HugeLinesStayBounded) {
    QByteArray longLine(10 * 1024 * 1024, 'a');
    longLine += "\r\nb.mp3";
    const QStringList lines = PlaylistLines(longLine);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), 10 * 1024 * 1024);
    EXPECT_EQ(lines[1], "b.mp3");

    // Line ends only: the line limit holds, each line an empty text.
    EXPECT_EQ(PlaylistLines(QByteArray(kMaxPlaylistLines + 10, '\r')).size(), kMaxPlaylistLines);
}

TEST(PlaylistText, CommentAndBlankLinesAreNeverEntries) {
    const struct {
        QString line;
        bool entry;
    } cases[] = {
        {"a.mp3", true},
        {"/music/a.mp3", true},
        {" a.mp3", true},
        {"#EXTM3U", false},
        {"#EXTINF:123,Artist - Title", false},
        {"#", false},
        {"  #indented comment", false},
        {"", false},
        {"   ", false},
        {"\t", false},
        {"a#b.mp3", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPlaylistEntry(c.line), c.entry) << c.line.toStdString();

    // The last line is a comment like any other.
    EXPECT_EQ(PlaylistEntries({"#EXTM3U", "a.mp3", "", "#EXTINF:1,b", "b.mp3", "#last"}),
              QStringList({"a.mp3", "b.mp3"}));
    EXPECT_EQ(PlaylistEntries({"#EXTM3U", "#only comments"}), QStringList());
}

TEST(PlaylistText, EntriesResolveAgainstThePlaylistFolder) {
    const struct {
        QString entry;
        QString playlistFolder;
        QString folder;
        QString file;
    } cases[] = {
        // Relative, as Windows and Linux write them.
        {"a.mp3", "/music/", "/music/", "a.mp3"},
        {"rock\\a.mp3", "/music/", "/music/rock/", "a.mp3"},
        {"rock\\live\\a.mp3", "/music/", "/music/rock/live/", "a.mp3"},
        {"\\a.mp3", "/music/", "/music/", "a.mp3"},
        {"\\rock\\a.mp3", "/music/", "/music/rock/", "a.mp3"},
        {"a.mp3", "/music", "/music/", "a.mp3"},
        {"..\\pop\\b.mp3", "/music/rock/", "/music/pop/", "b.mp3"},
        {"./a.mp3", "/music/", "/music/", "a.mp3"},
        {"rock//./a.mp3", "/music/", "/music/rock/", "a.mp3"},
        {"../../../../a.mp3", "/music/", "/", "a.mp3"},
        {"rock\\", "/music/", "/music/rock/", ""},
        // Absolute here.
        {"/data/a.mp3", "/music/", "/data/", "a.mp3"},
        {"/data/../a.mp3", "/music/", "/", "a.mp3"},
        {"//data//a.mp3", "/music/", "/data/", "a.mp3"},
        // Windows drives and shares name no file here: kept, never joined.
        {"C:\\music\\a.mp3", "/music/", "C:/music/", "a.mp3"},
        {"C:\\", "/music/", "C:/", ""},
        {"\\\\server\\share\\a.mp3", "/music/", "//server/share/", "a.mp3"},
        // URLs.
        {"file:///music/a%20b.mp3", "/x/", "/music/", "a b.mp3"},
        {"file:///C:/Music/a.mp3", "/x/", "C:/Music/", "a.mp3"},
        {"http://radio.example/live/stream", "/x/", "http://radio.example/live/", "stream"},
        // Blanks around the entry are dropped; those inside stay.
        {"  rock\\a b.mp3 \t", "/music/", "/music/rock/", "a b.mp3"},
        // Names with quotes, commas and a drive-like start that is no drive.
        {"My, music\\it's \"x\".mp3", "/m/", "/m/My, music/", "it's \"x\".mp3"},
        {"C:a.mp3", "/m/", "/m/", "C:a.mp3"},
        // No playlist folder: relative results.
        {"rock\\live\\a.mp3", "", "rock/live/", "a.mp3"},
        {"a.mp3", "", "", "a.mp3"},
        {"\\rock\\a.mp3", "", "rock/", "a.mp3"},
        {"../x/a.mp3", "", "../x/", "a.mp3"},
        {"rock/../a.mp3", "", "", "a.mp3"},
    };
    for (const auto& c : cases) {
        QString folder = "unset";
        QString file = "unset";
        SplitPlaylistEntry(c.entry, c.playlistFolder, &folder, &file);
        EXPECT_EQ(folder, c.folder)
            << c.entry.toStdString() << " in " << c.playlistFolder.toStdString();
        EXPECT_EQ(file, c.file) << c.entry.toStdString() << " in "
                                << c.playlistFolder.toStdString();
    }
}

TEST(PlaylistText, BlanksStayWhenTheFileWithThemExists) {
    test::TempDir dir;
    dir.write(" intro.mp3", "x");
    dir.write("sub/outro.mp3 ", "x");
    dir.write("plain.mp3", "x");
    const QString music = dir.path() + '/';
    const struct {
        QString entry;
        QString playlistFolder;
        QString folder;
        QString file;
    } cases[] = {
        {" intro.mp3", music, music, " intro.mp3"},
        {"sub\\outro.mp3 ", music, music + "sub/", "outro.mp3 "},
        {music + " intro.mp3", "/elsewhere/", music, " intro.mp3"},
        // The untrimmed path does not exist: the blanks go.
        {" plain.mp3\t", music, music, "plain.mp3"},
        {"  missing.mp3 ", music, music, "missing.mp3"},
        // A relative entry without the playlist's folder cannot be looked up.
        {" intro.mp3", "", "", "intro.mp3"},
    };
    for (const auto& c : cases) {
        QString folder;
        QString file;
        SplitPlaylistEntry(c.entry, c.playlistFolder, &folder, &file);
        EXPECT_EQ(folder, c.folder) << c.entry.toStdString();
        EXPECT_EQ(file, c.file) << c.entry.toStdString();
    }
}

TEST(PlaylistText, FileUrlsDecodeToLocalPaths) {
    const struct {
        QString url;
        QString path;
    } cases[] = {
        {"file:///music/a%20b.mp3", "/music/a b.mp3"},
        {"FILE:///Music/A.mp3", "/Music/A.mp3"},
        {"file://localhost/music/a.mp3", "/music/a.mp3"},
        {"file://server/share/a.mp3", "//server/share/a.mp3"},
        {"file:///m%C3%BAsica/%E2%82%AC.mp3", "/música/€.mp3"},
        {"file:///m/%41%2f%zz%4", "/m/A/%zz%4"},
        {"file:///m/%FF.mp3", "/m/\uFFFD.mp3"},
        {"file:/music/a.mp3", ""},
        {"http://host/a.mp3", ""},
        {"/music/a.mp3", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUrlPath(c.url), c.path) << c.url.toStdString();
}

TEST(PlaylistText, FileUrlsRoundTripEveryPath) {
    const QString paths[] = {
        "/music/a b.mp3",
        "/m/a\nb\r\t %#?&=+;,'\"\\.mp3",
        "/música/été €.mp3",
        QString("/m/") + QChar(0xFFFF) + QChar(0xFDD0) + ".mp3", // noncharacters
        "/m/\U0001F3B5.mp3",
        "//server/share/a.mp3",
        "///x",
        "/x/../y/./z",
    };
    for (const QString& path : paths) {
        const QString url = FileUrlOf(path);
        for (const QChar c : url)
            EXPECT_TRUE(c.unicode() > 0x20 && c.unicode() < 0x7F) << url.toStdString();
        EXPECT_EQ(FileUrlPath(url), path) << url.toStdString();
    }
}

} // namespace
} // namespace tarl
