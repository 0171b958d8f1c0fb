#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/TrackLength.h"
#include "scan/PlaylistImport.h"

#include "FakeLibraryTree.h"
#include "RecordingFiles.h"
#include "RoutineFixture.h"
#include "tags/TagFields.h"
#include "text/PlaylistText.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// Texts that break naive quoting, LIKE patterns, line-based or byte-based handling.
QStringList HostileTexts() {
    QString longText;
    while (longText.size() < 10000)
        longText += QStringLiteral("ab'c''%_\\ \u00e9");
    longText.truncate(10000);
    return {
        "Guns'n Roses",
        "''",
        "'''",
        "a''b'c",
        "' OR '1'='1",
        "x'); DROP TABLE Mp3; --",
        "%",
        "_",
        "50%_off",
        "back\\slash\\",
        "\\'",
        QString::fromUtf8("before\0after", 12),
        "line\nbreak\r\nend",
        "tab\there",
        "\"double\"",
        "  spaced  ",
        "emoji \U0001F3B8 \u4e2d\u6587",
        QString("lone ") + QChar(0xD800) + "'quote",
        QString("lone low ") + QChar(0xDC00),
        QString(QChar(0xDBFF)) + QChar(0xDBFF) + "''",
        longText,
    };
}

// What the catalog keeps of a text: everything before its first NUL, and U+FFFD for each half
// of a UTF-16 pair that stands alone (it is no character and UTF-8 cannot hold it).
QString Stored(const QString& text) {
    QString kept =
        text.left(text.indexOf(QChar(u'\0')) < 0 ? text.size() : text.indexOf(QChar(u'\0')));
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (kept[i].isHighSurrogate() && i + 1 < kept.size() && kept[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (kept[i].isSurrogate())
            kept[i] = QChar(QChar::ReplacementCharacter);
    }
    return kept;
}

class RoundTripTest : public test::RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        // Rows no routine below may touch.
        run("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/canary/',1,'EOF','0')");
        run("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/canary/','c.m3u',1,0)");
        run("INSERT INTO Mp3 (path,file,m3u_id,title) VALUES ('/canary/','c.mp3',1,'''')");
        run("INSERT INTO Nick (nick) VALUES ('canary')");
        canary = snapshot();
    }

    void TearDown() override {
        EXPECT_EQ(rows("SELECT * FROM CD WHERE id=1"), canary[0]);
        EXPECT_EQ(rows("SELECT * FROM M3u WHERE id=1"), canary[1]);
        EXPECT_EQ(rows("SELECT * FROM Mp3 WHERE id=1"), canary[2]);
        EXPECT_EQ(rows("SELECT * FROM Nick WHERE id=1"), canary[3]);
        RoutineFixture::TearDown();
    }

    QList<QList<QVariantList>> snapshot() {
        return {rows("SELECT * FROM CD WHERE id=1"), rows("SELECT * FROM M3u WHERE id=1"),
                rows("SELECT * FROM Mp3 WHERE id=1"), rows("SELECT * FROM Nick WHERE id=1")};
    }

    // Row counts of CD, M3u, Mp3, Nick.
    QList<qint64> counts() { return {count("CD"), count("M3u"), count("Mp3"), count("Nick")}; }

    // Writes a volume row with bound values, as exactly as the engine can hold them.
    qint64 boundVolume(const QString& name, const QString& label) {
        QSqlQuery query(QSqlDatabase::database(catalog.connection.qtConnectionName()));
        query.prepare("INSERT INTO CD (name,m3us,label,isCd) VALUES (?,0,?,'1')");
        query.addBindValue(Stored(name));
        query.addBindValue(Stored(label));
        EXPECT_TRUE(query.exec());
        return query.lastInsertId().toLongLong();
    }

    QList<QList<QVariantList>> canary;
    test::RecordingFiles files;
};

TEST_F(RoundTripTest, StylesAndVolumes) {
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(40).toStdString());
        const QString stored = Stored(text);
        const QList<qint64> before = counts();

        ASSERT_TRUE(AddStyle(catalog, text)) << catalog.connection.lastError().toStdString();
        // Found again: a notice, no row.
        EXPECT_EQ(AddStyle(catalog, text).value.outcome, StyleAdded::AlreadyThere);
        EXPECT_EQ(counts(), (QList<qint64>{before[0], before[1], before[2], before[3] + 1}));
        const qint64 style = FindStyleId(catalog, text).value;
        EXPECT_EQ(scalar("SELECT nick FROM Nick WHERE id=" + QString::number(style)), stored);

        const QString folder = "/vol/" + text + "/";
        QString label;
        ASSERT_TRUE(AddFolderVolume(catalog, folder, label));
        ASSERT_TRUE(AddFolderVolume(catalog, folder, label));
        EXPECT_EQ(counts(), (QList<qint64>{before[0] + 1, before[1], before[2], before[3] + 1}));
        const qint64 volume = FindVolumeId(catalog, drives, folder, "").value;
        ASSERT_NE(volume, 0);
        EXPECT_EQ(FindVolumeId(catalog, drives, folder + "/", "EOF").value, volume);
        EXPECT_EQ(FindVolumeId(catalog, drives, folder + "x.m3u", "EOF").value, volume);
        EXPECT_EQ(scalar("SELECT name FROM CD WHERE id=" + QString::number(volume)),
                  Stored(folder));
        EXPECT_TRUE(VolumeNameExists(catalog, folder).value);
        EXPECT_TRUE(VolumeIsCdByName(catalog, folder).ok);

        // A disc whose name and label are both hostile.
        const qint64 disc = boundVolume("/media/cd/" + text + "/", text);
        EXPECT_EQ(FindVolumeId(catalog, drives, "/media/cd/" + text + "/x.m3u", text).value, disc);
        EXPECT_TRUE(VolumeLabelExists(catalog, text).value);
        EXPECT_EQ(VolumeLabelById(catalog, disc).value, stored);
        EXPECT_TRUE(VolumeIsCdByName(catalog, "/media/cd/" + text + "/").value);

        // Each goes again, and only its own row goes.
        ASSERT_TRUE(DeleteStyle(catalog, text, nullptr));
        ASSERT_TRUE(DeleteVolume(catalog, drives, files, folder, nullptr));
        ASSERT_TRUE(
            DeleteVolume(catalog, drives, files, text + ":>/media/cd/" + text + "/", nullptr));
        EXPECT_EQ(counts(), before);
    }
}

