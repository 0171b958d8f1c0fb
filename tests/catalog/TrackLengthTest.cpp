#include "catalog/TrackLength.h"

#include "RoutineFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using TrackLengthTest = test::RoutineFixture;

TEST_F(TrackLengthTest, ALengthIsWrittenToEveryRowOfTheTrackAndReadBack) {
    // One file in three lists, a namesake in another folder, a folder with an apostrophe.
    for (int list = 1; list <= 3; ++list)
        run(QString("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','a.mp3',%1)").arg(list));
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/other/','a.mp3',1)");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/Guns''n Roses/','it''s.mp3',1)");

    const struct {
        QString path;
        qint64 seconds;
        int rows; // rows that get the length
    } cases[] = {
        {"/music/a.mp3", 215, 3},          {"/Guns'n Roses/it's.mp3", 40000, 1},
        {"/music/A.mp3", 10, 0},           {"a.mp3", 10, 0}, // no folder
        {"/music/a.mp3", 3000000000LL, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const Lookup<qint64> before = StoredTrackLength(catalog, c.path);
        EXPECT_TRUE(before.ok);
        ASSERT_TRUE(StoreTrackLength(catalog, c.path, c.seconds))
            << catalog.connection.lastError().toStdString();
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 WHERE time=" + QString::number(c.seconds)),
                  c.rows);
        EXPECT_EQ(StoredTrackLength(catalog, c.path).value, c.rows ? c.seconds : 0);
    }
    EXPECT_EQ(scalar("SELECT time FROM Mp3 WHERE path='/other/'"), QVariant());
}

TEST_F(TrackLengthTest, NoLengthYetReadsZeroAndAFailureIsReported) {
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','a.mp3',1)");
    const Lookup<qint64> unknown = StoredTrackLength(catalog, "/music/a.mp3");
    EXPECT_TRUE(unknown.ok);
    EXPECT_EQ(unknown.value, 0);

    run("DROP TABLE Mp3");
    EXPECT_FALSE(StoredTrackLength(catalog, "/music/a.mp3").ok);
    EXPECT_FALSE(StoreTrackLength(catalog, "/music/a.mp3", 5));
    EXPECT_FALSE(catalog.connection.lastError().isEmpty());
}

} // namespace
} // namespace tarl
