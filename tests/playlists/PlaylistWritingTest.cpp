#include "playlists/PlaylistWriting.h"
#include "playlists/PlaylistSettings.h"
#include "state/Settings.h"
#include "text/PlaylistText.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// The track an entry names once read back by the rules every reader of playlists shares.
QString ReadBack(const QString& entry, const QString& playlistFolder) {
    if (!IsPlaylistEntry(entry))
        return QStringLiteral("(a comment: %1)").arg(entry);
    QString folder, file;
    SplitPlaylistEntry(entry, playlistFolder, &folder, &file);
    return folder + file;
}

TEST(PlaylistEntries, AreRelativeAndReadBackAsTheTrackWhateverItsName) {
    const QString lists = QStringLiteral("/home/ann/Music/Playlists/");
    const struct {
        const char* layout;
        QString track;
        QString entry; // "" for a "file://" URL
    } cases[] = {
        {"same folder", lists + "a.mp3", "a.mp3"},
        {"deeper", lists + "live/2001/a.mp3", "live/2001/a.mp3"},
        {"sibling", "/home/ann/Music/Rock/a.mp3", "../Rock/a.mp3"},
        {"another disc", "/media/cd/Album/01.flac", "../../../../media/cd/Album/01.flac"},
        {"a shared start of a name", "/home/ann/Music/Playlists2/a.mp3", "../Playlists2/a.mp3"},
        {"non-ASCII", "/home/ann/Music/Økland/Café ½.mp3", "../Økland/Café ½.mp3"},
        {"# at the start", lists + "#1 hits/a.mp3", "./#1 hits/a.mp3"},
        {"# at the start of a sibling", "/home/ann/Music/#rare.mp3", "../#rare.mp3"},
        {"# in the middle", lists + "b#1.mp3", "b#1.mp3"},
        {"blank at the start", lists + " intro.mp3", "./ intro.mp3"},
        {"a drive's look", lists + "C:/a.mp3", "./C:/a.mp3"},
        {"an address's look", lists + "http:/a.mp3", "./http:/a.mp3"},
        {"blank at the end", lists + "outro.mp3 ", ""},
        {"line break", lists + "a\nb.mp3", ""},
        {"backslash", lists + "AC\\DC.mp3", ""},
    };
    for (const auto& c : cases) {
        const QString entry = PlaylistEntryFor(c.track, lists);
        const QString expected = c.entry.isEmpty() ? FileUrlOf(c.track) : c.entry;
        EXPECT_EQ(entry, expected) << c.layout;
        EXPECT_EQ(ReadBack(entry, lists), c.track) << c.layout;
    }
}

