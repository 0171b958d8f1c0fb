// Two programs on one catalog: the built tarl-catalog run twice at once, and run while this test
// holds a write transaction open for longer than the busy timeout.
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/Id3Builder.h"
#include "support/PgServer.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace tarl {
namespace {

constexpr int kFolders = 30;
constexpr int kTracks = 50;

// Another program's connection to the catalog.
class OtherProgram {
public:
    explicit OtherProgram(const QString& file) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", kName);
        db.setDatabaseName(file);
        db.open();
    }
    ~OtherProgram() { QSqlDatabase::removeDatabase(kName); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    bool run(const QString& statement) {
        QSqlQuery query(QSqlDatabase::database(kName));
        return query.exec(statement);
    }
    QString text(const QString& statement) {
        QSqlQuery query(QSqlDatabase::database(kName));
        return query.exec(statement) && query.next() ? query.value(0).toString() : QString();
    }

private:
    static constexpr const char* kName = "other program";
};

class CatalogLock : public ::testing::Test {
protected:
    void SetUp() override {
        catalog = temp.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(catalog));
        music = temp.path() + "/music";
        const QByteArray bytes = test::Id3Builder(3).text("TIT2", "Song").audio(1).build();
        for (int f = 0; f < kFolders; ++f)
            for (int t = 0; t < kTracks; ++t)
                temp.write(QString("music/artist%1/album/%2.mp3").arg(f).arg(t), bytes);
    }

    void startImport(QProcess& process) {
        process.start(QStringLiteral(TARL_CATALOG_TOOL), {"import", "--catalog", catalog, music});
        ASSERT_TRUE(process.waitForStarted());
    }
    // Every file of the folder once, in a sound file.
    void expectWholeAndSound() {
        OtherProgram reader(catalog);
        EXPECT_EQ(reader.text("PRAGMA integrity_check"), "ok");
        EXPECT_EQ(reader.text("SELECT COUNT(*) FROM Mp3").toInt(), kFolders * kTracks);
        EXPECT_EQ(reader.text("SELECT COUNT(*) FROM M3u").toInt(), kFolders);
        EXPECT_EQ(reader.text("SELECT COUNT(*) FROM CD").toInt(), kFolders);
        EXPECT_EQ(reader.text("SELECT COUNT(*) FROM (SELECT path, file FROM Mp3 GROUP BY path, "
                              "file HAVING COUNT(*) > 1)"),
                  "0");
    }

    test::TempDir temp;
    QString catalog;
    QString music;
};

QString BusyText(const QString& catalog) {
    return "The catalog file " + catalog + " is busy: another program is writing to it";
}

TEST_F(CatalogLock, TwoImportsAtOnceEachFinishOrSayTheCatalogIsBusy) {
    QProcess first;
    QProcess second;
    startImport(first);
    startImport(second);
    int busy = 0;
    for (QProcess* import : {&first, &second}) {
        ASSERT_TRUE(import->waitForFinished(120000));
        const QString err = QString::fromUtf8(import->readAllStandardError());
        if (import->exitCode() == 0)
            continue;
        ++busy;
        EXPECT_TRUE(err.contains(BusyText(catalog))) << err.toStdString();
    }
    // Either both took turns, or one waited in vain: the one that waited completes when run again.
    EXPECT_LT(busy, 2);
    if (busy > 0) {
        QProcess again;
        startImport(again);
        ASSERT_TRUE(again.waitForFinished(120000));
        EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    }
    expectWholeAndSound();
}

TEST_F(CatalogLock, AWriteHeldLongerThanTheTimeoutIsReportedAndARerunCompletes) {
    const struct {
        const char* name;
        QStringList arguments;
    } cases[] = {
        {"import", {"import", "--catalog", catalog, music}},
        {"a style", {"style", "add", catalog, "Rock"}},
    };
    {
        OtherProgram holder(catalog);
        ASSERT_TRUE(holder.run("BEGIN IMMEDIATE"));
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            QProcess waiting;
            QElapsedTimer clock;
            clock.start();
            waiting.start(QStringLiteral(TARL_CATALOG_TOOL), c.arguments);
            ASSERT_TRUE(waiting.waitForFinished(60000));
            const QString err = QString::fromUtf8(waiting.readAllStandardError());
            EXPECT_EQ(waiting.exitCode(), 1);
            EXPECT_TRUE(err.contains(BusyText(catalog))) << err.toStdString();
            // It waited for the lock before giving up.
            EXPECT_GE(clock.elapsed(), 4000);
        }
        ASSERT_TRUE(holder.run("ROLLBACK"));
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess again;
        again.start(QStringLiteral(TARL_CATALOG_TOOL), c.arguments);
        ASSERT_TRUE(again.waitForFinished(120000));
        EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    }
    expectWholeAndSound();
}

// A window's connection, a search's that came and went, and the tool writing in turn: every
// write is there after all of them closed.
TEST(OneCatalogManyConnections, WritesInTurnAfterASearchAllSurvive) {
    test::TempDir temp;
    const QString catalog = temp.file("cat.mdb");
    ASSERT_TRUE(CreateCatalog(catalog));
    Connection window;
    ASSERT_TRUE(window.open(catalog));
    {
        Connection search;
        ASSERT_TRUE(search.open(catalog));
    }
    const auto toolAdds = [&](const QString& style) {
        QProcess tool;
        tool.start(QStringLiteral(TARL_CATALOG_TOOL), {"style", "add", catalog, style});
        return tool.waitForFinished(60000) && tool.exitCode() == 0;
    };
    ASSERT_TRUE(toolAdds("From the tool"));
    ASSERT_TRUE(window.execute("INSERT INTO Nick (nick) VALUES ('From the window')"));
    ASSERT_TRUE(toolAdds("From the tool again"));
    window.close();
    OtherProgram reader(catalog);
    EXPECT_EQ(reader.text("SELECT group_concat(id || ':' || nick, ',') FROM (SELECT * FROM Nick "
                          "ORDER BY id)"),
              "1:From the tool,2:From the window,3:From the tool again");
}

// Two machines importing one folder into one server catalog at once: their batches take turns,
// and every track is stored once.
class ServerImports : public CatalogLock {};

TEST_F(ServerImports, TwoAtOnceStoreEveryTrackOnce) {
    const std::optional<QString> server = test::TestPgUri();
    if (!server)
        GTEST_SKIP() << "TARL_TEST_PG is not set (scripts/pg-cluster starts a server)";
    test::PgTestDatabase database(*server);
    ASSERT_TRUE(CreateCatalog(database.uri()));
    catalog = database.uri();
    QProcess first;
    QProcess second;
    startImport(first);
    startImport(second);
    for (QProcess* import : {&first, &second}) {
        ASSERT_TRUE(import->waitForFinished(120000));
        EXPECT_EQ(import->exitCode(), 0) << import->readAllStandardError().toStdString();
    }
    Catalog shared;
    ASSERT_TRUE(shared.connection.open(catalog));
    const auto number = [&shared](const QString& query) {
        Recordset rows;
        EXPECT_TRUE(shared.connection.execute(query, rows));
        return rows.field(0).toInt();
    };
    EXPECT_EQ(number("SELECT COUNT(*) FROM Mp3"), kFolders * kTracks);
    EXPECT_EQ(number("SELECT COUNT(*) FROM M3u"), kFolders);
    EXPECT_EQ(number("SELECT COUNT(*) FROM CD"), kFolders);
}

} // namespace
} // namespace tarl
