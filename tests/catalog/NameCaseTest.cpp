#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/engine/UnicodeNoCase.h"

#include "RecordingFiles.h"
#include "RoutineFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// A style or disc name stored, another asked for, and whether a user means the same name.
struct NamePair {
    const char* name;
    QString stored;
    QString asked;
    bool same;
};

const NamePair kPairs[] = {
    {"ASCII", "Rock", "rock", true},
    {"Latin-1", "Ärger", "ärger", true},
    {"Greek, with a final sigma", "ΟΔΟΣ", "οδος", true},
    {"Cyrillic", "Привет", "пРИВЕТ", true},
    {"outside the basic plane", "𐐀", "𐐨", true},
    {"capital sharp s", "ẞ", "ß", true},
    // Simple folding, as the searches' LIKE: one letter never equals two.
    {"sharp s against SS", "ß", "SS", false},
    {"an accent is part of the letter", "e", "é", false},
    {"another name", "Rock", "Rocks", false},
};

using NameCaseTest = test::RoutineFixture;

TEST_F(NameCaseTest, StyleAndDiscNamesCompareWithoutCase) {
    for (const NamePair& c : kPairs) {
        SCOPED_TRACE(c.name);
        run("DELETE FROM Nick");
        run("DELETE FROM CD");
        const qint64 style = insert("INSERT INTO Nick (nick) VALUES ('" + c.stored + "')");
        const qint64 disc = insert("INSERT INTO CD (name,m3us,label,isCd) VALUES "
                                   "('/media/cd/',1,'" +
                                   c.stored + "','1')");

        EXPECT_EQ(UnicodeNoCase::compare(c.stored, c.asked) == 0, c.same);
        EXPECT_EQ(FindStyleId(catalog, c.asked).value, c.same ? style : 0);
        EXPECT_EQ(VolumeLabelExists(catalog, c.asked).value, c.same);
        EXPECT_EQ(FindVolumeId(catalog, drives, "/media/cd/", c.asked).value, c.same ? disc : 0);
        // A style of the same name is not added twice.
        ASSERT_TRUE(AddStyle(catalog, c.asked));
        EXPECT_EQ(count("Nick"), c.same ? 1 : 2);
    }
}

// A catalog written before names compared without case may hold both spellings, shown as two
// nodes: deleting a node deletes that spelling's rows, never the other's.
TEST_F(NameCaseTest, BothSpellingsOfAnOlderCatalogAreDeletedOneByOne) {
    insert("INSERT INTO Nick (nick) VALUES ('Rock')");
    insert("INSERT INTO Nick (nick) VALUES ('rock')");
    ASSERT_TRUE(DeleteStyle(catalog, "rock", nullptr));
    EXPECT_EQ(count("Nick WHERE nick = 'Rock'"), 1);
    EXPECT_EQ(count("Nick"), 1);

    for (const char* label : {"Disc1", "disc1"})
        insert(QString("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/media/cd/',1,'%1','1')")
                   .arg(label));
    test::RecordingFiles files;
    ASSERT_TRUE(DeleteVolume(catalog, drives, files, "disc1:>/media/cd/", nullptr));
    EXPECT_EQ(count("CD WHERE label = 'Disc1'"), 1);
    EXPECT_EQ(count("CD"), 1);
}

TEST_F(NameCaseTest, PathsKeepTheirCase) {
    const qint64 upper =
        insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/Rock/',1,'EOF','0')");
    const qint64 list =
        insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/Rock/','a.m3u',1,0)");
    EXPECT_EQ(FindVolumeId(catalog, drives, "/music/Rock/a.m3u", "EOF").value, upper);
    EXPECT_EQ(FindVolumeId(catalog, drives, "/music/rock/a.m3u", "EOF").value, 0);
    EXPECT_EQ(FindListId(catalog, drives, "/music/Rock/a.m3u").value, list);
    EXPECT_EQ(FindListId(catalog, drives, "/music/rock/a.m3u").value, 0);
    EXPECT_EQ(FindListId(catalog, drives, "/music/Rock/A.m3u").value, 0);
}

} // namespace
} // namespace tarl
