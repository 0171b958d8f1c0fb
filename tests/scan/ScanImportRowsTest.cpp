// The rows an import writes from hostile names, checked byte for byte against a stored table.
#include "ScanImportFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::ScanImport;

// Every row of the import below, as the catalog stores it: "typeof:hex" of each column in turn,
// ids included. "{root}" stands for the bytes of the temporary folder's path.

// CD: id, name, m3us, label, isCd, labelcd.
const char* const kVolumes[] = {
    "integer:31 text:{root}63642F integer:32 text:4469736320274F27276E650AEFBFBDF09F8EB5 "
    "integer:31 text:566F6C2773202727F09F8EB5",
    "integer:32 text:{root}6D757369632F integer:37 text:454F46 integer:30 null:",
    "integer:33 text:{root} integer:31 text:454F46 integer:30 null:",
    "integer:34 text:{root}6C697374732F integer:33 text:454F46 integer:30 null:",
    "integer:35 text:{root}6D6F7265276C697374732F integer:31 text:454F46 integer:30 null:",
};

// M3u: id, path, file, cd_id, mp3s, nick.
const char* const kLists[] = {
    "integer:31 text:{root}63642F text:2E integer:31 integer:30 integer:30",
    "integer:32 text:{root}6D757369632F text:526F636B20276E2720526F6C6C2F integer:32 integer:30 "
    "integer:30",
    "integer:33 text:{root}6D757369632F text:612727622F integer:32 integer:30 integer:30",
    "integer:34 text:{root}6D757369632F text:74776F0A6C696E65732F integer:32 integer:30 integer:30",
    "integer:35 text:{root}6D757369632F text:6E756C integer:32 integer:30 integer:30",
    "integer:36 text:{root}6D757369632F text:6F6464EFBFBD2F integer:32 integer:30 integer:30",
    "integer:37 text:{root}6D757369632F text:6E6F7465F09F8EB52F integer:32 integer:30 integer:30",
    "integer:38 text:{root} text:6F746865722F integer:33 integer:30 integer:30",
    "integer:39 text:{root}6C697374732F text:697427732E6D3375 integer:34 integer:30 integer:30",
    "integer:3130 text:{root}6C697374732F text:74776F0A6C696E65732E6D3375 integer:34 integer:30 "
    "integer:30",
    "integer:3131 text:{root}6C697374732F text:F09F8EB52E6D3375 integer:34 integer:30 integer:30",
    "integer:3132 text:{root}6D6F7265276C697374732F text:782E6D3375 integer:35 integer:30 "
    "integer:30",
};