TEST(PlaylistEntries, ExtinfLinesCarryWhatIsKnown) {
    const struct {
        PlaylistTrack track;
        QString line;
    } cases[] = {
        {{"/m/a.mp3", "Artist", "Title", 61}, "#EXTINF:61,Artist - Title"},
        {{"/m/a.mp3", "", "Title", 0}, "#EXTINF:-1,Title"},
        {{"/m/a.mp3", "Artist", "", 5}, "#EXTINF:5,Artist"},
        {{"/m/a.mp3", "", "", 200}, ""},
        {{"/m/a.mp3", "A\nB", "T\r\n", 1}, "#EXTINF:1,A B - T"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtinfLine(c.track), c.line) << c.line.toStdString();
}

TEST(PlaylistNames, OnlyPlainFileNamesAreTaken) {
    const struct {
        QString typed;
        QString file; // "" when refused
    } cases[] = {
        {"Road trip", "Road trip.m3u8"},
        {"  Mix  ", "Mix.m3u8"},
        {"Mix.M3U8", "Mix.M3U8"},
        {"Mix.m3u", "Mix.m3u.m3u8"},
        {"Ça & ça", "Ça & ça.m3u8"},
        {".hidden", ".hidden.m3u8"},
        {"", ""},
        {"   ", ""},
        {".", ""},
        {"..", ""},
        {"...", ""},
        {"a/b", ""},
        {"../up", ""},
        {"/etc/passwd", ""},
        {"a\\b", ""},
        {"two\nlines", ""},
        {"tab\there", ""},
        {QString(300, u'x'), ""},
    };
    for (const auto& c : cases) {
        const Result<QString> name = PlaylistFileName(c.typed);
        EXPECT_EQ(name.ok, !c.file.isEmpty()) << c.typed.toStdString();
        EXPECT_EQ(name.value, c.file) << c.typed.toStdString();
        EXPECT_EQ(name.error.isEmpty(), name.ok);
    }
}

TEST(PlaylistFiles, AppendingKeepsTheOldLinesAndAddsTheNewEntries) {
    test::TempDir dir;
    const QString path = dir.file("Mix.m3u8");
    const QString folder = dir.path() + u'/';
    ASSERT_TRUE(WritePlaylist(path, {{folder + "a.mp3", "Ann", "Song A", 61}}, true));
    EXPECT_EQ(dir.read("Mix.m3u8"), "#EXTM3U\n#EXTINF:61,Ann - Song A\na.mp3\n");

    // Another program's lines stay as they were, its comments and Windows entries among them.
    dir.write("Other.m3u8", "#EXTM3U\r\n# mine\r\nold\\b.mp3\r\n");
    ASSERT_TRUE(WritePlaylist(dir.file("Other.m3u8"), {{folder + "c d.mp3", "", "", 0}}, true));
    EXPECT_EQ(dir.read("Other.m3u8"), "#EXTM3U\n# mine\nold\\b.mp3\nc d.mp3\n");

    // A list without a header gets one; a new list replaces what was there.
    dir.write("Bare.m3u8", "x.mp3\n");
    ASSERT_TRUE(WritePlaylist(dir.file("Bare.m3u8"), {{folder + "y.mp3", "", "", 0}}, true));
    EXPECT_EQ(dir.read("Bare.m3u8"), "#EXTM3U\nx.mp3\ny.mp3\n");
    ASSERT_TRUE(WritePlaylist(dir.file("Bare.m3u8"), {{folder + "z.mp3", "", "", 0}}, false));
    EXPECT_EQ(dir.read("Bare.m3u8"), "#EXTM3U\nz.mp3\n");

    // What cannot be read is never replaced.
    QDir().mkpath(dir.file("Folder.m3u8"));
    EXPECT_FALSE(WritePlaylist(dir.file("Folder.m3u8"), {{folder + "z.mp3", "", "", 0}}, true));
}

TEST(PlaylistSettingsFile, TheRecentOnesAreNewestFirstEightAtMostAndPlain) {
    test::TempDir dir;
    test::TestServices services;
    Settings settings(services.profile);
    settings.setPath(dir.file("tarl.ini"));
    EXPECT_EQ(PlaylistsFolder(settings), "");
    SetPlaylistsFolder(settings, dir.path());
    EXPECT_EQ(PlaylistsFolder(settings), dir.path() + u'/');

    for (int i = 1; i <= 10; ++i)
        RememberPlaylist(settings, QStringLiteral("L%1.m3u8").arg(i));
    RememberPlaylist(settings, "L5.m3u8");
    EXPECT_EQ(RecentPlaylists(settings), QStringList({"L5.m3u8", "L10.m3u8", "L9.m3u8", "L8.m3u8",
                                                      "L7.m3u8", "L6.m3u8", "L4.m3u8", "L3.m3u8"}));
    // A hand-edited name leading out of the folder is passed over.
    settings.write(keys::Playlists, "Recent2", "../../.bashrc");
    EXPECT_EQ(RecentPlaylists(settings).size(), 7);
    EXPECT_FALSE(RecentPlaylists(settings).contains("../../.bashrc"));
}

} // namespace
} // namespace tarl
