#include "ToolRun.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "support/Id3Builder.h"
#include "support/QtPrinters.h"
#include "support/ReadOnlyFile.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarl {
namespace {

struct ImportRun {
    int code;
    QMap<QString, qint64> counts; // "tracks added" -> 2
    QString err;
};

ImportRun Import(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(TARL_CATALOG_TOOL), QStringList{"import"} + arguments);
    p.waitForFinished(60000);
    ImportRun run{p.exitCode(), {}, QString::fromUtf8(p.readAllStandardError())};
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon > 0)
            run.counts[line.left(colon)] = line.mid(colon + 2).toLongLong();
    }
    return run;
}

// Reads a catalog with a connection of its own, as another program would.
class CatalogReader {
public:
    explicit CatalogReader(const QString& file) : name_("reader" + QString::number(++serial_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name_);
        db.setDatabaseName(file);
        db.open();
    }
    ~CatalogReader() { QSqlDatabase::removeDatabase(name_); }

    qint64 number(const QString& query) {
        QSqlDatabase db = QSqlDatabase::database(name_);
        QSqlQuery q(db);
        if (!q.exec(query) || !q.next())
            return -1;
        const qint64 n = q.value(0).toLongLong();
        return n;
    }
    QString text(const QString& query) {
        QSqlQuery q(QSqlDatabase::database(name_));
        if (!q.exec(query) || !q.next())
            return {};
        return q.value(0).toString();
    }

private:
    static inline int serial_ = 0;
    QString name_;
};

class ImportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        file = temp.file("tarl.mdb");
        const auto made = CreateCatalog(file);
        ASSERT_TRUE(made) << made.error.toStdString();
        music = temp.path() + "/music";
    }

    void mp3(const QString& relative, const QString& title) {
        temp.write(relative,
                   test::Id3Builder(4).text("TIT2", title, test::Id3Enc::Utf8).audio(1).build());
    }

    test::TempDir temp;
    QString file;
    QString music;
};

