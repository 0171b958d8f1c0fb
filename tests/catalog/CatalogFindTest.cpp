#include "catalog/CatalogFind.h"

#include "RoutineFixture.h"
#include "catalog/engine/Recordset.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

class CatalogFindTest : public test::RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        music = insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',2,'EOF','0')");
        disc = insert("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                      "('/media/cd/',1,'Disc 7','1','Disc7')");
        otherDisc = insert("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                           "('/media/cd/',1,'Disc 8','1','Disc8')");
        partyList = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES "
                           "('/music/','party.m3u'," +
                           QString::number(music) + ",0)");
        rockList = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES "
                          "('/music/','rock/'," +
                          QString::number(music) + ",0)");
        discRoot = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES "
                          "('/media/cd/','.'," +
                          QString::number(disc) + ",0)");
        otherDiscRoot = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES "
                               "('/media/cd/','.'," +
                               QString::number(otherDisc) + ",0)");
        track = insert("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/media/cd/','a.mp3'," +
                       QString::number(otherDiscRoot) + ")");
        jazz = insert("INSERT INTO Nick (nick) VALUES ('Jazz')");
    }

    qint64 music = 0, disc = 0, otherDisc = 0;
    qint64 partyList = 0, rockList = 0, discRoot = 0, otherDiscRoot = 0;
    qint64 track = 0, jazz = 0;
};

TEST_F(CatalogFindTest, FindVolumeIdFromAListPathOrAVolumeName) {
    const struct {
        QString listPath;
        QString label;
        qint64 expected; // 0: no volume
    } cases[] = {
        // The volume is the folder holding the list, whether a playlist or a folder list.
        {"/music/party.m3u", "EOF", music},
        {"/music/rock/", "EOF", music},
        // A caller holding the volume's own folder adds one "/".
        {"/music//", "EOF", music},
        // A drive root is its own volume; the label tells two discs apart.
        {"/media/cd/", "Disc 7", disc},
        {"/media/cd/", "Disc 8", otherDisc},
        {"/media/cd/rock/", "Disc 8", otherDisc},
        {"/media/cd//", "Disc 8", otherDisc},
        {"/music/party.m3u", "Disc 7", 0},
        {"/media/cd/", "DISC 8", otherDisc}, // a disc's name, case aside
        {"/MUSIC/party.m3u", "EOF", 0},      // a path is exact
        // Without a label the path is the volume's name itself.
        {"/music/", "", music},
        {"/music/party.m3u", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.listPath + " / " + c.label).toStdString());
        const Lookup<qint64> id = FindVolumeId(catalog, drives, c.listPath, c.label);
        EXPECT_TRUE(id.ok);
        EXPECT_EQ(id.value, c.expected);
    }
}

TEST_F(CatalogFindTest, ListLookupsSplitTheListPathAsTheListsAreStored) {
    const struct {
        QString listPath;
        qint64 volume;
        qint64 anyVolume;
        qint64 onVolume;
    } cases[] = {
        {"/music/party.m3u", music, partyList, partyList},
        {"/music/rock/", music, rockList, rockList},
        {"/music/rock", music, 0, 0},
        {"/music/party.m3u", disc, partyList, 0},
        {"/media/cd/", disc, discRoot, discRoot},
        // Two discs on one drive: only the volume tells their lists apart.
        {"/media/cd/", otherDisc, discRoot, otherDiscRoot},
        {"/media/cd/.", otherDisc, discRoot, otherDiscRoot},
        {"/media/cd/party.m3u", disc, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listPath.toStdString() + " on " + std::to_string(c.volume));
        EXPECT_EQ(FindListId(catalog, drives, c.listPath).value, c.anyVolume);
        EXPECT_EQ(FindListIdOnVolume(catalog, drives, c.listPath, c.volume).value, c.onVolume);
    }
}

