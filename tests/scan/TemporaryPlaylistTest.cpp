#include "scan/TemporaryPlaylist.h"

#include "support/FuzzSeeds.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace tarl {
namespace {

QStringList FilesIn(const test::TempDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

TEST(ScanTemporaryPlaylist, WritesUtf8LinesEndedByCrLf) {
    const QString nul = QString("/m/a") + QChar(0) + "b.mp3";
    const struct {
        const char* name;
        QStringList paths;
        QByteArray bytes;
        int written;
    } cases[] = {
        {"none", {}, "", 0},
        {"plain",
         {"/music/rock/a.mp3", "/música/été.mp3"},
         "/music/rock/a.mp3\r\n/m\xC3\xBAsica/\xC3\xA9t\xC3\xA9.mp3\r\n",
         2},
        {"kept-as-written",
         {"/m/100% it's \"x\", #1.mp3", "/m/back\\slash.mp3", "/m/ lead.mp3"},
         "/m/100% it's \"x\", #1.mp3\r\n/m/back\\slash.mp3\r\n/m/ lead.mp3\r\n",
         3},
        // The player would split these lines or strip their blanks: URLs it decodes.
        {"as-urls",
         {"/m/a\nb.mp3", "/m/c\rd.mp3", "/m/trail.mp3 ", "/m/\xC3\xA9\t"},
         "file:///m/a%0Ab.mp3\r\nfile:///m/c%0Dd.mp3\r\nfile:///m/trail.mp3%20\r\n"
         "file:///m/%C3%A9%09\r\n",
         4},
        // No line can stand for these; the others keep their order.
        {"left-out",
         {"", "/m/a.mp3", nul, "#rel.mp3", " rel.mp3", "file:rel", "C:/music/a.mp3", "/m/b.mp3"},
         "/m/a.mp3\r\n/m/b.mp3\r\n",
         2},
    };
    test::TempDir dir;
    const QString path = dir.file("m3uTmp.m3u");
    for (const auto& c : cases) {
        const Result<int> written = WriteTemporaryPlaylist(path, c.paths);
        ASSERT_TRUE(written) << c.name << ": " << written.error.toStdString();
        EXPECT_EQ(dir.read("m3uTmp.m3u"), c.bytes) << c.name;
        EXPECT_EQ(written.value, c.written) << c.name;
        test::SaveFuzzSeed("playlist", QStringLiteral("tmp-%1.m3u").arg(c.name), c.bytes);
    }
}

// Rows of a catalog as the player would get them: only local files reach the temporary
// playlist, a list among them gives its own tracks, and what was left out is said.
TEST(ScanTemporaryPlaylist, HoldsOnlyLocalFilesWhateverTheRowsName) {
    test::TempDir dir;
    const QString good = dir.write("music/01.mp3", "x");
    const QString other = dir.write("music/02.mp3", "x");
    const QString inner = dir.write("music/inner.m3u", "a.mp3\r\nhttp://127.0.0.1:8765/y.mp3\r\n"
                                                       "deeper.m3u\r\nb.mp3\r\n");
    dir.write("music/a.mp3", "x");
    dir.write("music/b.mp3", "x");
    dir.write("music/deeper.m3u", "02.mp3\r\n");
    const QString folder = dir.file("music/sub");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString missing = dir.file("music/out on a disc.mp3");
    const struct {
        QString row;
        QStringList lines;
    } cases[] = {
        {"http://127.0.0.1:8765/x.mp3", {}},
        {"edl://%10%" + good, {}},
        {"memory://#EXTM3U", {}},
        {"slice://0-10@" + good, {}},
        {"appending://" + good, {}},
        {"mf://" + dir.file("music/*.mp3"), {}},
        {"file://" + good, {}},
        {"01.mp3", {}},
        {"-opt.mp3", {}},
        {folder, {}},
        {folder + u'/', {}},
        {"/dev/null", {}},
        {dir.file("music/nothing.m3u"), {}},
        {inner, {dir.file("music/a.mp3"), dir.file("music/b.mp3")}},
        {missing, {missing}},
        {good, {good}},
    };
    for (const auto& c : cases) {
        const PlayerTracks fit = TracksForThePlayer({c.row, other});
        EXPECT_EQ(fit.tracks, c.lines + QStringList{other}) << c.row.toStdString();
        const QString path = dir.file("m3uTmp.m3u");
        const Result<WrittenPlaylist> written = WriteTracksForThePlayer(path, {c.row, other});
        ASSERT_TRUE(written) << c.row.toStdString();
        EXPECT_EQ(ReadTemporaryPlaylist(path), c.lines + QStringList{other}) << c.row.toStdString();
        // Left out: the row itself, or the nested list's URL and its list.
        const bool whole = c.row == good;
        EXPECT_EQ(written.value.leftOut.isEmpty(), whole) << c.row.toStdString();
        if (!whole && c.row != inner) {
            EXPECT_TRUE(written.value.leftOut.startsWith(c.row)) << c.row.toStdString();
        }
    }
    EXPECT_EQ(LeftOutSentence({"a", "b", "c"}),
              "a and 2 more were left out of the play: they are not tracks on this computer.");
    EXPECT_EQ(MissingSentence({"a", "b"}), "a and 1 more are missing: the player skips them.");
    // Nothing playable: the list in place stays.
    const QString path = dir.file("m3uTmp.m3u");
    const QByteArray before = dir.read("m3uTmp.m3u");
    const Result<WrittenPlaylist> none = WriteTracksForThePlayer(path, {"http://x/a.mp3", folder});
    EXPECT_FALSE(none);
    EXPECT_EQ(none.error, "Nothing to play: http://x/a.mp3 and 1 more were left out of the play: "
                          "they are not tracks on this computer.");
    EXPECT_EQ(dir.read("m3uTmp.m3u"), before);
}

TEST(ScanTemporaryPlaylist, ReadsBackWhatItWrote) {
    const QStringList paths = {
        "/music/rock/a.mp3",
        "/música/été €.mp3",
        "/m/a\nb.mp3",
        "/m/a\r\nb.mp3",
        "/m/trail.mp3  ",
        "/m/%41.mp3",
        "/m/file:x.mp3",
        "/m/#1.mp3",
        "/m/back\\slash.mp3",
        "/m/\u00A0nbsp.mp3",
        "/m/\U0001F3B5.mp3",
        "/m/a?b&c=d.mp3",
        QString("/m/") + QChar(0xFFFF) + "\n.mp3",
        "//server/x\n.mp3",
    };
    test::TempDir dir;
    const QString path = dir.file("m3uTmp.m3u");
    ASSERT_TRUE(WriteTemporaryPlaylist(path, paths));
    EXPECT_EQ(ReadTemporaryPlaylist(path), paths);
    for (int n = 0; n < paths.size(); ++n) {
        int count = -1;
        EXPECT_EQ(TemporaryPlaylistEntry(path, n, &count), paths[n]) << n;
        EXPECT_EQ(count, paths.size());
    }
    test::SaveFuzzSeed("playlist", "tmp-round-trip.m3u", dir.read("m3uTmp.m3u"));
}

TEST(ScanTemporaryPlaylist, TemporaryPlaylistEntryCountsTheLines) {
    test::TempDir dir;
    const QString three = dir.write("three.m3u", "/m/a.mp3\r\n/m/b.mp3\r\n/m/c.mp3\r\n");
    // Edited by hand or written elsewhere: the lines the player takes as entries.
    const QString edited =
        dir.write("edited.m3u", "\xEF\xBB\xBF#EXTM3U\n\n  /m/\xE9.mp3 \r#comment\r/m/b.mp3");
    const QString empty = dir.write("empty.m3u", "");
    const struct {
        const char* name;
        QString file;
        int n;
        QString line;
        int count;
    } cases[] = {
        {"first", three, 0, "/m/a.mp3", 3},
        {"last", three, 2, "/m/c.mp3", 3},
        {"past-the-end", three, 3, "", 3},
        {"negative", three, -1, "", 3},
        {"edited-first", edited, 0, "/m/é.mp3", 2},
        {"edited-second", edited, 1, "/m/b.mp3", 2},
        {"empty", empty, 0, "", 0},
        {"missing", dir.file("missing.m3u"), 0, "", 0},
        {"folder", dir.path(), 0, "", 0},
    };
    for (const auto& c : cases) {
        int count = -1;
        EXPECT_EQ(TemporaryPlaylistEntry(c.file, c.n, &count), c.line) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
    }
}

TEST(ScanTemporaryPlaylist, ExistLineInFileFindsTheLastLineWithTheWholePath) {
    test::TempDir dir;
    const QString path = dir.file("m3uTmp.m3u");
    ASSERT_TRUE(
        WriteTemporaryPlaylist(path, {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/n/B.mp3", "/n/b.mp3",
                                      "/m/x\ny.mp3", "/m/d e.mp3", "/m/b.mp3"}));
    const struct {
        QString track;
        int line;
    } cases[] = {
        {"/m/b.mp3", 8},     // on lines 2 and 8
        {"/n/b.mp3", 5},     // the same name in another folder is another track
        {"/n/B.mp3", 4},     // case counts
        {"/M/A.MP3", 0},     // differs only in case
        {"/m/a.mp3", 1},     //
        {"a.mp3", 0},        // a file name alone is no track
        {"/m/", 0},          // nor is a folder
        {"", 0},             //
        {"/m/x\ny.mp3", 6},  // written as a URL, found by its path
        {"/m/d e.mp3", 7},   //
        {"/m/d%20e.mp3", 0}, //
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemporaryPlaylistLineOf(path, c.track), c.line) << c.track.toStdString();
    EXPECT_EQ(TemporaryPlaylistLineOf(dir.file("missing.m3u"), "/m/a.mp3"), 0);
}

TEST(ScanTemporaryPlaylist, ReplacesTheFileAtomically) {
    test::TempDir dir;
    const QString path = dir.file("m3uTmp.m3u");
    ASSERT_TRUE(WriteTemporaryPlaylist(path, {"/m/old.mp3"}));
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));

