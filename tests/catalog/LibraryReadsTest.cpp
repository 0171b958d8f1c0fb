#include "catalog/LibraryReads.h"

#include "RoutineFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// The browser's reads give the rows as stored, grouped as the tree builds them.
class LibraryReadsTest : public test::RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        music = insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',2,'EOF','0')");
        disc = insert("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                      "('/media/cd/',1,'Disc 7','1','DISC7')");
        jazz = insert("INSERT INTO Nick (nick) VALUES ('Jazz')");
        party =
            insert("INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES ('/music/','party.m3u'," +
                   QString::number(music) + ",0," + QString::number(jazz) + ")");
        rock = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/','rock/'," +
                      QString::number(music) + ",0)");
        discRoot = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/media/cd/','.'," +
                          QString::number(disc) + ",0)");
        // A list whose volume id was typed in by hand (a server's types keep it out).
        odd = catalog.connection.engine() == CatalogEngine::Sqlite ? 1 : 0;
        if (odd)
            run("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/odd/','odd.m3u','x',0)");
    }

    qint64 music = 0, disc = 0, jazz = 0;
    qint64 party = 0, rock = 0, discRoot = 0;
    int odd = 0; // the list of the hand-typed volume id is there
};

TEST_F(LibraryReadsTest, VolumesComeInTheCatalogsOrderWithTheirColumns) {
    const Lookup<std::vector<VolumeRow>> volumes = ReadVolumes(catalog);
    ASSERT_TRUE(volumes.ok);
    ASSERT_EQ(volumes.value.size(), 2u);
    const VolumeRow& first = volumes.value[0];
    EXPECT_EQ(first.id, music);
    EXPECT_EQ(first.name, "/music/");
    EXPECT_EQ(first.m3us.toLongLong(), 2);
    EXPECT_EQ(first.label, "EOF");
    EXPECT_FALSE(first.isCd);
    const VolumeRow& second = volumes.value[1];
    EXPECT_TRUE(second.isCd);
    EXPECT_EQ(second.labelCd, "DISC7");
}

TEST_F(LibraryReadsTest, ListsAreGroupedByVolumeInIdOrderAndOddIdsAreLeftOut) {
    const auto lists = ReadListsByVolume(catalog);
    ASSERT_TRUE(lists.ok);
    EXPECT_EQ(lists.value.size(), 2);
    const std::vector<VolumeListRow>& onMusic = lists.value.value(music);
    ASSERT_EQ(onMusic.size(), 2u);
    EXPECT_EQ(onMusic[0].file, "party.m3u");
    EXPECT_EQ(onMusic[1].file, "rock/");
    EXPECT_EQ(onMusic[1].path, "/music/");
    ASSERT_EQ(lists.value.value(disc).size(), 1u);
}

TEST_F(LibraryReadsTest, StylesAndTheirListsWithUnsortedUnderZero) {
    const Lookup<std::vector<StyleRow>> styles = ReadStyles(catalog);
    ASSERT_TRUE(styles.ok);
    ASSERT_EQ(styles.value.size(), 1u);
    EXPECT_EQ(styles.value[0].id, jazz);
    EXPECT_EQ(styles.value[0].name, "Jazz");

    const auto lists = ReadListsByStyle(catalog);
    ASSERT_TRUE(lists.ok);
    ASSERT_EQ(lists.value.value(jazz).size(), 1u);
    EXPECT_EQ(lists.value.value(jazz)[0].volumeId.toLongLong(), music);
    const std::vector<StyleListRow>& unsorted = lists.value.value(0);
    ASSERT_EQ(unsorted.size(), size_t(2 + odd));
    if (odd) {
        EXPECT_EQ(unsorted[2].file, "odd.m3u");
        EXPECT_EQ(unsorted[2].volumeId.toString(), "x"); // as stored
    }
}

TEST_F(LibraryReadsTest, VolumesByIdAndByAStoredId) {
    const auto volumes = ReadVolumeNamesById(catalog);
    ASSERT_TRUE(volumes.ok);
    EXPECT_EQ(volumes.value.value(disc).name, "/media/cd/");
    EXPECT_EQ(volumes.value.value(disc).label, "Disc 7");

    const auto found = FindVolumeByStoredId(catalog, QVariant(music));
    ASSERT_TRUE(found.ok);
    ASSERT_TRUE(found.value.has_value());
    EXPECT_EQ(found.value->name, "/music/");
    const auto none = FindVolumeByStoredId(catalog, QVariant(qint64{999}));
    ASSERT_TRUE(none.ok);
    EXPECT_FALSE(none.value.has_value());
    // An id stored as text is bound as it is: it finds no volume, whatever it says.
    for (const QString& text : {QStringLiteral("x"), QStringLiteral("-1 OR 1=1")}) {
        const auto shaped = FindVolumeByStoredId(catalog, QVariant(text));
        ASSERT_TRUE(shaped.ok) << shaped.error.toStdString();
        EXPECT_FALSE(shaped.value.has_value());
    }
}

TEST_F(LibraryReadsTest, DeletingTheListsOfAVolumeKeepsTheOthers) {
    EXPECT_TRUE(DeleteListsOfVolume(catalog, QVariant(music)));
    EXPECT_EQ(count("M3u WHERE cd_id=" + QString::number(music)), 0);
    EXPECT_EQ(count("M3u"), 1 + odd);
}

TEST_F(LibraryReadsTest, TracksOfAListInTheOrderTheyWereAdded) {
    run("INSERT INTO Mp3 (path,file,m3u_id,title,time) VALUES ('/music/','b.mp3'," +
        QString::number(party) + ",'Bee',61)");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','a.mp3'," + QString::number(party) +
        ")");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','c.mp3'," + QString::number(rock) +
        ")");
    const Lookup<std::vector<TrackFields>> tracks = ReadTracksOfList(catalog, party);
    ASSERT_TRUE(tracks.ok);
    ASSERT_EQ(tracks.value.size(), 2u);
    EXPECT_EQ(tracks.value[0].file.toString(), "b.mp3");
    EXPECT_EQ(tracks.value[0].title.toString(), "Bee");
    EXPECT_EQ(tracks.value[0].time.toLongLong(), 61);
    EXPECT_EQ(tracks.value[1].file.toString(), "a.mp3");
    EXPECT_TRUE(tracks.value[1].title.isNull());
}

TEST_F(LibraryReadsTest, TheRecordedLabelOfTheFirstDiscOfAName) {
    run("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES ('/media/cd/',0,'EOF','1','X')");
    const struct {
        QString name;
        std::optional<QString> expected;
    } cases[] = {
        {"Disc 7", QStringLiteral("DISC7")},
        {"disc 7", QStringLiteral("DISC7")}, // a disc's name, case aside
        {"Disc 8", std::nullopt},
        {"EOF", QStringLiteral("X")}, // only a CD volume counts, whatever its name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const Lookup<std::optional<QString>> label = RecordedDiscLabel(catalog, c.name);
        EXPECT_TRUE(label.ok);
        EXPECT_EQ(label.value, c.expected);
    }
    // The hard-disc volume named EOF is passed over.
    run("DELETE FROM CD WHERE labelcd='X'");
    EXPECT_EQ(RecordedDiscLabel(catalog, "EOF").value, std::nullopt);
}

} // namespace
} // namespace tarl