TEST_F(CatalogFindTest, VolumeAndStyleLookups) {
    EXPECT_TRUE(VolumeLabelExists(catalog, "Disc 7").value);
    EXPECT_FALSE(VolumeLabelExists(catalog, "").value);

    EXPECT_EQ(FindStyleId(catalog, "Jazz").value, jazz);

    EXPECT_TRUE(VolumeNameExists(catalog, "/media/cd/").value);
    EXPECT_FALSE(VolumeNameExists(catalog, "/media/cd").value);

    EXPECT_TRUE(VolumeIsCdByName(catalog, "/media/cd/").value);
    EXPECT_FALSE(VolumeIsCdByName(catalog, "/music/").value);
    EXPECT_FALSE(VolumeIsCdByName(catalog, "/nowhere/").value);

    EXPECT_TRUE(VolumeIsCdById(catalog, disc).value);
    EXPECT_FALSE(VolumeIsCdById(catalog, music).value);
    EXPECT_FALSE(VolumeIsCdById(catalog, 9999).value);

    EXPECT_EQ(VolumeLabelById(catalog, otherDisc).value, "Disc 8");
    EXPECT_EQ(VolumeLabelById(catalog, 9999).value, "");
}

// Several rows answer: both engines take the one the file's index reads first.
TEST_F(CatalogFindTest, OfSeveralRowsTheSameOneIsFirstOnBothEngines) {
    const auto volume = [this](const char* label, const char* isCd) {
        return insert(QString("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/twice/',0,%1,'%2')")
                          .arg(label, isCd));
    };
    volume("'b'", "0");
    const qint64 upper = volume("'B'", "1"); // "B" sorts before "b" byte by byte
    const qint64 none = volume("NULL", "1");
    volume("'a'", "0");
    EXPECT_EQ(FindVolumeId(catalog, drives, "/twice/", "").value, none);
    EXPECT_EQ(FindVolumeId(catalog, drives, "/twice/x.m3u", "b").value, upper);
    EXPECT_TRUE(VolumeIsCdByName(catalog, "/twice/").value);

    const auto list = [this](const QString& volumeId) {
        return insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/twice/','x.m3u'," +
                      volumeId + ",0)");
    };
    list("9");
    const qint64 lowest = list("3");
    list("3");
    EXPECT_EQ(FindListId(catalog, drives, "/twice/x.m3u").value, lowest);

    const qint64 first = insert("INSERT INTO Nick (nick) VALUES ('Ska')");
    insert("INSERT INTO Nick (nick) VALUES ('SKA')");
    EXPECT_EQ(FindStyleId(catalog, "ska").value, first);
}

TEST_F(CatalogFindTest, TrackLookupsGoFromTrackToListToVolume) {
    EXPECT_EQ(ListIdOfTrack(catalog, track).value, otherDiscRoot);
    EXPECT_EQ(VolumeIdOfTrack(catalog, track).value, otherDisc);
    EXPECT_EQ(ListIdOfTrack(catalog, track + 1).value, 0);
    EXPECT_EQ(VolumeIdOfTrack(catalog, track + 1).value, 0);
}

TEST_F(CatalogFindTest, LookupsLeaveACallersRowsAsTheyWere) {
    // A caller walking rows of its own may ask these while it reads.
    Recordset walk;
    ASSERT_TRUE(catalog.connection.execute("SELECT id FROM CD ORDER BY id", walk));
    ASSERT_TRUE(VolumeIsCdByName(catalog, "/media/cd/").value);
    ASSERT_EQ(VolumeLabelById(catalog, disc).value, "Disc 7");
    ASSERT_EQ(VolumeIdOfTrack(catalog, track).value, otherDisc);
    const Lookup<FoundStyle> style = FindStyle(catalog, "JAZZ");
    EXPECT_EQ(style.value.id, jazz);
    EXPECT_EQ(style.value.name, "Jazz");
    EXPECT_EQ(walk.field("id"), music);
}

TEST_F(CatalogFindTest, AFailingStatementIsReportedNotTakenForNoRow) {
    run("DROP TABLE Nick");
    const Lookup<qint64> style = FindStyleId(catalog, "Jazz");
    EXPECT_FALSE(style.ok);
    EXPECT_EQ(style.value, 0);
    EXPECT_TRUE(catalog.connection.lastError().contains("nick"))
        << catalog.connection.lastError().toStdString();

    run("DROP TABLE CD");
    EXPECT_FALSE(VolumeIsCdByName(catalog, "/music/").ok);
    EXPECT_FALSE(VolumeLabelById(catalog, disc).ok);
}

} // namespace
} // namespace tarl