    ASSERT_TRUE(WriteTemporaryPlaylist(path, {"/m/new.mp3"}));
    // A new file took the name; the one already open is untouched.
    EXPECT_EQ(before.readAll(), "/m/old.mp3\r\n");
    EXPECT_EQ(dir.read("m3uTmp.m3u"), "/m/new.mp3\r\n");
    EXPECT_EQ(FilesIn(dir), QStringList({"m3uTmp.m3u"}));
}

TEST(ScanTemporaryPlaylist, AFailedWriteKeepsThePreviousPlaylist) {
    test::TempDir dir;
    const QString path = dir.file("m3uTmp.m3u");
    ASSERT_TRUE(WriteTemporaryPlaylist(path, {"/m/old.mp3"}));
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many.append(QStringLiteral("/music/track %1.mp3").arg(i));

    // A file size limit makes the write fail halfway, as a full disc would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Result<int> written = WriteTemporaryPlaylist(path, many);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(written);
    EXPECT_EQ(written.value, 0);
    EXPECT_TRUE(written.error.contains(path)) << written.error.toStdString();
    EXPECT_EQ(dir.read("m3uTmp.m3u"), "/m/old.mp3\r\n");
    EXPECT_EQ(FilesIn(dir), QStringList({"m3uTmp.m3u"}));
}

TEST(ScanTemporaryPlaylist, AMissingFolderFailsWithAReason) {
    test::TempDir dir;
    const QString path = dir.file("gone/m3uTmp.m3u");
    const Result<int> written = WriteTemporaryPlaylist(path, {"/m/a.mp3"});
    EXPECT_FALSE(written);
    EXPECT_TRUE(written.error.contains(path)) << written.error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace tarl
