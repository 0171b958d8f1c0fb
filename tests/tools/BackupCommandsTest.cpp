#include "ToolRun.h"
#include "catalog/engine/CatalogAddress.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/DamagedCatalog.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::RunTool;

// Every track of a catalog file by name, or "(unreadable)".
QString Tracks(const QString& file) {
    Connection c;
    Recordset rows;
    if (!c.open(file) || !c.execute(QStringLiteral("SELECT file FROM Mp3 ORDER BY file"), rows))
        return QStringLiteral("(unreadable)");
    QStringList names;
    for (; !rows.eof(); rows.moveNext())
        names << rows.field(0).toString();
    return names.join(',');
}

class BackupCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateCatalog(catalog)); }
    // Imports a folder holding one sound file named NAME.mp3.
    test::ToolRun importTrack(const QString& name) {
        temp.write("music/" + name + "/" + name + ".mp3", QByteArray(2048, '\0'));
        return RunTool("import", {"--catalog", catalog, temp.file("music/" + name)});
    }
    QString bak(int n) const { return catalog + ".bak" + QString::number(n); }

    test::TempDir temp;
    QString catalog = temp.file("tarl.mdb");
};

TEST_F(BackupCommands, EachImportBacksUpTheCatalogAsItWasNewestFirst) {
    struct Round {
        const char* track;
        const char* bak[3]; // the tracks then in bak1, bak2, bak3 ("-" for no file)
    };
    const Round rounds[] = {
        {"a", {"", "-", "-"}},
        {"b", {"a.mp3", "", "-"}},
        {"c", {"a.mp3,b.mp3", "a.mp3", ""}},
        {"d", {"a.mp3,b.mp3,c.mp3", "a.mp3,b.mp3", "a.mp3"}},
    };
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.track);
        const test::ToolRun run = importTrack(round.track);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, "");
        for (int n = 1; n <= 3; ++n) {
            const QString shown = QFileInfo::exists(bak(n)) ? Tracks(bak(n)) : QStringLiteral("-");
            EXPECT_EQ(shown, QString::fromUtf8(round.bak[n - 1])) << "bak" << n;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(bak(4)));
}

TEST_F(BackupCommands, ABackupThatFailsIsSaidAndTheImportGoesOn) {
    // A catalog whose name leaves no room for the copy's temporary name: the copy cannot be made,
    // as in a folder that cannot be written.
    catalog = temp.file(QString(230, u'x') + ".mdb");
    ASSERT_TRUE(CreateCatalog(catalog));
    const test::ToolRun run = importTrack("a");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.err.startsWith("tarl-catalog import: The backup " + bak(1) +
                                   " could not be written: the folder"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(" The import goes on without it.\n")) << run.err.toStdString();
    EXPECT_EQ(Tracks(catalog), "a.mp3");
    EXPECT_FALSE(QFileInfo::exists(bak(1)));
}

TEST_F(BackupCommands, BackupRestoreAndCheckAsScriptsUseThem) {
    ASSERT_EQ(importTrack("a").code, 0);
    const QString copy = temp.file("copy.mdb");
    const QString damaged = temp.file("damaged.mdb");
    struct Step {
        const char* name;
        QString command;
        QStringList arguments;
        int code;
        QString out;              // the first line of the output, "" for none
        QString catalogIs;        // the tracks of the catalog afterwards
        bool importFirst = false; // a track added first, for the catalog replaced to hold
    };
    const Step steps[] = {
        {"back up to a name",
         "backup",
         {catalog, copy},
         0,
         "Backed up " + catalog + " to " + copy,
         "a.mp3"},
        {"back up by rotation",
         "backup",
         {catalog},
         0,
         "Backed up " + catalog + " to " + bak(1),
         "a.mp3"},
        {"check a sound catalog", "check", {catalog}, 0, "ok", "a.mp3"},
        {"restore over it without --force", "restore", {copy, catalog}, 1, "", "a.mp3"},
        {"restore over it with --force",
         "restore",
         {copy, catalog, "--force"},
         0,
         "Restored " + catalog + " from " + copy,
         "a.mp3",
         true},
        {"check a damaged copy", "check", {damaged}, 1, "*", "a.mp3"},
        {"restore a damaged copy", "restore", {damaged, catalog, "--force"}, 1, "", "a.mp3"},
        {"check with no catalog", "check", {}, 2, "", "a.mp3"},
        {"restore with one file", "restore", {copy}, 2, "", "a.mp3"},
        {"backup with an option", "backup", {"--all", catalog}, 2, "", "a.mp3"},
    };
    ASSERT_TRUE(CreateCatalog(damaged));
    test::FillCatalog(damaged, 3000);
    test::DamageMiddlePages(damaged);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.importFirst) {
            ASSERT_EQ(importTrack("b").code, 0);
        }
        const test::ToolRun run = RunTool(step.command, step.arguments);
        EXPECT_EQ(run.code, step.code) << run.err.toStdString();
        if (step.code != 1 || step.command != "check") { // check prints what it found
            EXPECT_EQ(run.code == 0, run.err.isEmpty()) << run.err.toStdString();
        }
        if (step.out == "*") {
            EXPECT_FALSE(run.lines.isEmpty());
        } else {
            EXPECT_EQ(run.lines.value(0), step.out);
        }
        EXPECT_EQ(Tracks(catalog), step.catalogIs);
    }
    // Nothing lost: the catalog --force replaced, with the track imported since the copy.
    EXPECT_EQ(Tracks(catalog + ".replaced"), "a.mp3,b.mp3");
    // A server's catalog goes through the server's own tools: said before anything is tried.
    const test::ToolRun server = RunTool("restore", {copy, "postgresql://tarl@nas/music"});
    EXPECT_EQ(server.code, 1);
    EXPECT_EQ(server.err, "tarl-catalog restore: " +
                              ServerCatalogIsNotAFile("postgresql://tarl@nas/music") + "\n");
}

} // namespace
} // namespace tarl
