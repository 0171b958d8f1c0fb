#include "scan/PlaylistFile.h"

#include "support/FuzzSeeds.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(ScanPlaylistFile, FirstEntryFolderReadsTheFirstEntry) {
    const struct {
        const char* name;
        QByteArray bytes;
        QString folder;
    } cases[] = {
        {"extended", "#EXTM3U\r\n#EXTINF:215,A - B\r\nrock\\a.mp3\r\npop\\b.mp3\r\n", "rock/"},
        {"subfolders", "rock\\live\\a.mp3\r\n", "rock/live/"},
        {"own-folder", "a.mp3\r\nrock\\b.mp3\r\n", ""},
        {"leading-backslash", "\\rock\\a.mp3\r\n", "rock/"},
        // The whole line counts: a comma does not end the entry.
        {"comma", "/My, music/a.mp3\r\n", "/My, music/"},
        {"quoted", "\"rock\\a.mp3\"\r\n", "\"rock/"},
        // Comment lines are never entries, the last one included.
        {"only-comments", "#EXTM3U\r\n#EXTINF:215,A - B\r\n", ""},
        {"comment-last-no-end", "#EXTM3U\r\n#rock\\a.mp3", ""},
        {"blank-lines-first", "\r\n   \r\nrock\\a.mp3", "rock/"},
        // The text rules of every playlist: BOM, CR line ends, Windows-1252.
        {"cr-only", "\xEF\xBB\xBF#EXTM3U\rrock\\a.mp3\rpop\\b.mp3", "rock/"},
        {"cp1252", "m\xFAsica\\a.mp3\r\n", "música/"},
        {"empty", "", ""},
        {"windows-drive", "C:\\music\\a.mp3\r\n", "C:/music/"},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        test::SaveFuzzSeed("playlist", QStringLiteral("first-entry-%1.m3u").arg(c.name), c.bytes);
        const Result<QString> first =
            FirstEntryFolder(dir.write(QStringLiteral("%1.m3u").arg(c.name), c.bytes));
        EXPECT_TRUE(first) << c.name;
        EXPECT_EQ(first.value, c.folder) << c.name;
        EXPECT_EQ(first.error, "") << c.name;
    }
}

TEST(ScanPlaylistFile, FirstEntryFolderReportsAnUnreadableFile) {
    test::TempDir dir;
    dir.write("folder.m3u/a.mp3", "");
    const QString cases[] = {dir.file("missing.m3u"), dir.file("folder.m3u")};
    for (const QString& path : cases) {
        const Result<QString> first = FirstEntryFolder(path);
        EXPECT_FALSE(first);
        EXPECT_EQ(first.value, "");
        EXPECT_EQ(first.error, "Error reading file: " + path);
    }
}

TEST(ScanPlaylistFile, FirstEntryFolderSurvivesHostileFiles) {
    test::TempDir dir;
    QByteArray longLine(10 * 1024 * 1024, 'x');
    longLine.insert(5, "\\");
    const char nulBytes[] = "#\0\0\r\n\0rock\\\0a.mp3\r\n";
    const QByteArray nuls(nulBytes, sizeof nulBytes - 1);
    const struct {
        const char* name;
        QByteArray bytes;
        QString folder;
    } cases[] = {
        {"long-line.m3u", longLine, "xxxxx/"},
        {"nuls.m3u", nuls, QString(QChar(0)) + "rock/"},
        {"newline-names.m3u", "#\r\n\"a\r\nb\".mp3", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstEntryFolder(dir.write(c.name, c.bytes)).value, c.folder) << c.name;
    }
}

} // namespace
} // namespace tarl
