#include "search/SearchHits.h"
#include "search/SearchRunner.h"

#include "support/CatalogFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// A disc "DISC07" holding the folder Rock/, a hard-disc volume /music/ holding a playlist and
// the folder Jazz/, and a track whose list is gone.
class SearchHits : public test::CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        run("INSERT INTO CD (id,name,m3us,label,isCd) VALUES (1,'/media/cd/',1,'DISC07','1')");
        run("INSERT INTO CD (id,name,m3us,label,isCd) VALUES (2,'/music/',2,'EOF','0')");
        run("INSERT INTO M3u (id,path,file,cd_id) VALUES (1,'/media/cd/','Rock/',1)");
        run("INSERT INTO M3u (id,path,file,cd_id) VALUES (2,'/music/','Love songs.m3u',2)");
        run("INSERT INTO M3u (id,path,file,cd_id) VALUES (3,'/music/','Jazz/',2)");
        run("INSERT INTO Mp3 (id,path,file,m3u_id,title,artist,size,time) VALUES "
            "(10,'/media/cd/Rock/','01 Love me.mp3',1,'Love Me','The Band',4000,185)");
        run("INSERT INTO Mp3 (id,path,file,m3u_id,title,artist) VALUES "
            "(11,'/music/Jazz/','02 Élan.mp3',3,'élan vital','O''Brien')");
        run("INSERT INTO Mp3 (id,path,file,m3u_id) VALUES (12,'/lost/','orphan love.mp3',99)");
    }
    // Each row as "icon|file|path".
    static QStringList Shown(const SearchOutcome& outcome) {
        QStringList shown;
        for (const SearchRow& row : outcome.rows)
            shown << QString::number(int(row.icon)) + "|" + row.columns[SearchFileColumn] + "|" +
                         row.columns[SearchPathColumn];
        return shown;
    }
};

TEST_F(SearchHits, ListsComeBeforeTracksAndDiscsShowTheirLabel) {
    const struct {
        const char* name;
        QString text;
        SearchField field;
        QStringList rows;
        QString status;
    } cases[] = {
        {"a file name: the playlist, then a disc track and a track of a lost list",
         "love",
         SearchField::File,
         {"2|Love songs.m3u|/music/", "3|01 Love me.mp3|(CD)DISC07:>/media/cd/Rock/",
          "1|orphan love.mp3|/lost/"},
         "Found 3 results."},
        {"a list on a disc",
         "rock",
         SearchField::File,
         {"4|Rock/|(CD)DISC07:>/media/cd/"},
         "Found 1 results."},
        {"case ignored beyond ASCII",
         "ÉLAN",
         SearchField::Title,
         {"1|02 Élan.mp3|/music/Jazz/"},
         "Found 1 results."},
        {"a quote in the text",
         "O'B",
         SearchField::Artist,
         {"1|02 Élan.mp3|/music/Jazz/"},
         "Found 1 results."},
        {"the user's wildcards",
         "L_ve",
         SearchField::File,
         {"2|Love songs.m3u|/music/", "3|01 Love me.mp3|(CD)DISC07:>/media/cd/Rock/",
          "1|orphan love.mp3|/lost/"},
         "Found 3 results."},
        {"nothing found", "zzz", SearchField::Rating, {"1|No results found|"}, "No results found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<SearchOutcome> found = RunSearch(catalog, c.text, c.field);
        ASSERT_TRUE(found) << found.error.toStdString();
        EXPECT_EQ(Shown(found.value), c.rows);
        EXPECT_EQ(found.value.status, c.status);
    }
}

TEST_F(SearchHits, ATrackHitCarriesItsColumnsAndId) {
    const Result<SearchOutcome> found = RunSearch(catalog, "Band", SearchField::Artist);
    ASSERT_TRUE(found);
    ASSERT_EQ(found.value.rows.size(), 1u);
    const SearchRow& row = found.value.rows[0];
    EXPECT_TRUE(row.isTrack());
    EXPECT_EQ(row.columns[SearchTitleColumn], "Love Me");
    EXPECT_EQ(row.columns[SearchSizeColumn], "4000");
    EXPECT_EQ(row.columns[SearchTimeColumn], "03:05"); // as the track list shows it
    EXPECT_EQ(row.columns[SearchTrackIdColumn], "10");
}

// A file listed by its folder and by a playlist is one hit; the same path on another disc is
// another file.
TEST_F(SearchHits, AFileListedTwiceIsOneHit) {
    run("INSERT INTO CD (id,name,m3us,label,isCd) VALUES (3,'/media/cd/',1,'DISC08','1')");
    run("INSERT INTO M3u (id,path,file,cd_id) VALUES (4,'/media/cd/','Rock/',3)");
    run("INSERT INTO Mp3 (id,path,file,m3u_id,title) VALUES "
        "(13,'/music/Jazz/','02 Élan.mp3',2,'élan vital')");
    run("INSERT INTO Mp3 (id,path,file,m3u_id,title) VALUES "
        "(14,'/media/cd/Rock/','01 Love me.mp3',4,'Love Me')");
    const struct {
        QString text;
        QStringList rows;
    } cases[] = {
        {"vital", {"1|02 Élan.mp3|/music/Jazz/"}},
        {"ve",
         {"2|Love songs.m3u|/music/", "3|01 Love me.mp3|(CD)DISC07:>/media/cd/Rock/",
          "3|01 Love me.mp3|(CD)DISC08:>/media/cd/Rock/"}},
    };
    for (const auto& c : cases) {
        const Result<SearchOutcome> found = RunSearch(catalog, c.text, SearchField::Title);
        ASSERT_TRUE(found) << found.error.toStdString();
        EXPECT_EQ(Shown(found.value), c.rows);
        EXPECT_EQ(found.value.hits, c.rows.size());
    }
}

// Titles whose letters fold to the text's only through case folding, or hold the wildcards and a
// backslash: the same hits on a file and on a server (whose own lowering is not the folding).
TEST_F(SearchHits, FoldedLettersWildcardsAndBackslashesFindTheSameRowsOnBothEngines) {
    run("INSERT INTO Mp3 (id,path,file,m3u_id,title) VALUES "
        "(20,'/m/','a.mp3',3,'Kiſs'), (21,'/m/','b.mp3',3,'King'), "
        "(22,'/m/','c.mp3',3,'ΣΟΦΟΣ'), (23,'/m/','d.mp3',3,'100% C:\\Temp'), "
        "(24,'/m/','e.mp3',3,'INSIDE')");
    const struct {
        const char* text;
        QStringList files;
    } cases[] = {
        {"kiss", {"a.mp3"}},     {"KING", {"b.mp3"}},   {"σοφος", {"c.mp3"}},
        {"0% c:\\t", {"d.mp3"}}, {"in_ide", {"e.mp3"}}, {"i%s", {"a.mp3", "e.mp3"}},
    };
    for (const auto& c : cases) {
        const Result<SearchOutcome> found = RunSearch(catalog, c.text, SearchField::Title);
        ASSERT_TRUE(found) << c.text;
        QStringList files;
        for (const SearchRow& row : found.value.rows)
            if (row.isTrack())
                files << row.columns[SearchFileColumn];
        EXPECT_EQ(files, c.files) << c.text;
    }
}

TEST_F(SearchHits, ShortTextsAndFailedStatementsSayWhy) {
    const Result<SearchOutcome> tooShort = RunSearch(catalog, "l", SearchField::File);
    EXPECT_FALSE(tooShort);
    EXPECT_EQ(tooShort.error, "I need almost two characters.");
    run("DROP TABLE Mp3");
    const Result<SearchOutcome> failed = RunSearch(catalog, "love", SearchField::File);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.error.startsWith("The search failed: ")) << failed.error.toStdString();
}

