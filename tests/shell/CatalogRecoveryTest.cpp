#include "MainFixture.h"

#include "catalog/maintenance/CatalogBackup.h"
#include "catalog/maintenance/CatalogCheck.h"
#include "shell/RunMarker.h"
#include "support/DamagedCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

using namespace tarl;

namespace {

class CatalogRecovery : public tarl::test::MainFixture {
protected:
    // A catalog of 3000 tracks named in the settings; damaged when asked, with a sound backup
    // made before the damage when asked.
    QString catalog(bool damaged, bool backup) {
        const QString file = newCatalog();
        test::FillCatalog(file, 3000);
        if (backup) {
            EXPECT_TRUE(RotateBackupsOfFile(file));
        }
        if (damaged) {
            test::DamageMiddlePages(file);
        }
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
        return file;
    }
    // What the previous run left: nothing (a clean close), the marker of a process that is gone
    // (a crash), or this process's own (another Tarl still running on the folder).
    void previousRun(const char* marker) { home.write("tarl.running", marker); }
    bool sound(const QString& file) {
        const Result<QStringList> problems = CheckCatalog(file, CheckDepth::Full);
        return problems && problems.value.isEmpty();
    }
};

const QByteArray kCrashed = "999999999"; // no process has that id
const QByteArray kClean = "";

TEST_F(CatalogRecovery, AfterAnUncleanEndADamagedCatalogIsSaidAndItsNewestBackupOffered) {
    struct Case {
        const char* name;
        QByteArray marker; // kClean: no marker file at all
        bool damaged;
        bool backup;
        MsgAnswer answer;
        MsgButtons box; // the damage box's buttons, when there is one
        bool shown;     // the damage box was shown
        bool restored;  // the catalog opened is the sound backup, the damaged one kept aside
    };
    const Case cases[] = {
        {"crash, damaged, backup, Ok", kCrashed, true, true, MsgAnswer::Ok, MsgButtons::OkCancel,
         true, true},
        {"crash, damaged, backup, Cancel", kCrashed, true, true, MsgAnswer::Cancel,
         MsgButtons::OkCancel, true, false},
        {"crash, damaged, no backup", kCrashed, true, false, MsgAnswer::Ok, MsgButtons::Ok, true,
         false},
        {"crash, sound", kCrashed, false, true, MsgAnswer::Ok, MsgButtons::Ok, false, false},
        {"clean close, damaged", kClean, true, true, MsgAnswer::Ok, MsgButtons::Ok, false, false},
        {"another Tarl running, damaged", QByteArray::number(qint64(getpid())), true, true,
         MsgAnswer::Ok, MsgButtons::Ok, false, false},
        {"marker cut short, damaged", "12ab", true, true, MsgAnswer::Cancel, MsgButtons::OkCancel,
         true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.reset();
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        const QString file = catalog(c.damaged, c.backup);
        if (!c.marker.isEmpty())
            previousRun(c.marker.constData());
        services.ui.transcript.clear();
        services.ui.answers = {c.answer};
        MainWindow& w = start();
        w.startUp();

        const QStringList titles = services.ui.titles();
        EXPECT_EQ(titles.contains("Data Base damaged"), c.shown) << titles.join('|').toStdString();
        if (c.shown) {
            const test::FakeUi::Box& box = services.ui.transcript.front();
            EXPECT_EQ(box.buttons, c.box);
            EXPECT_TRUE(box.text.contains("the catalog " + file + " is damaged:"))
                << box.text.toStdString();
            EXPECT_EQ(box.text.contains("tarl-catalog check " + file), !c.backup);
        }
        EXPECT_EQ(QFileInfo::exists(file + ".damaged"), c.restored);
        EXPECT_EQ(sound(file), !c.damaged || c.restored);
        if (c.restored) {
            EXPECT_EQ(state->catalog.connection.state(), 1);
            EXPECT_FALSE(sound(file + ".damaged")); // kept as it was
            EXPECT_TRUE(
                w.statusPanel(2).startsWith("The catalog was restored from " + file + ".bak1"));
        }
        // This run is marked.
        EXPECT_EQ(home.read("tarl.running"), QByteArray::number(qint64(getpid())));
        window.reset();
    }
}

TEST(RunMarker, ACleanCloseTakesTheMarkAwaySoTheNextStartSeesNoCrash) {
    test::TempDir folder;
    const QString programFolder = folder.path() + "/";
    RunMarker first;
    EXPECT_FALSE(first.begin(programFolder)); // nothing before
    EXPECT_FALSE(first.begin(programFolder)); // start-up again after Setup: still this run
    first.end();
    EXPECT_FALSE(QFileInfo::exists(folder.file("tarl.running")));
    RunMarker second;
    EXPECT_FALSE(second.begin(programFolder));
    EXPECT_TRUE(QFileInfo::exists(folder.file("tarl.running")));
}

} // namespace