// Mp3: id, file, path, m3u_id, title, artist, album, year, genre, comments, size, time,
// rating.
const char* const kTracks[] = {
    "integer:31 text:6F6E27646973632E6D7033 text:{root}63642F integer:31 text:446973632773 text:20 "
    "text:20 text:20 text:20 text:20 text:38363162 null: null:",
    "integer:32 text:676F6E65EFBFBD2E6D7033 text:{root}63642F integer:31 text:20 text:20 text:20 "
    "text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:33 text:697427732E6D7033 text:{root}6D757369632F526F636B20276E2720526F6C6C2F "
    "integer:32 text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:34 text:27272E6D7033 text:{root}6D757369632F526F636B20276E2720526F6C6C2F integer:32 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:35 text:780A792E6D7033 text:{root}6D757369632F526F636B20276E2720526F6C6C2F integer:32 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:36 text:6E text:{root}6D757369632F526F636B20276E2720526F6C6C2F integer:32 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:37 text:6CEFBFBD2E6D7033 text:{root}6D757369632F526F636B20276E2720526F6C6C2F "
    "integer:32 text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:38 text:70F09F8EB52E6D7033 text:{root}6D757369632F526F636B20276E2720526F6C6C2F "
    "integer:32 text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:39 text:6D697373696E672E6D7033 text:{root}6D757369632F526F636B20276E2720526F6C6C2F "
    "integer:32 text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3130 text:697427732E6D7033 text:{root}6D757369632F612727622F integer:33 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3131 text:27272E6D7033 text:{root}6D757369632F612727622F integer:33 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3132 text:780A792E6D7033 text:{root}6D757369632F612727622F integer:33 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3133 text:6E text:{root}6D757369632F612727622F integer:33 text:20 text:20 text:20 "
    "text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3134 text:6CEFBFBD2E6D7033 text:{root}6D757369632F612727622F integer:33 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3135 text:70F09F8EB52E6D7033 text:{root}6D757369632F612727622F integer:33 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3136 text:6D697373696E672E6D7033 text:{root}6D757369632F612727622F integer:33 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3137 text:697427732E6D7033 text:{root}6D757369632F74776F0A6C696E65732F integer:34 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3138 text:27272E6D7033 text:{root}6D757369632F74776F0A6C696E65732F integer:34 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3139 text:780A792E6D7033 text:{root}6D757369632F74776F0A6C696E65732F integer:34 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3230 text:6E text:{root}6D757369632F74776F0A6C696E65732F integer:34 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3231 text:6CEFBFBD2E6D7033 text:{root}6D757369632F74776F0A6C696E65732F integer:34 "
    "text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3232 text:70F09F8EB52E6D7033 text:{root}6D757369632F74776F0A6C696E65732F integer:34 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3233 text:6D697373696E672E6D7033 text:{root}6D757369632F74776F0A6C696E65732F "
    "integer:34 text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3234 text:697427732E6D7033 text:{root}6D757369632F6E756C integer:35 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3235 text:27272E6D7033 text:{root}6D757369632F6E756C integer:35 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3236 text:780A792E6D7033 text:{root}6D757369632F6E756C integer:35 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3237 text:6E text:{root}6D757369632F6E756C integer:35 text:20 text:20 text:20 text:20 "
    "text:20 text:20 text:4E2F41 null: null:",
    "integer:3238 text:6CEFBFBD2E6D7033 text:{root}6D757369632F6E756C integer:35 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3239 text:70F09F8EB52E6D7033 text:{root}6D757369632F6E756C integer:35 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3330 text:6D697373696E672E6D7033 text:{root}6D757369632F6E756C integer:35 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3331 text:697427732E6D7033 text:{root}6D757369632F6F6464EFBFBD2F integer:36 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3332 text:27272E6D7033 text:{root}6D757369632F6F6464EFBFBD2F integer:36 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3333 text:780A792E6D7033 text:{root}6D757369632F6F6464EFBFBD2F integer:36 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3334 text:6E text:{root}6D757369632F6F6464EFBFBD2F integer:36 text:20 text:20 text:20 "
    "text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3335 text:6CEFBFBD2E6D7033 text:{root}6D757369632F6F6464EFBFBD2F integer:36 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3336 text:70F09F8EB52E6D7033 text:{root}6D757369632F6F6464EFBFBD2F integer:36 text:20 "
    "text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3337 text:6D697373696E672E6D7033 text:{root}6D757369632F6F6464EFBFBD2F integer:36 "
    "text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3338 text:697427732E6D7033 text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3339 text:27272E6D7033 text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3430 text:780A792E6D7033 text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3431 text:6E text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 text:20 text:20 "
    "text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3432 text:6CEFBFBD2E6D7033 text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 "
    "text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3433 text:70F09F8EB52E6D7033 text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 "
    "text:5427697427276C650AF09F8EB5 text:4F2742616E64 text:20 text:20 text:20 text:20 "
    "text:38393662 null: null:",
    "integer:3434 text:6D697373696E672E6D7033 text:{root}6D757369632F6E6F7465F09F8EB52F integer:37 "
    "text:20 text:20 text:20 text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3435 text:697427732E6D7033 text:{root}6F746865722F integer:38 text:20 text:20 text:20 "
    "text:20 text:20 text:20 text:4E2F41 null: null:",
    "integer:3436 text:6127622E6D7033 text:{root}6C697374732F integer:39 null: null: null: null: "
    "null: null: null: null: null:",
    "integer:3437 text:782727792E6D7033 text:{root}6C697374732F7375622F integer:39 null: null: "
    "null: null: null: null: null: null: null:",
    "integer:3438 text:71272E6D7033 text:2F6162732F integer:39 null: null: null: null: null: null: "
    "null: null: null:",
    "integer:3439 text:F09F8EB52E6D7033 text:{root}6C697374732F integer:39 null: null: null: null: "
    "null: null: null: null: null:",
    "integer:3530 text:6E text:{root}6C697374732F integer:39 null: null: null: null: null: null: "
    "null: null: null:",
    "integer:3531 text:757027732E6D7033 text:{root} integer:3130 null: null: null: null: null: "
    "null: null: null: null:",
    "integer:3532 text:636166C3A9272E6D7033 text:{root}6C697374732F integer:3131 null: null: null: "
    "null: null: null: null: null: null:",
    "integer:3533 text:6127622E6D7033 text:{root}6D6F7265276C697374732F integer:3132 null: null: "
    "null: null: null: null: null: null: null:",
    "integer:3534 text:782727792E6D7033 text:{root}6D6F7265276C697374732F7375622F integer:3132 "
    "null: null: null: null: null: null: null: null: null:",
    "integer:3535 text:71272E6D7033 text:2F6162732F integer:3132 null: null: null: null: null: "
    "null: null: null: null:",
    "integer:3536 text:F09F8EB52E6D7033 text:{root}6D6F7265276C697374732F integer:3132 null: null: "
    "null: null: null: null: null: null: null:",
    "integer:3537 text:6E text:{root}6D6F7265276C697374732F integer:3132 null: null: null: null: "
    "null: null: null: null: null:",
    "integer:3538 text:65787472612E6D7033 text:{root}6D6F7265276C697374732F integer:3132 null: "
    "null: null: null: null: null: null: null: null:",
};

// A table's rows as exactContents() gives them: typeof() and hex() of each column in turn.
template <size_t Rows>
QList<QVariantList> Expected(const char* const (&table)[Rows], const QString& rootHex) {
    QList<QVariantList> rows;
    for (const char* text : table) {
        QVariantList row;
        for (const QString& column : QString::fromLatin1(text).split(u' ')) {
            const qsizetype colon = column.indexOf(u':');
            row << column.left(colon)
                << column.mid(colon + 1).replace(QLatin1String("{root}"), rootHex);
        }
        rows << row;
    }
    return rows;
}