TEST_F(RoundTripTest, ListsAndTracks) {
    const qint64 volume = 1;
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(40).toStdString());
        const QString stored = Stored(text);
        const QList<qint64> before = counts();
        // Fresh for each text: the list ids it keeps are deleted below.
        ImportStatements statements(catalog.connection);

        // A sound file in a hostile folder, with a hostile name and hostile tags.
        const QString folder = "/music/" + text + "/";
        const ScanNodeValues track{folder + text + ".mp3", text + ".mp3", folder};
        TagFields tags;
        tags.title = tags.artist = tags.album = tags.year = tags.genre = tags.comments = text;
        tags.fileLength = 123456;
        ASSERT_TRUE(AddFolderTrack(drives, track, tags, volume, statements))
            << catalog.connection.lastError().toStdString();
        ASSERT_TRUE(AddFolderTrack(drives, track, tags, volume, statements));
        EXPECT_EQ(counts(), (QList<qint64>{before[0], before[1] + 1, before[2] + 1, before[3]}));

        const qint64 list = FindListIdOnVolume(catalog, drives, folder, volume).value;
        ASSERT_NE(list, 0);
        EXPECT_EQ(FindListId(catalog, drives, folder).value, list);
        EXPECT_EQ(rows("SELECT path,file,cd_id FROM M3u WHERE id=" + QString::number(list)),
                  (QList<QVariantList>{{"/music/", Stored(text + "/"), volume}}));
        const QString tag = stored.isEmpty() ? " " : stored;
        const QList<QVariantList> trackRows =
            rows("SELECT id,path,file,title,artist,album,year,genre,comments,size FROM Mp3 "
                 "WHERE m3u_id=" +
                 QString::number(list));
        ASSERT_EQ(trackRows.size(), 1);
        EXPECT_EQ(trackRows[0].mid(1), (QVariantList{Stored(folder), Stored(text + ".mp3"), tag,
                                                     tag, tag, tag, tag, tag, "123K"}));
        const qint64 trackId = trackRows[0][0].toLongLong();
        EXPECT_EQ(ListIdOfTrack(catalog, trackId).value, list);
        EXPECT_EQ(VolumeIdOfTrack(catalog, trackId).value, volume);

        ASSERT_TRUE(StoreTrackLength(catalog, folder + text + ".mp3", 77));
        EXPECT_EQ(StoredTrackLength(catalog, folder + text + ".mp3").value, 77);

        // A playlist with a hostile name ("p-": cut at a NUL, it must not become the folder's).
        const ScanNodeValues playlist{"/music/p-" + text + ".m3u", "p-" + text + ".m3u", "/music/"};
        ASSERT_TRUE(AddPlaylistList(playlist, volume, statements));
        ASSERT_TRUE(AddPlaylistList(playlist, volume, statements));
        const qint64 playlistId = FindListId(catalog, drives, playlist.key).value;
        EXPECT_EQ(scalar("SELECT file FROM M3u WHERE id=" + QString::number(playlistId)),
                  Stored("p-" + text + ".m3u"));
        EXPECT_EQ(FindListIdOnVolume(catalog, drives, playlist.key, volume).value, playlistId);
        EXPECT_EQ(counts(), (QList<qint64>{before[0], before[1] + 2, before[2] + 1, before[3]}));

        ASSERT_TRUE(DeleteList(catalog, drives, folder, nullptr));
        ASSERT_TRUE(DeleteList(catalog, drives, playlist.key, nullptr));
        EXPECT_EQ(counts(), before);
    }
}

TEST_F(RoundTripTest, PlaylistEntries) {
    const QString playlist = temp.file("party.m3u");
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(40).toStdString());
        const QList<qint64> before = counts();
        const QByteArray bytes =
            ("/abs/" + text + "/" + text + ".mp3\r\n" + text + ".mp3\r\n").toUtf8();
        temp.write("party.m3u", bytes);

        // Where the shared playlist rules put each entry; the catalog must keep exactly that.
        QList<QVariantList> expected;
        for (const QString& entry : PlaylistEntries(PlaylistLines(bytes))) {
            QString folder;
            QString file;
            SplitPlaylistEntry(entry, temp.path() + "/", &folder, &file);
            const QVariantList row{Stored(folder), Stored(file), 55};
            if (!expected.contains(row))
                expected << row;
        }
        ImportStatements statements(catalog.connection);
        ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, 55))
            << catalog.connection.lastError().toStdString();
        ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, 55));
        EXPECT_EQ(rows("SELECT path,file,m3u_id FROM Mp3 WHERE m3u_id=55 ORDER BY id"), expected);
        EXPECT_EQ(counts(),
                  (QList<qint64>{before[0], before[1], before[2] + expected.size(), before[3]}));
        run("DELETE FROM Mp3 WHERE m3u_id=55");
    }
}

} // namespace
} // namespace tarl
