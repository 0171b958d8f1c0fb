#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "scan/PlaylistImport.h"

#include "RecordingFiles.h"
#include "RoutineFixture.h"
#include "tags/TagFields.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using WideIdTest = test::RoutineFixture;

// Ids past what 16 and 32 bits hold travel through every routine unharmed.
TEST_F(WideIdTest, IdsBeyond16And32BitsWorkEverywhere) {
    const qint64 starts[] = {32767, 40000, (1LL << 31) - 1, (1LL << 31) + 10, 1LL << 40};
    for (const qint64 start : starts) {
        SCOPED_TRACE(start);
        run("DELETE FROM sqlite_sequence");
        for (const QString table : {"CD", "M3u", "Mp3", "Nick"})
            run(QString("INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2)")
                    .arg(table)
                    .arg(start));

        // Fresh for each start: the list ids it keeps are deleted below.
        ImportStatements statements(catalog.connection);
        QString label;
        ASSERT_TRUE(AddFolderVolume(catalog, "/music/", label));
        const qint64 volume = FindVolumeId(catalog, drives, "/music//", "EOF").value;
        EXPECT_EQ(volume, start + 1);
        EXPECT_EQ(VolumeLabelById(catalog, volume).value, "EOF");
        EXPECT_FALSE(VolumeIsCdById(catalog, volume).value);

        TagFields tags;
        ASSERT_TRUE(AddFolderTrack(drives, {"/music/rock/a.mp3", "a.mp3", "/music/rock/"}, tags,
                                   volume, statements));
        ASSERT_TRUE(AddFolderTrack(drives, {"/music/rock/b.mp3", "b.mp3", "/music/rock/"}, tags,
                                   volume, statements));
        const qint64 list = FindListIdOnVolume(catalog, drives, "/music/rock/", volume).value;
        EXPECT_EQ(list, start + 1);
        EXPECT_EQ(FindListId(catalog, drives, "/music/rock/").value, list);
        const qint64 track = scalar("SELECT id FROM Mp3 WHERE file='a.mp3'").toLongLong();
        EXPECT_EQ(track, start + 1);
        EXPECT_EQ(ListIdOfTrack(catalog, track).value, list);
        EXPECT_EQ(VolumeIdOfTrack(catalog, track).value, volume);

        ASSERT_TRUE(
            AddPlaylistList({"/music/party.m3u", "party.m3u", "/music/"}, volume, statements));
        const qint64 party = FindListId(catalog, drives, "/music/party.m3u").value;
        EXPECT_EQ(party, start + 2);
        temp.write("party.m3u", "x.mp3\n");
        ASSERT_TRUE(AddPlaylistTracks(catalog, statements, temp.file("party.m3u"), party));
        EXPECT_EQ(scalar("SELECT m3u_id FROM Mp3 WHERE file='x.mp3'"), party);

        ASSERT_TRUE(AddStyle(catalog, "Jazz"));
        const qint64 style = FindStyleId(catalog, "Jazz").value;
        EXPECT_EQ(style, start + 1);
        run("UPDATE M3u SET nick=" + QString::number(style));
        ASSERT_TRUE(DeleteStyle(catalog, "Jazz", nullptr));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE nick=0"), 2);

        ASSERT_TRUE(DeleteTrack(catalog, track));
        EXPECT_EQ(scalar("SELECT group_concat(file) FROM Mp3"), "b.mp3,x.mp3");
        test::RecordingFiles files;
        ASSERT_TRUE(DeleteVolume(catalog, drives, files, "/music/", nullptr));
        EXPECT_EQ(count("CD") + count("M3u") + count("Mp3"), 0);
    }
}

} // namespace
} // namespace tarl