TEST_F(ImportCommand, RefusesBadUsageAndAMissingCatalog) {
    const QString missing = temp.file("none.mdb");
    const struct {
        const char* name;
        QStringList arguments;
        int code;
    } cases[] = {
        {"no catalog", {music}, 2},
        {"no folder", {"--catalog", file}, 2},
        {"unknown option", {"--fast", "--catalog", file, music}, 2},
        {"two folders", {"--catalog", file, music, music}, 2},
        {"unknown format", {"--formats", "mp3,aiff", "--catalog", file, music}, 2},
        {"no format", {"--formats", "none", "--catalog", file, music}, 2},
        {"missing catalog", {"--catalog", missing, music}, 1},
        {"missing folder", {"--catalog", file, temp.file("nowhere")}, 1},
    };
    temp.write("music/a.mp3", "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportRun run = Import(c.arguments);
        EXPECT_EQ(run.code, c.code) << run.err.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    // A catalog is never made by an import.
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(ImportCommand, WalksImportsAndCountsOnceOnly) {
    mp3("music/rock/a.mp3", "Alpha");
    mp3("music/pop/b.mp3", "Beta");
    mp3("music/top.mp3", "Top");
    temp.write("music/party.m3u", "rock/a.mp3\npop/b.mp3\nmissing.mp3\n");

    const struct {
        const char* name;
        QStringList options;
        qint64 volumes, lists, tracks;
    } cases[] = {
        // The typed folder only: its own track, listed under its parent.
        {"no subfolders", {"--no-subdirs"}, 1, 1, 1},
        // Then the subfolders; music/ is already a list of the temporary folder's volume.
        {"sound files", {}, 1, 2, 2},
        {"again", {}, 0, 0, 0},
        {"playlists", {"--playlists"}, 0, 1, 3},
        {"playlists again", {"--playlists", "--depth", "x"}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportRun run = Import(c.options + QStringList{"--catalog", file, music});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.counts.value("volumes added"), c.volumes);
        EXPECT_EQ(run.counts.value("lists added"), c.lists);
        EXPECT_EQ(run.counts.value("tracks added"), c.tracks);
        EXPECT_EQ(run.counts.value("errors"), 0) << run.err.toStdString();
    }
    CatalogReader reader(file);
    EXPECT_EQ(reader.text("SELECT title FROM Mp3 WHERE file = 'a.mp3' AND title <> ' '"), "Alpha");
}

// With this machine's settings mapping a stored prefix onto the local one, the verbs store,
// find and check paths in their stored form, as the window of this machine does.
TEST_F(ImportCommand, TheVerbsGoThroughThisMachinesPathMap) {
    mp3("music/rock/a.mp3", "Alpha");
    temp.write("home/tarl.ini",
               ("[Database]\nPathMap=/srv/share/=" + temp.path() + "/\n").toUtf8());
    const QByteArray before = qgetenv("TARL_HOME");
    qputenv("TARL_HOME", temp.file("home").toUtf8());

    const ImportRun first = Import({"--catalog", file, music});
    const ImportRun second = Import({"--catalog", file, music});
    const test::ToolRun listed = test::RunTool("list", {file, music + "/rock/"});
    const test::ToolRun tree = test::RunTool("tree", {file});
    qputenv("TARL_HOME", before);

    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains("is stored as /srv/share/music/")) << first.err.toStdString();
    EXPECT_EQ(second.counts.value("tracks added"), 0);
    CatalogReader reader(file);
    EXPECT_EQ(reader.text("SELECT path FROM Mp3"), "/srv/share/music/rock/");
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    ASSERT_EQ(listed.lines.size(), 1);
    EXPECT_TRUE(listed.lines[0].startsWith("a.mp3\t/srv/share/music/rock/\tAlpha"));
    // The volume is there on this machine: the picture of a present folder.
    EXPECT_TRUE(tree.lines.join('\n').contains("/srv/share/music/\tCd\t4"))
        << tree.lines.join('\n').toStdString();
}

TEST_F(ImportCommand, ACatalogThatRefusesWritesEndsWithTheReasonAndGetsNothing) {
    mp3("music/rock/a.mp3", "Alpha");
    mp3("music/pop/b.mp3", "Beta");
    const struct {
        const char* name;
        bool readOnly; // else a trigger of someone else's would refuse the first row
        const char* reason;
    } cases[] = {
        {"read-only file", true, "is read-only"},
        {"refusing trigger", false, "holds what Tarl did not put there: trigger refuse"},
    };
    QStringList skipped;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString catalog = temp.file(QString(c.name) + ".mdb");
        ASSERT_TRUE(CreateCatalog(catalog));
        if (!c.readOnly) {
            Catalog open;
            ASSERT_TRUE(open.connection.open(catalog));
            ASSERT_TRUE(open.connection.execute(
                "CREATE TRIGGER refuse BEFORE INSERT ON CD "
                "BEGIN SELECT RAISE(ABORT, 'this catalog takes no new volumes'); END"));
        } else if (!test::MakeReadOnly(catalog)) {
            skipped << c.name; // root, without the right to make a file immutable
            continue;
        }
        const QByteArray before = temp.read(QString(c.name) + ".mdb");

        const ImportRun run = Import({"--catalog", catalog, music});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
        if (c.readOnly) {
            EXPECT_EQ(temp.read(QString(c.name) + ".mdb"), before);
            test::SetImmutable(catalog, false);
        }
        CatalogReader reader(catalog);
        EXPECT_EQ(reader.number("SELECT (SELECT COUNT(*) FROM CD) + (SELECT COUNT(*) FROM M3u) + "
                                "(SELECT COUNT(*) FROM Mp3)"),
                  0);
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << "not tried: " << skipped.join(", ").toStdString();
}

TEST_F(ImportCommand, KilledMidRunLeavesASoundCatalogThatASecondRunCompletes) {
    // Enough files that the import runs for a while after its first batch is committed.
    constexpr int kFolders = 60;
    constexpr int kTracks = 50;
    const QByteArray bytes = test::Id3Builder(3).text("TIT2", "Song").audio(1).build();
    for (int f = 0; f < kFolders; ++f)
        for (int t = 0; t < kTracks; ++t)
            temp.write(QString("music/artist%1/album/%2.mp3").arg(f).arg(t), bytes);

    QProcess p;
    p.start(QStringLiteral(TARL_CATALOG_TOOL), {"import", "--catalog", file, music});
    ASSERT_TRUE(p.waitForStarted());
    qint64 seen = 0;
    {
        CatalogReader reader(file);
        for (int i = 0; i < 6000 && p.state() == QProcess::Running; ++i) {
            seen = reader.number("SELECT COUNT(*) FROM Mp3");
            if (seen > 0)
                break;
            QThread::msleep(5);
        }
    }
    ASSERT_EQ(p.state(), QProcess::Running) << "the import ended before it could be killed";
    p.kill();
    p.waitForFinished();
    EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);

    const qint64 all = kFolders * kTracks;
    {
        CatalogReader reader(file);
        EXPECT_EQ(reader.text("PRAGMA integrity_check"), "ok");
        const qint64 kept = reader.number("SELECT COUNT(*) FROM Mp3");
        EXPECT_GE(kept, seen);
        EXPECT_LT(kept, all);
    }

    const ImportRun second = Import({"--catalog", file, music});
    ASSERT_EQ(second.code, 0) << second.err.toStdString();
    CatalogReader reader(file);
    EXPECT_EQ(reader.text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(reader.number("SELECT COUNT(*) FROM Mp3"), all);
    EXPECT_EQ(reader.number("SELECT COUNT(*) FROM M3u"), kFolders);
    EXPECT_EQ(reader.number("SELECT COUNT(*) FROM CD"), kFolders);
    EXPECT_EQ(reader.number("SELECT COUNT(*) FROM (SELECT path, file FROM Mp3 GROUP BY path, file "
                            "HAVING COUNT(*) > 1)"),
              0);
    EXPECT_EQ(reader.number("SELECT COUNT(*) FROM (SELECT path, file FROM M3u GROUP BY path, file "
                            "HAVING COUNT(*) > 1)"),
              0);
}

} // namespace
} // namespace tarl