TEST(SearchHistory, EntriesAreTextThenField) {
    EXPECT_EQ(SearchHistoryEntry("love", SearchField::Title), "love>>Title");
    const struct {
        QString entry, text;
        std::optional<SearchField> field;
    } cases[] = {
        {"love>>Title", "love", SearchField::Title},
        {"a>>b>>Comments", "a>>b", SearchField::Comments}, // the text may hold ">>"
        {"plain", "plain", std::nullopt},
    };
    for (const auto& c : cases) {
        const SearchHistoryParts parts = SplitSearchHistoryEntry(c.entry);
        EXPECT_EQ(parts.text, c.text);
        EXPECT_EQ(parts.field, c.field);
    }
}

} // namespace
} // namespace tarl

namespace tarl {
namespace {

// Runs the events of this thread until `done` holds or 10 s pass.
bool Arrives(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The first search of a catalog builds its index, with progress; a search started while another
// runs replaces it, and only the newest result arrives.
TEST_F(SearchHits, TheRunnerDeliversOnlyTheNewestSearch) {
    catalog.connection.close();
    SearchRunner runner;
    runner.setCatalogFile(dbPath);
    QStringList statuses;
    int lastProgress = -1;
    runner.onFinished = [&](const Result<SearchOutcome>& found) {
        statuses << (found ? found.value.status : found.error);
    };
    runner.onIndexProgress = [&](int done, int total) { lastProgress = done * 100 / total; };
    runner.start(QStringLiteral("love"), SearchField::File);
    runner.start(QStringLiteral("élan"), SearchField::Title);
    ASSERT_TRUE(Arrives([&] { return !runner.busy(); }));
    EXPECT_EQ(statuses, QStringList{"Found 1 results."});
    EXPECT_EQ(lastProgress, OnServer() ? -1 : 100); // a file's index is built first
}

} // namespace
} // namespace tarl