TEST_F(ScanImport, HostileNamesAreStoredAsTheTableSays) {
    // Names, labels, tag values and playlist entries that a statement could quote, cut or
    // replace: quotes, a doubled quote, a line break, a NUL (the rest is cut), a lone surrogate
    // and a pair. A CD volume (label and volume label), hard-disc volumes, folder lists, playlist
    // lists and their entries: every row the import writes.
    const QString lone = QString(QChar(0xD800));
    const QString pair = QString::fromUtf16(u"\U0001F3B5");
    const QString nul = QString(QChar(u'\0'));
    const QString music = root + "music/";
    const QString cd = root + "cd/";
    const QString discName = "Disc 'O''ne\n" + lone + pair + nul + "cut";
    drives.addDrive(cd, DriveType::CdRom, "VOL'S ''" + pair);
    pathScan = cd;

    // The CD first: the hard-disc folders after it turn the label into "EOF".
    temp.write("cd/on'disc.mp3", test::Id3Builder(3).text("TIT2", "Disc's").audio(2).build());
    ScanNode& disc = tree.addRoot(cd, discName, ScanNodeKind::SoundFolder);
    tree.addChild(disc, cd + "on'disc.mp3", "on'disc.mp3", ScanNodeKind::SoundFile);
    tree.addChild(disc, cd + "gone" + lone + ".mp3", "gone" + lone + ".mp3",
                  ScanNodeKind::SoundFile);

    const QStringList folders = {"Rock 'n' Roll/",   "a''b/",
                                 "two\nlines/",      "nul" + nul + "cut/",
                                 "odd" + lone + "/", "note" + pair + "/"};
    const QStringList files = {
        "it's.mp3",          "''.mp3",     "x\ny.mp3", "n" + nul + "x.mp3", "l" + lone + ".mp3",
        "p" + pair + ".mp3", "missing.mp3"};
    for (const QString& name : folders) {
        ScanNode& node = tree.addRoot(music + name, music + name, ScanNodeKind::SoundFolder);
        for (const QString& file : files) {
            // Files that can exist on disc get a tag; the others are imported unread.
            if (!name.contains(nul) && !file.contains(nul) && !(name + file).contains(lone) &&
                file != "missing.mp3")
                temp.write("music/" + name + file,
                           test::Id3Builder(3)
                               .text("TIT2", "T'it''le\n" + pair, test::Id3Enc::Utf16)
                               .text("TPE1", "O'Band")
                               .audio(2)
                               .build());
            tree.addChild(node, music + name + file, file, ScanNodeKind::SoundFile);
        }
    }
    ScanNode& other = tree.addRoot(root + "other/", root + "other/", ScanNodeKind::SoundFolder);
    tree.addChild(other, root + "other/it's.mp3", "it's.mp3", ScanNodeKind::SoundFile);

    // Two folders of playlists: entries relative, absolute, repeated, with quotes, a NUL, a pair
    // and Windows-1252 bytes (not UTF-8).
    const QByteArray entries = "a'b.mp3\r\nsub/x''y.mp3\r\n/abs/q'.mp3\r\na'b.mp3\r\n" +
                               pair.toUtf8() + ".mp3\r\nn" + QByteArray(1, '\0') + "ul.mp3\r\n";
    temp.write("lists/it's.m3u", entries);
    temp.write("lists/two\nlines.m3u", "#EXTM3U\n..\\up's.mp3\n");
    temp.write("lists/" + pair + ".m3u", "caf\xe9'.mp3\n");
    temp.write("more'lists/x.m3u", entries + "extra.mp3\n");
    folder(root + "lists/", "Cdm3u", {"it's.m3u", "two\nlines.m3u", pair + ".m3u"});
    folder(root + "more'lists/", "Cdm3u", {"x.m3u"});

    const QString rootHex = QString::fromLatin1(root.toUtf8().toHex().toUpper());
    const QList<QVariantList> expected =
        Expected(kVolumes, rootHex) + Expected(kLists, rootHex) + Expected(kTracks, rootHex);

    label = discName;
    const ScanImportResult result = import();
    EXPECT_EQ(exactContents(), expected);
    EXPECT_EQ(result.volumes, 5);
    EXPECT_EQ(result.lists, 12);
    EXPECT_EQ(result.tracks, 58);
    // Only the tag reads of files that cannot exist fail.
    EXPECT_EQ(result.errorCount, 28);
    EXPECT_FALSE(result.errors.join(' ').contains("statement"));
    EXPECT_FALSE(result.failed()) << result.failure.toStdString();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM CD WHERE isCd = '1' AND labelcd <> ''").toInt(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE file LIKE '%.m3u'").toInt(), 4);

    // A rerun finds every row it wrote.
    label = discName;
    const ScanImportResult rerun = import();
    EXPECT_EQ(rerun.volumes + rerun.lists + rerun.tracks, 0);
    EXPECT_EQ(exactContents(), expected);
    EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
}

} // namespace
} // namespace tarl
