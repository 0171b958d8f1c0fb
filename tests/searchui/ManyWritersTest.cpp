// The window and two runs of tarl-catalog writing one catalog file at once for a while, with the
// search window open and searching: every write that said it was done is there afterwards, the
// file is sound, and no backup failed. TARL_STRESS_SECONDS sets the while (30 unless set).
#include "FindFixture.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "shell/TreeMenus.h"
#include "support/Id3Builder.h"
#include "support/QtPrinters.h"
#include "support/WindowParts.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>
#include <iostream>

namespace tarl {
namespace {

constexpr int kTracksPerFolder = 20;

int StressSeconds() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("TARL_STRESS_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : 30;
}

// Lets the window's events run for about `ms`.
void RunEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One run of tarl-catalog after another, by turns a new style and the import of a new folder,
// each written down when it said it was done.
class ToolWriter {
public:
    ToolWriter(const QString& catalog, test::TempDir& home, const QString& name)
        : catalog_(catalog), home_(home), name_(name) {}
    ~ToolWriter() {
        tool_.kill();
        tool_.waitForFinished();
    }
    ToolWriter(const ToolWriter&) = delete;
    ToolWriter& operator=(const ToolWriter&) = delete;

    // Takes the answer of a finished run and starts the next one.
    void step() {
        if (tool_.state() != QProcess::NotRunning)
            return;
        if (started_)
            takeAnswer();
        ++runs_;
        current_ = QStringLiteral("%1-%2").arg(name_).arg(runs_);
        if (runs_ % 2 == 0) {
            const QByteArray track = test::Id3Builder(3).text("TIT2", current_).audio(1).build();
            for (int t = 0; t < kTracksPerFolder; ++t)
                home_.write(QStringLiteral("music/%1/%2.mp3").arg(current_).arg(t), track);
            tool_.start(QStringLiteral(TARL_CATALOG_TOOL),
                        {"import", "--catalog", catalog_, home_.file("music/" + current_)});
        } else {
            tool_.start(QStringLiteral(TARL_CATALOG_TOOL), {"style", "add", catalog_, current_});
        }
        started_ = true;
    }
    void finish() {
        tool_.waitForFinished(120000);
        if (started_)
            takeAnswer();
        started_ = false;
    }

    QStringList styles;  // styles it said it added
    QStringList folders; // folders it said it imported
    QStringList backupFailures;
    int refused = 0; // runs that said the catalog was busy
    int runs() const { return runs_; }

private:
    void takeAnswer() {
        const QString err = QString::fromUtf8(tool_.readAllStandardError());
        tool_.readAllStandardOutput();
        if (err.contains(QStringLiteral("backup")))
            backupFailures << err;
        if (tool_.exitStatus() != QProcess::NormalExit || tool_.exitCode() != 0) {
            ++refused;
            return;
        }
        (runs_ % 2 == 0 ? folders : styles) << current_;
    }

    QString catalog_;
    test::TempDir& home_;
    QString name_;
    QProcess tool_;
    QString current_;
    bool started_ = false;
    int runs_ = 0;
};

using ManyWriters = test::FindFixture;

TEST_F(ManyWriters, EveryWriteThatSaidItWasDoneIsThereAndNoBackupFails) {
    MainWindow& w = started();
    const QString catalog = state->catalog.connection.fileName();
    SearchWindow& find = opened();
    search(find, "a", SearchField::Title);
    test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle();

    ToolWriter first(catalog, home, "one");
    ToolWriter second(catalog, home, "two");
    QStringList windowStyles;
    int windowRefused = 0;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; clock.elapsed() < StressSeconds() * 1000; ++round) {
        first.step();
        second.step();
        test::Part<TreeMenus>(w, "treeMenus")->addStyleClicked();
        const QString said = w.statusPanel(1);
        if (said.startsWith("Style \"") && said.endsWith("\" added."))
            windowStyles << said.mid(7, said.size() - 15);
        else
            ++windowRefused;
        if (round % 20 == 0)
            search(find, "-", SearchField::Title);
        RunEvents(100);
    }
    first.finish();
    second.finish();
    find.close();
    window.reset();
    state.reset();

    Catalog after;
    ASSERT_TRUE(after.connection.open(catalog));
    const auto number = [&](const QString& statement) {
        Recordset rows;
        EXPECT_TRUE(after.connection.execute(statement, rows))
            << after.connection.lastError().toStdString();
        return rows.field(0).toString();
    };
    EXPECT_EQ(number("PRAGMA integrity_check"), "ok");
    for (const QString& style : windowStyles + first.styles + second.styles)
        EXPECT_EQ(number("SELECT COUNT(*) FROM Nick WHERE nick = '" + style + "'"), "1")
            << style.toStdString();
    for (const QString& folder : first.folders + second.folders)
        EXPECT_EQ(number("SELECT COUNT(*) FROM Mp3 WHERE path LIKE '%/" + folder + "/'"),
                  QString::number(kTracksPerFolder))
            << folder.toStdString();
    EXPECT_EQ(first.backupFailures + second.backupFailures, QStringList());
    std::cout << "window styles " << windowStyles.size() << " (refused " << windowRefused
              << "); tool runs " << first.runs() + second.runs() << ": styles "
              << first.styles.size() + second.styles.size() << ", imports "
              << first.folders.size() + second.folders.size() << " (refused "
              << first.refused + second.refused << ")\n";
}

} // namespace
} // namespace tarl
